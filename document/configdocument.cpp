#include "document/configdocument.h"

#include <fcntl.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstring>
#include <memory>

#include "base/fileaccess.h"
#include "base/splicedbytes.h"
#include "base/textencoding.h"
#include "document/documentio.h"
#include "document/documentrules.h"
#include "profile/profiletext.h"
#include "storage/documentfile.h"

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

// --- Files ------------------------------------------------------------------------------------

Expected<std::vector<std::string>> ConfigDocument::Open(const std::string& path,
                                                        const std::string& name,
                                                        MissingFile missing,
                                                        std::optional<TextEncoding> encoding) {
    UniqueFd file(path.empty() ? -1 : ::open(path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    const int openError = errno;
    // The fingerprint and the encoding come from each piece as it is read, while it is still in
    // the cache: no further pass over the whole file, and the progress of a long open tells of
    // nearly all of its work.
    ContentHash hash;
    EncodingScanner scanner;
    const auto scan = [&](std::string_view piece) {
        hash.Add(piece);
        scanner.Scan(piece);
    };
    Expected<FileBytes> bytes =
        path.empty()   ? Expected<FileBytes>(FileBytes())
        : file.Valid() ? ReadOpenFile(file.Get(), path, scan)
                       : Expected<FileBytes>(FileError{path, std::strerror(openError), openError});
    bool exists = !path.empty();
    if (!bytes) {
        if (missing == MissingFile::IsAnError || !bytes.Error().Missing()) {
            return bytes.Error();
        }
        bytes = FileBytes();  // opens as a new document of that name
        exists = false;
        hash = ContentHash();
        scanner = EncodingScanner();
    }
    const std::string_view view = bytes->View();
    m_disk = DiskFingerprint{exists, view.size(), hash.Value()};
    m_file = UniqueFd();
    std::vector<std::string> warnings =
        OpenText(path, name, ProfileText(view, ProfileText::InPlace{}), view,
                 encoding.value_or(scanner.Result()));
    m_file = exists ? std::move(file) : UniqueFd();
    return warnings;
}

std::vector<std::string> ConfigDocument::OpenBytes(const std::string& path, const std::string& name,
                                                   std::string_view bytes,
                                                   std::optional<TextEncoding> encoding) {
    m_disk = FingerprintOf(bytes, !path.empty());
    m_file = UniqueFd();
    return OpenText(path, name, ProfileText(bytes, ProfileText::InPlace{}), bytes, encoding);
}

std::vector<std::string> ConfigDocument::OpenText(const std::string& path, const std::string& name,
                                                  const ProfileText& text, std::string_view bytes,
                                                  std::optional<TextEncoding> encoding) {
    // Not value_or: its argument, a pass over the whole document, would be worked out anyway.
    m_encoding = encoding ? *encoding : DecideEncoding(bytes);
    m_table = Defs().fields;
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

Status ConfigDocument::Save(const std::string& timeText) {
    if (m_path.empty()) {
        return FileError{"(no file)", "the document has no file name yet"};
    }
    return SaveAs(m_path, m_name, timeText);
}

Expected<bool> ConfigDocument::SaveIfUnchangedOnDisk(const std::string& timeText) {
    if (m_path.empty()) {
        return FileError{"(no file)", "the document has no file name yet"};
    }
    bool unchanged = true;
    const Status saved = SaveTo(m_path, m_name, timeText, [&](std::string_view current) {
        unchanged = FingerprintOf(current, true) == m_disk;
        return unchanged;
    });
    if (!unchanged) {
        return false;
    }
    if (!saved) {
        return saved.Error();
    }
    return true;
}

Status ConfigDocument::SaveAs(const std::string& path, const std::string& name,
                              const std::string& timeText) {
    return SaveTo(path, name, timeText, {});
}

Status ConfigDocument::SaveTo(const std::string& path, const std::string& name,
                              const std::string& timeText,
                              const std::function<bool(std::string_view current)>& onlyIf) {
    // Another file gets the whole document: this document's file as it is now, not the bytes of
    // the file it replaces.
    const bool otherFile = path != m_path;
    FileBytes source;
    if (otherFile && !m_path.empty()) {
        Expected<FileBytes> bytes = ReadFileBuffer(m_path);
        if (!bytes && !bytes.Error().Missing()) {
            return bytes.Error();
        }
        // A removed file still has the content it was last read or written with.
        bytes = bytes ? std::move(bytes) : KeptContent();
        if (!bytes) {
            return bytes.Error();
        }
        source = std::move(*bytes);
    }
    // This document's own file, removed since it was read or written, is written again whole.
    FileBytes kept;
    RewriteOptions options;
    // (SaveIfUnchangedOnDisk leaves a removed file to the caller's question.)
    if (!otherFile && m_disk.exists && !onlyIf) {
        options.contentIfMissing = [&]() -> Expected<std::string_view> {
            Expected<FileBytes> bytes = KeptContent();
            if (!bytes) {
                return bytes.Error();
            }
            kept = std::move(*bytes);
            return kept.View();
        };
    }
    FieldCatalog saved = m_table;
    WrittenContent written;
    if (Status rewritten = SaveDocumentFile(
            path, Defs().sections, saved, m_order, timeText,
            otherFile ? std::optional<std::string_view>(source.View()) : std::nullopt, &written,
            onlyIf, options);
        !rewritten) {
        return rewritten;
    }
    m_disk = DiskFingerprint{true, written.size, written.hash};
    std::vector<std::uint16_t> stamped;
    for (std::uint16_t row = 0; row < RowCount(); ++row) {
        if (saved[row].value != m_table[row].value || saved[row].label != m_table[row].label) {
            stamped.push_back(row);
        }
    }
    m_table = std::move(saved);
    m_path = path;
    m_name = name;
    KeepFile(written);
    m_typing = false;
    MarkSaved();
    for (const std::uint16_t row : stamped) {
        Notify({Kind::Value, row, 0});
    }
    Notify({Kind::Saved, 0, 0});
    NotifyHistory();
    return {};
}

Expected<SplicedBytes> ConfigDocument::EditedKeysOver(std::string_view current,
                                                      std::unique_ptr<ProfileText>& text) const {
    text = std::make_unique<ProfileText>(current, ProfileText::InPlace{});
    return WriteEditedKeys(*text);
}

Expected<SplicedBytes> ConfigDocument::WriteEditedKeys(ProfileText& text) const {
    for (const std::uint16_t row : m_edited) {
        const FieldDef& field = m_table[row];
        const SectionDef* section = Defs().sections.RowForId(field.sectionId);
        if (section == nullptr) {
            continue;  // names no section: neither read nor written
        }
        const std::string stored =
            field.type == FieldType::Boolean ? StoredBoolean(field.value) : field.value;
        if (const Status set = text.Set(section->iniName, field.key, stored); !set) {
            return FileError{m_path, set.Error().reason};
        }
    }
    const std::optional<std::size_t> r = ReplacementSection();
    if (r && EntriesChanged()) {
        const std::string& section = Defs().sections[*r].iniName;
        const std::vector<ReplacementEntry> entries = Entries();
        for (std::size_t n = 0; n < entries.size(); ++n) {
            const std::string stored = ReplacementEntryText(entries[n].from, entries[n].to);
            if (const Status set = text.Set(section, ReplacementKey(n), stored); !set) {
                return FileError{m_path, set.Error().reason};
            }
        }
        // After the most entries a list can hold there is no end key (see ApplySave).
        if (entries.size() < FieldCatalog::kMaxReplacements) {
            if (const Status set = text.Set(section, ReplacementKey(entries.size()), ""); !set) {
                return FileError{m_path, set.Error().reason};
            }
        }
    }
    return text.Pieces();  // the bytes it was given when nothing changed: nothing is written
}

void ConfigDocument::EditedKeysSaved(const WrittenContent& written) {
    m_disk = DiskFingerprint{true, written.size, written.hash};
    KeepFile(written);
    m_typing = false;
    MarkSaved();
    Notify({Kind::Saved, 0, 0});
    NotifyHistory();
}

Status ConfigDocument::SaveEditedKeys() {
    std::unique_ptr<ProfileText> edited;  // what the written pieces point into
    WrittenContent written;
    // Under the document lock, on the file as it is then; again if it changes before the write.
    const Status saved = RewriteDocument(
        m_path,
        [this, &edited](std::string_view current) { return EditedKeysOver(current, edited); },
        &written);
    if (!saved) {
        return saved;
    }
    EditedKeysSaved(written);
    return {};
}

Expected<bool> ConfigDocument::EditFile(
    const std::string& path, std::optional<TextEncoding> encoding,
    const std::function<bool(const std::vector<std::string>& warnings)>& edit,
    LeftoverChoice leftover) {
    std::unique_ptr<ProfileText> edited;  // what the written pieces point into
    WrittenContent written;
    bool refused = false;
    const Status saved = RewriteDocument(
        path,
        [&](std::string_view current) -> Expected<SplicedBytes> {
            // One reading of the bytes serves the values and the writes; the fingerprint of the
            // file is taken from what the save leaves.
            edited = std::make_unique<ProfileText>(current, ProfileText::InPlace{});
            const std::vector<std::string> warnings =
                OpenText(path, path, *edited, current, encoding);
            refused = !edit(warnings);
            if (refused) {
                return FileError{path, "the edits were refused"};
            }
            return WriteEditedKeys(*edited);
        },
        // A command line names files that exist: a missing one is not created.
        &written, RewriteOptions{leftover, false});
    if (refused) {
        return false;
    }
    if (!saved) {
        return saved.Error();
    }
    EditedKeysSaved(written);
    return true;
}

Expected<std::string> ConfigDocument::SavedBytes(std::string_view bytes,
                                                 const std::string& timeText) const {
    ProfileText text(bytes, ProfileText::InPlace{});
    FieldCatalog work = m_table;
    if (const Status applied = ApplySave(Defs().sections, work, m_order, timeText, text);
        !applied) {
        return FileError{m_path, applied.Error().reason};
    }
    return text.Bytes();
}

void ConfigDocument::KeepFile(const WrittenContent& written) {
    UniqueFd file(::open(m_path.c_str(), O_RDONLY | O_CLOEXEC | O_NONBLOCK));
    struct stat info {};
    const bool same =
        file.Valid() && ::fstat(file.Get(), &info) == 0 && S_ISREG(info.st_mode) &&
        static_cast<std::size_t>(info.st_size) == written.size &&
        (written.inode == 0 || (info.st_ino == written.inode && info.st_dev == written.device));
    m_file = same ? std::move(file) : UniqueFd();
}

Expected<FileBytes> ConfigDocument::KeptContent() const {
    if (!m_file.Valid()) {
        return FileBytes();
    }
    return ReadOpenFile(m_file.Get(), m_path);
}

// --- Content ----------------------------------------------------------------------------------

std::string ConfigDocument::Value(std::uint16_t row) const {
    return DecodeText(m_table[row].value, m_encoding);
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
        const FieldDef& row = m_table[CatalogueRows() + n];
        entries.push_back(ReplacementEntry{row.label, row.value});
    }
    return entries;
}

std::optional<std::size_t> ConfigDocument::ReplacementSection() const {
    return Defs().ReplacementSectionIndex();
}

// --- Edits ------------------------------------------------------------------------------------

Status ConfigDocument::Refused(const std::string& reason) const {
    return FileError{m_path.empty() ? std::string("(new document)") : m_path, reason};
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
        return Refused("row " + std::to_string(row) + " is not a catalogued field");
    }
    if (m_table[row].type == FieldType::Boolean && !IsBooleanText(value)) {
        return Refused("the True/False field " + m_table[row].key + " takes True or False, not \"" +
                       value + "\"");
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
        return Refused("row " + std::to_string(row) + " is not a replacement entry");
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
    const FieldDef& field = m_table[row];
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
        return FileError{m_path, "the catalogue has no section for string replacements"};
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
        return FileError{m_path, "the list of string replacements is full: it holds at most " +
                                     std::to_string(room) + " entries"};
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
        return Refused("row " + std::to_string(row) + " is not a replacement entry");
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
        return Refused(
            "only an ordered field can move, and only before another ordered field of "
            "its own section");
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
            FieldDef& field = m_table[step.row];
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
    const FieldDef& entry = m_table[row];
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
