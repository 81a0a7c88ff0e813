#include "tree/configtreeedits.h"

#include <QApplication>
#include <algorithm>
#include <iterator>

namespace tav {

ConfigTreeEdits::ConfigTreeEdits(ConfigDocument& document) : m_document(document) {}

bool ConfigTreeEdits::IsOrderedField(int row) const {
    return row >= 0 && row < m_document.CatalogueRows() &&
           m_document.Row(static_cast<std::uint16_t>(row)).orderPos != 0;
}

bool ConfigTreeEdits::IsRowChanged(int row) const {
    return row >= 0 && row < m_document.RowCount() &&
           m_document.IsRowChanged(static_cast<std::uint16_t>(row));
}

std::optional<std::uint16_t> ConfigTreeEdits::OrderedNeighbour(int row, bool up) const {
    if (!IsOrderedField(row)) {
        return std::nullopt;
    }
    const auto ordered = [this](std::uint16_t r) { return IsOrderedField(r); };
    for (const std::vector<std::uint16_t>& rows : m_document.Order()) {
        const auto at = std::find(rows.begin(), rows.end(), row);
        if (at == rows.end()) {
            continue;
        }
        if (up) {
            const auto before = std::find_if(std::make_reverse_iterator(at), rows.rend(), ordered);
            return before == rows.rend() ? std::nullopt : std::optional(*before);
        }
        const auto after = std::find_if(std::next(at), rows.end(), ordered);
        return after == rows.end() ? std::nullopt : std::optional(*after);
    }
    return std::nullopt;
}

Status ConfigTreeEdits::SetValue(int row, const std::string& value) {
    if (row < 0 || row >= m_document.RowCount() ||
        m_document.IsEntryRow(static_cast<std::uint16_t>(row))) {
        return {};
    }
    return m_document.SetValue(static_cast<std::uint16_t>(row), value);
}

Status ConfigTreeEdits::ModifyEntry(int row, const std::string& from, const std::string& to) {
    if (row < 0 || !m_document.IsEntryRow(static_cast<std::uint16_t>(row))) {
        return {};
    }
    return m_document.ModifyEntry(static_cast<std::uint16_t>(row), from, to);
}

void ConfigTreeEdits::RemoveEntry(int row) {
    if (row >= 0 && m_document.IsEntryRow(static_cast<std::uint16_t>(row))) {
        static_cast<void>(m_document.RemoveEntry(static_cast<std::uint16_t>(row)));
    }
}

bool ConfigTreeEdits::RevertValue(int row) {
    if (row < 0 || m_document.IsEntryRow(static_cast<std::uint16_t>(row)) || !IsRowChanged(row)) {
        return false;
    }
    // A step of its own, so that an undo brings back what was typed before.
    m_document.EndTyping();
    const auto r = static_cast<std::uint16_t>(row);
    const bool reverted = static_cast<bool>(m_document.SetValue(r, m_document.SavedValue(r)));
    m_document.EndTyping();
    return reverted;
}

bool ConfigTreeEdits::Move(int row, bool up) {
    const std::optional<std::uint16_t> neighbour = OrderedNeighbour(row, up);
    if (!neighbour) {
        QApplication::beep();
        return false;
    }
    const auto r = static_cast<std::uint16_t>(row);
    const Status moved =
        up ? m_document.MoveField(r, *neighbour) : m_document.MoveField(*neighbour, r);
    if (!moved) {
        QApplication::beep();
    }
    return static_cast<bool>(moved);
}

}  // namespace tav
