#include "document/configdocument.h"

#include <algorithm>
#include <utility>

#include "base/textencoding.h"
#include "base/translation.h"
#include "document/documentio.h"
#include "document/documentrules.h"
#include "profile/profiletext.h"

namespace tav {

namespace {

using Kind = DocumentChange::Kind;

// `order` with `row` taken out of every section and the rows after it moved up by one.
DisplayOrder WithoutRow(DisplayOrder order, std::uint16_t row) {
    for (std::vector<std::uint16_t>& section : order) {
        std::erase(section, row);
        for (std::uint16_t& r : section) {
            r = r > row ? static_cast<std::uint16_t>(r - 1) : r;
        }
    }
    return order;
}

}  // namespace

ConfigDocument::ConfigDocument(std::shared_ptr<const Catalogues> catalogues)
    : m_catalogues(std::move(catalogues)) {
    OpenBytes({}, {}, {});
}

// --- The document as a whole
// ------------------------------------------------------------------------------------

std::vector<std::string> ConfigDocument::OpenBytes(const std::string& path, const std::string& name,
                                                   std::string_view bytes,
                                                   std::optional<TextEncoding> encoding) {
    return OpenText(path, name, ProfileText(bytes, ProfileText::InPlace{}), bytes, encoding);
}

std::vector<std::string> ConfigDocument::OpenText(const std::string& path, const std::string& name,
                                                  const ProfileText& text, std::string_view bytes,
                                                  std::optional<TextEncoding> encoding) {
    // Not value_or: its argument, a pass over the whole document, would be worked out anyway.
    m_encoding = encoding ? *encoding : DecideEncoding(bytes);
    m_table = DocumentTable(Defs().fields);
    std::vector<std::string> warnings = ReadDocumentValues(Defs().sections, m_table, text);
    m_order = CatalogDisplayOrder(Defs().sections, m_table);
    m_path = path;
    m_name = name;
    m_steps.clear();
    m_cursor = 0;
    m_typing = false;
    MarkSaved();
    Notify({Kind::Reset, 0, 0});
    return warnings;
}

void ConfigDocument::New() {
    OpenBytes({}, {}, {});
}

void ConfigDocument::MarkWritten(DocumentTable written, const std::string& path,
                                 const std::string& name) {
    std::vector<std::uint16_t> stamped;
    for (std::uint16_t row = 0; row < RowCount(); ++row) {
        if (written[row].value != m_table[row].value || written[row].label != m_table[row].label) {
            stamped.push_back(row);
        }
    }
    m_table = std::move(written);
    m_path = path;
    m_name = name;
    m_typing = false;
    MarkSaved();
    for (const std::uint16_t row : stamped) {
        Notify({Kind::Value, row, 0});
    }
    Notify({Kind::Saved, 0, 0});
    NotifyHistory();
}

void ConfigDocument::AdoptWritten(const ConfigDocument& written) {
    m_table = written.m_table;
    m_order = written.m_order;
    m_path = written.m_path;
    m_name = written.m_name;
    m_encoding = written.m_encoding;
    m_steps.clear();
    m_cursor = 0;
    m_typing = false;
    MarkSaved();
    Notify({Kind::Reset, 0, 0});
    Notify({Kind::Saved, 0, 0});
    NotifyHistory();
}

// --- Content ----------------------------------------------------------------------------------

std::string ConfigDocument::Value(std::uint16_t row) const {
    return DecodeText(m_table[row].value, m_encoding);
}

std::string_view ConfigDocument::ValueText(std::uint16_t row, std::string& decoded) const {
    const std::string& stored = m_table[row].value;
    if (DecodesToItself(stored, m_encoding)) {
        return stored;
    }
    decoded = DecodeText(stored, m_encoding);
    return decoded;
}

std::string ConfigDocument::Label(std::uint16_t row) const {
    return row < CatalogueRows() ? Defs().FieldLabel(row)
                                 : DecodeText(m_table[row].label, m_encoding);
}

ReplacementEntry ConfigDocument::Entry(std::size_t n) const {
    const auto row = static_cast<std::uint16_t>(CatalogueRows() + n);
    return ReplacementEntry{Label(row), Value(row)};
}

std::vector<ReplacementEntry> ConfigDocument::Entries() const {
    std::vector<ReplacementEntry> entries;
    for (std::size_t n = 0; n < EntryCount(); ++n) {
        const DocumentRow& row = m_table[CatalogueRows() + n];
        entries.push_back(ReplacementEntry{row.label, row.value});
    }
    return entries;
}

std::optional<std::size_t> ConfigDocument::ReplacementSection() const {
    return Defs().ReplacementSectionIndex();
}

// --- Edits ------------------------------------------------------------------------------------

Status ConfigDocument::Refused(const std::string& reason) const {
    return FileError{m_path.empty() ? Translate("Document", "(new document)") : m_path, reason};
}

// `text` in the document's encoding; the bytes `stored` when they decode to `text`, so that bytes
// a decoding cannot show exactly (broken UTF-8) stay as they are unless the text changes.
Expected<std::string> ConfigDocument::Stored(const std::string& text,
                                             const std::string& stored) const {
    if (DecodeText(stored, m_encoding) == text) {
        return stored;
    }
    return EncodeText(text, m_encoding);
}

Status ConfigDocument::SetValue(std::uint16_t row, const std::string& value) {
    if (row >= CatalogueRows()) {
        return Refused(FillIn(Translate("Document", "row %1 is not a catalogued field"),
                              {std::to_string(row)}));
    }
    if (m_table[row].type == FieldType::Boolean && !IsBooleanText(value)) {
        return Refused(
            FillIn(Translate("Document", "the True/False field %1 takes True or False, not \"%2\""),
                   {m_table[row].key, value}));
    }
    const Expected<std::string> stored = Stored(value, m_table[row].value);
    if (!stored) {
        return Refused(stored.Error().reason);
    }
    m_edited.insert(row);
    return SetTexts(row, m_table[row].label, *stored);
}

Status ConfigDocument::ModifyEntry(std::uint16_t row, const std::string& from,
                                   const std::string& to) {
    if (!IsEntryRow(row)) {
        return Refused(FillIn(Translate("Document", "row %1 is not a replacement entry"),
                              {std::to_string(row)}));
    }
    if (const auto problem = FromTextProblem(from)) {
        return Refused(*problem);
    }
    const Expected<std::string> storedFrom = Stored(from, m_table[row].label);
    if (!storedFrom) {
        return Refused(storedFrom.Error().reason);
    }
    const Expected<std::string> storedTo = Stored(to, m_table[row].value);
    if (!storedTo) {
        return Refused(storedTo.Error().reason);
    }
    return SetTexts(row, *storedFrom, *storedTo);
}

Status ConfigDocument::SetTexts(std::uint16_t row, const std::string& label,
                                const std::string& value) {
    const DocumentRow& field = m_table[row];
    if (field.label == label && field.value == value) {
        return {};
    }
    // Typing into one field goes on in the step it started, unless that step is where the
    // document was saved: undoing to the save point must stay possible.
    if (m_typing && m_cursor == m_steps.size() && m_cursor > 0 && m_savedAt != m_cursor &&
        m_steps.back().kind == Kind::Value && m_steps.back().row == row) {
        Step& top = m_steps.back();
        top.afterLabel = label;
        top.afterValue = value;
        Apply(top, true);
        if (top.afterLabel == top.beforeLabel && top.afterValue == top.beforeValue) {
            m_steps.pop_back();  // typed back to where the step began
            --m_cursor;
            m_typing = false;
        }
        NotifyHistory();
        return {};
    }
    Step step;
    step.kind = Kind::Value;
    step.row = row;
    step.beforeLabel = field.label;
    step.beforeValue = field.value;
    step.afterLabel = label;
    step.afterValue = value;
    Push(std::move(step));
    m_typing = true;
    return {};
}

Expected<std::uint16_t> ConfigDocument::AddEntry(const std::string& from, const std::string& to) {
    const std::optional<std::size_t> r = ReplacementSection();
    if (!r) {
        return FileError{
            m_path, Translate("Document", "the catalogue has no section for string replacements")};
    }
    if (const auto problem = FromTextProblem(from)) {
        return FileError{m_path, *problem};
    }
    Expected<std::string> storedFrom = EncodeText(from, m_encoding);
    Expected<std::string> storedTo = EncodeText(to, m_encoding);
    if (!storedFrom || !storedTo) {
        return FileError{m_path, (storedFrom ? storedTo : storedFrom).Error().reason};
    }
    const std::size_t room = ReplacementRoom(CatalogueRows());
    if (EntryCount() >= room) {
        return FileError{m_path, FillIn(Translate("Document",
                                                  "the list of string replacements is "
                                                  "full: it holds at most %1 entries"),
                                        {std::to_string(room)})};
    }
    const std::uint16_t row = RowCount();
    const std::uint16_t id = Defs().sections[*r].id;
    Step step;
    step.kind = Kind::EntryAdded;
    step.row = row;
    step.afterLabel = std::move(*storedFrom);
    step.afterValue = std::move(*storedTo);
    step.beforeOrder = m_order;
    step.afterOrder = m_order;
    // An entry has no place in an Order list: it goes last under every section of its id, as
    // PlaceFields places it when the document is read.
    for (std::size_t s = 0; s < step.afterOrder.size(); ++s) {
        if (Defs().sections[s].id == id) {
            step.afterOrder[s].push_back(row);
        }
    }
    m_typing = false;
    Push(std::move(step));
    return row;
}

Status ConfigDocument::RemoveEntry(std::uint16_t row) {
    if (!IsEntryRow(row)) {
        return Refused(FillIn(Translate("Document", "row %1 is not a replacement entry"),
                              {std::to_string(row)}));
    }
    Step step;
    step.kind = Kind::EntryRemoved;
    step.row = row;
    step.beforeLabel = m_table[row].label;
    step.beforeValue = m_table[row].value;
    step.beforeOrder = m_order;
    step.afterOrder = WithoutRow(m_order, row);
    m_typing = false;
    Push(std::move(step));
    return {};
}

Status ConfigDocument::MoveField(std::uint16_t row, std::uint16_t beforeRow) {
    const auto isOrdered = [this](std::uint16_t r) {
        return r < CatalogueRows() && m_table[r].orderPos != 0;
    };
    std::optional<std::size_t> section;
    for (std::size_t s = 0; s < m_order.size() && !section; ++s) {
        const std::vector<std::uint16_t>& rows = m_order[s];
        if (std::count(rows.begin(), rows.end(), row) > 0 &&
            std::count(rows.begin(), rows.end(), beforeRow) > 0) {
            section = s;
        }
    }
    if (!isOrdered(row) || !isOrdered(beforeRow) || row == beforeRow || !section) {
        return Refused(Translate("Document",
                                 "only an ordered field can move, and only before another ordered "
                                 "field of its own section"));
    }
    Step step;
    step.kind = Kind::Order;
    step.section = *section;
    step.beforeOrder = m_order;
    step.afterOrder = m_order;
    std::vector<std::uint16_t>& rows = step.afterOrder[*section];
    std::erase(rows, row);
    rows.insert(std::find(rows.begin(), rows.end(), beforeRow), row);
    if (step.afterOrder == m_order) {
        return {};  // already in that place
    }
    m_typing = false;
    Push(std::move(step));
    return {};
}

// --- History ----------------------------------------------------------------------------------

void ConfigDocument::Push(Step step) {
    if (m_cursor < m_steps.size()) {
        // A new edit after undo drops the steps that could be redone; a save point among them
        // can no longer be reached.
        if (m_savedAt && *m_savedAt > m_cursor) {
            m_savedAt.reset();
        }
        m_steps.resize(m_cursor);
    }
    m_steps.push_back(std::move(step));
    if (m_steps.size() > kHistoryLimit) {
        m_steps.erase(m_steps.begin());
        m_savedAt =
            m_savedAt && *m_savedAt > 0 ? std::optional<std::size_t>(*m_savedAt - 1) : std::nullopt;
    }
    m_cursor = m_steps.size();
    Apply(m_steps.back(), true);
    NotifyHistory();
}

void ConfigDocument::Apply(const Step& step, bool forward) {
    switch (step.kind) {
        case Kind::Value: {
            DocumentRow& field = m_table[step.row];
            field.label = forward ? step.afterLabel : step.beforeLabel;
            field.value = forward ? step.afterValue : step.beforeValue;
            if (step.row < CatalogueRows()) {
                m_edited.insert(step.row);
            }
            Notify({Kind::Value, step.row, 0});
            return;
        }
        case Kind::EntryAdded:
        case Kind::EntryRemoved: {
            const bool inserts = (step.kind == Kind::EntryAdded) == forward;
            if (inserts) {
                const std::uint16_t id = Defs().sections[*ReplacementSection()].id;
                m_table.InsertReplacement(step.row, forward ? step.afterLabel : step.beforeLabel,
                                          forward ? step.afterValue : step.beforeValue, id);
            } else {
                m_table.RemoveReplacement(step.row);
            }
            m_order = forward ? step.afterOrder : step.beforeOrder;
            Notify({inserts ? Kind::EntryAdded : Kind::EntryRemoved, step.row, 0});
            return;
        }
        case Kind::Order:
            m_order = forward ? step.afterOrder : step.beforeOrder;
            Notify({Kind::Order, 0, step.section});
            return;
        case Kind::Reset:
        case Kind::Saved:
        case Kind::History:
            return;  // never a step
    }
}

bool ConfigDocument::Undo() {
    if (!CanUndo()) {
        return false;
    }
    m_typing = false;
    --m_cursor;
    Apply(m_steps[m_cursor], false);
    NotifyHistory();
    return true;
}

bool ConfigDocument::Redo() {
    if (!CanRedo()) {
        return false;
    }
    m_typing = false;
    Apply(m_steps[m_cursor], true);
    ++m_cursor;
    NotifyHistory();
    return true;
}

void ConfigDocument::MarkSaved() {
    m_savedValues.clear();
    for (std::uint16_t row = 0; row < CatalogueRows(); ++row) {
        m_savedValues.push_back(m_table[row].value);
    }
    m_savedEntries = Entries();
    m_savedOrder = m_order;
    m_edited.clear();
    m_savedAt = m_cursor;
}

std::vector<std::uint16_t> ConfigDocument::ChangedRows() const {
    std::vector<std::uint16_t> rows;
    for (std::uint16_t row = 0; row < CatalogueRows(); ++row) {
        if (m_table[row].value != m_savedValues[row]) {
            rows.push_back(row);
        }
    }
    return rows;
}

bool ConfigDocument::IsModified() const {
    return m_order != m_savedOrder || EntriesChanged() || !ChangedRows().empty();
}

bool ConfigDocument::IsRowChanged(std::uint16_t row) const {
    if (row >= RowCount()) {
        return false;
    }
    if (!IsEntryRow(row)) {
        return m_table[row].value != SavedValue(row);
    }
    const std::size_t place = row - CatalogueRows();
    const DocumentRow& entry = m_table[row];
    return place >= m_savedEntries.size() ||
           m_savedEntries[place] != ReplacementEntry{entry.label, entry.value};
}

bool ConfigDocument::EntriesChanged() const {
    return Entries() != m_savedEntries;
}

std::string ConfigDocument::SavedValue(std::uint16_t row) const {
    return row < m_savedValues.size() ? m_savedValues[row] : std::string();
}

std::optional<ReplacementEntry> ConfigDocument::SavedEntry(std::size_t n) const {
    if (n >= m_savedEntries.size()) {
        return std::nullopt;
    }
    return m_savedEntries[n];
}

bool ConfigDocument::OrderChanged(std::size_t section) const {
    return section < m_order.size() && m_order[section] != m_savedOrder[section];
}

// --- Listeners --------------------------------------------------------------------------------

int ConfigDocument::AddListener(DocumentListener listener) {
    const int id = m_nextListener++;
    m_listeners.emplace(id, std::move(listener));
    return id;
}

void ConfigDocument::RemoveListener(int id) {
    m_listeners.erase(id);
}

void ConfigDocument::Notify(const DocumentChange& change) {
    // A copy: a listener may add or remove listeners while it is told.
    const std::map<int, DocumentListener> listeners = m_listeners;
    for (const auto& [id, listener] : listeners) {
        if (m_listeners.count(id) > 0) {
            listener(change);
        }
    }
}

void ConfigDocument::NotifyHistory() {
    Notify({Kind::History, 0, 0});
}

}  // namespace tav
