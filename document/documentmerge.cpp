// Changes made to the document's file by someone else while it was open: comparing three versions
// (as read or last saved, as edited, as on disk now) and taking the disk's changes in.
#include <algorithm>
#include <functional>

#include "base/textencoding.h"
#include "document/configdocument.h"
#include "document/documentio.h"
#include "profile/profiletext.h"

namespace tav {

namespace {

// The values, entries and orders of a document's bytes, read as Open reads them.
struct Version {
    std::vector<std::string> values;
    std::vector<ReplacementEntry> entries;
    DisplayOrder order;
    DocumentTable table;
    std::vector<std::string> warnings;
};

Version ReadVersion(const Catalogues& defs, std::string_view bytes) {
    Version version;
    version.table = DocumentTable(defs.fields);
    version.warnings = ReadDocumentValues(defs.sections, version.table,
                                          ProfileText(bytes, ProfileText::InPlace{}));
    version.order = CatalogDisplayOrder(defs.sections, version.table);
    for (std::uint16_t row = 0; row < version.table.Count(); ++row) {
        if (row < defs.fields.Count()) {
            version.values.push_back(version.table[row].value);
        } else {
            version.entries.push_back({version.table[row].label, version.table[row].value});
        }
    }
    return version;
}

// The catalogue rows of `order` (entries have no place of their own to compare).
std::vector<std::uint16_t> FieldRows(const std::vector<std::uint16_t>& order, std::uint16_t rows) {
    std::vector<std::uint16_t> fields;
    std::copy_if(order.begin(), order.end(), std::back_inserter(fields),
                 [rows](std::uint16_t row) { return row < rows; });
    return fields;
}

}  // namespace

bool DiskComparison::HasChanges() const {
    return !theirRows.empty() || !conflictRows.empty() || entriesTheirs || entriesConflict ||
           !theirOrders.empty() || !conflictOrders.empty();
}

bool DiskComparison::HasConflicts() const {
    return !conflictRows.empty() || entriesConflict || !conflictOrders.empty();
}

DiskComparison ConfigDocument::CompareWithDisk(std::string_view diskBytes) const {
    const Version disk = ReadVersion(Defs(), diskBytes);
    DiskComparison result;
    for (std::uint16_t row = 0; row < CatalogueRows(); ++row) {
        const std::string& base = m_savedValues[row];
        const std::string& theirs = disk.values[row];
        const std::string& mine = m_table[row].value;
        if (theirs == base || theirs == mine) {
            continue;  // the disk did not change it, or changed it as the edit did
        }
        if (mine == base) {
            result.theirRows.push_back(row);
        } else {
            result.conflictRows.push_back(row);
            result.conflictTheirValues.push_back(DecodeText(theirs, m_encoding));
        }
    }
    const std::vector<ReplacementEntry> mine = Entries();
    if (disk.entries != m_savedEntries && disk.entries != mine) {
        (mine == m_savedEntries ? result.entriesTheirs : result.entriesConflict) = true;
    }
    const std::uint16_t rows = CatalogueRows();
    for (std::size_t s = 0; s < m_order.size(); ++s) {
        const auto base = FieldRows(m_savedOrder[s], rows);
        const auto theirs = FieldRows(disk.order[s], rows);
        const auto edited = FieldRows(m_order[s], rows);
        if (theirs == base || theirs == edited) {
            continue;
        }
        (edited == base ? result.theirOrders : result.conflictOrders).push_back(s);
    }
    return result;
}

std::vector<std::string> ConfigDocument::MergeDisk(std::string_view diskBytes,
                                                   const DiskChoices& takeTheirs) {
    const DiskComparison comparison = CompareWithDisk(diskBytes);
    Version disk = ReadVersion(Defs(), diskBytes);
    // A conflict listed in the choices takes the disk's side.
    const auto theirsChosen = [](const auto& conflicts, const auto& chosen, const auto& item) {
        return std::count(conflicts.begin(), conflicts.end(), item) > 0 && chosen.count(item) > 0;
    };
    // Start from the disk's version and put back each edit that stays.
    DocumentTable merged = disk.table;
    for (std::uint16_t row = 0; row < CatalogueRows(); ++row) {
        const bool editKept = m_table[row].value != m_savedValues[row] &&
                              !theirsChosen(comparison.conflictRows, takeTheirs.rows, row);
        if (editKept) {
            merged[row].value = m_table[row].value;
        }
    }
    const bool entriesEdited = Entries() != m_savedEntries;
    const bool keepEntries = entriesEdited && !(comparison.entriesConflict && takeTheirs.entries);
    std::vector<std::string> warnings = std::move(disk.warnings);
    if (keepEntries) {
        while (merged.ReplacementCount() > 0) {
            merged.RemoveReplacement(static_cast<std::uint16_t>(merged.Count() - 1));
        }
        for (std::uint16_t row = CatalogueRows(); row < RowCount(); ++row) {
            merged.AppendReplacement(m_table[row].label, m_table[row].value,
                                     m_table[row].sectionId);
        }
    }
    DisplayOrder order = CatalogDisplayOrder(Defs().sections, merged);
    const std::uint16_t rows = CatalogueRows();
    for (std::size_t s = 0; s < order.size(); ++s) {
        const bool orderEdited = FieldRows(m_order[s], rows) != FieldRows(m_savedOrder[s], rows);
        if (orderEdited && !theirsChosen(comparison.conflictOrders, takeTheirs.orders, s)) {
            // The edited order of the fields, with the merged entries after them as placed.
            std::vector<std::uint16_t> kept = FieldRows(m_order[s], rows);
            for (const std::uint16_t row : order[s]) {
                if (row >= rows) {
                    kept.push_back(row);
                }
            }
            order[s] = std::move(kept);
        }
    }

    // The disk's version becomes the reference; what differs from it is the edits that stay.
    m_savedValues = std::move(disk.values);
    m_savedEntries = std::move(disk.entries);
    m_savedOrder = std::move(disk.order);
    m_table = std::move(merged);
    m_order = std::move(order);
    m_steps.clear();
    m_cursor = 0;
    m_typing = false;
    const std::vector<std::uint16_t> changed = ChangedRows();
    m_edited = std::set<std::uint16_t>(changed.begin(), changed.end());
    bool edited = !changed.empty() || EntriesChanged();
    for (std::size_t s = 0; s < m_order.size(); ++s) {
        edited = edited || OrderChanged(s);
    }
    // Modified while an edit of its own remains: no step leads back to a state equal to the file.
    m_savedAt = edited ? std::nullopt : std::optional<std::size_t>(0);
    Notify({DocumentChange::Kind::Reset, 0, 0});
    NotifyHistory();
    return warnings;
}

}  // namespace tav
