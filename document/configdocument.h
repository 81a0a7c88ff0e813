// The document model: one open .tac document as the editor and tacconf see it, with every edit
// they make, its undo history, what it held when read or last saved, and the notifications that
// keep views up to date. The rules of reading and saving live in documentio.h and
// documentrules.h; reading and writing its file in documentstorage.h; this class holds the state.
//
// Texts: the table holds the document's bytes, so that a save writes every byte the user did not
// change as it was read. The document's encoding (UTF-8 or Windows-1252, see DecideEncoding) is
// decided once when it is opened; Value, Label and Entry give texts as UTF-8, and the edits take
// UTF-8 and store it in that encoding. Row gives the bytes as stored.
#pragma once

#include <cstddef>
#include <cstdint>
#include <functional>
#include <map>
#include <memory>
#include <optional>
#include <set>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "base/textencoding.h"
#include "catalog/catalogues.h"
#include "document/displayorder.h"
#include "document/documentrules.h"

namespace tav {

class ProfileText;

// What changed in a document, told to every listener after the change is made.
struct DocumentChange {
    enum class Kind {
        Reset,         // a document was opened or started: everything may differ
        Value,         // the value (or, for an entry, both texts) of `row` changed
        EntryAdded,    // replacement row `row` was inserted; later rows moved down by one
        EntryRemoved,  // replacement row `row` was removed; later rows moved up by one
        Order,         // the display order of section `section` changed
        Saved,         // the document was written (its path, name or modified flag may differ)
        History,       // the modified flag or what undo and redo can do changed
    };
    Kind kind = Kind::Reset;
    std::uint16_t row = 0;
    std::size_t section = 0;
};

using DocumentListener = std::function<void(const DocumentChange&)>;

// What differs between the document as read (or last saved), as edited, and as on disk now. A row,
// the list or a section is "theirs" when only the disk changed it, a conflict when both did, to
// different values.
struct DiskComparison {
    std::vector<std::uint16_t> theirRows;
    std::vector<std::uint16_t> conflictRows;
    std::vector<std::string> conflictTheirValues;  // the disk's value of each conflict row, UTF-8
    bool entriesTheirs = false;
    bool entriesConflict = false;
    std::vector<std::size_t> theirOrders;
    std::vector<std::size_t> conflictOrders;

    bool HasChanges() const;
    bool HasConflicts() const;
};

// For each conflict of a DiskComparison: take the disk's version (listed here) or keep the edit.
struct DiskChoices {
    std::set<std::uint16_t> rows;
    bool entries = false;
    std::set<std::size_t> orders;
};

class ConfigDocument final {
public:
    // Undo keeps at most this many steps; older ones are forgotten.
    static constexpr std::size_t kHistoryLimit = 1000;

    // An empty, unnamed document of `catalogues` (which must not be null).
    explicit ConfigDocument(std::shared_ptr<const Catalogues> catalogues);
    ConfigDocument(const ConfigDocument&) = delete;
    ConfigDocument& operator=(const ConfigDocument&) = delete;

    // --- The document as a whole ---

    // Makes `bytes`, the content of the file at `path` (empty: a new document), the document's,
    // under `name`: every value, entry, order and the history of the previous document are
    // discarded; the result is unmodified. Returns the read's warnings (entries that did not fit
    // into the table). Listeners are told Reset. The document's encoding is `encoding` when
    // given, else decided from `bytes` (see DecideEncoding). Nothing is read from disk here
    // (DocumentStorage::Open reads a file).
    std::vector<std::string> OpenBytes(const std::string& path, const std::string& name,
                                       std::string_view bytes,
                                       std::optional<TextEncoding> encoding = std::nullopt);
    // OpenBytes with `bytes` already read into `text`.
    std::vector<std::string> OpenText(const std::string& path, const std::string& name,
                                      const ProfileText& text, std::string_view bytes,
                                      std::optional<TextEncoding> encoding);

    // Starts a new, unnamed document without keys (OpenBytes of an empty path): Windows-1252.
    void New();

    // Tells the document that `written` (its table as a save wrote it, the stamps included) is
    // now the file `path`, which becomes its path under `name`: the document is unmodified, the
    // written values are the new reference for ChangedRows, and listeners are told Value for
    // every row whose texts `written` changed, then Saved.
    void MarkWritten(DocumentTable written, const std::string& path, const std::string& name);

    // Takes the content, path, name and encoding of `written`, a document of the same
    // catalogues just written to its file, as unmodified, with no history. Listeners are told
    // Reset, then Saved.
    void AdoptWritten(const ConfigDocument& written);

    const std::string& Path() const { return m_path; }
    const std::string& Name() const { return m_name; }
    const Catalogues& Defs() const { return *m_catalogues; }
    const std::shared_ptr<const Catalogues>& SharedDefs() const { return m_catalogues; }
    // The encoding of the document's texts, decided when it was opened; a save keeps it.
    TextEncoding Encoding() const { return m_encoding; }

    // --- Content ---

    // Rows 0 .. CatalogueRows()-1 are the catalogue's fields, the rows after them the replacement
    // entries in list order (label: from-text, value: to-text, type FieldType::Replacement). `row`
    // < RowCount().
    std::uint16_t RowCount() const { return m_table.Count(); }
    std::uint16_t CatalogueRows() const { return Defs().fields.Count(); }
    // The row as stored: values and from-texts in the document's encoding, the labels of
    // catalogue rows in Fields.txt's.
    const DocumentRow& Row(std::uint16_t row) const { return m_table[row]; }
    // Every row as stored: what a save writes.
    const DocumentTable& Table() const { return m_table; }
    // The row's value (an entry's to-text) as UTF-8.
    std::string Value(std::uint16_t row) const;
    // The same text without a copy where the stored value is UTF-8 already (a value can be a
    // line of many megabytes): a view of the row, or else of `decoded`, which it fills.
    std::string_view ValueText(std::uint16_t row, std::string& decoded) const;
    // The row's label as UTF-8: a catalogue field's label from Fields.txt, an entry's from-text.
    std::string Label(std::uint16_t row) const;
    bool IsEntryRow(std::uint16_t row) const { return row >= CatalogueRows() && row < RowCount(); }

    std::size_t EntryCount() const { return m_table.ReplacementCount(); }
    // Entry `n` (< EntryCount()) as UTF-8.
    ReplacementEntry Entry(std::size_t n) const;
    // Every entry as stored, in the document's encoding: what a save writes.
    std::vector<ReplacementEntry> Entries() const;

    // The rows under each section, in display order (see PlaceFields for how a document's Order
    // list places them when it is read).
    const DisplayOrder& Order() const { return m_order; }

    // --- Edits (each is one undo step; views are told what changed) ---
    // Texts are UTF-8. A text the document's encoding cannot hold is refused, naming the
    // character and the encoding (see EncodeText); nothing is ever replaced. A text equal to what
    // Value or Label gives keeps the bytes stored, so an unchanged text never changes the file.

    // Sets the value of catalogue field `row`. A boolean field takes only "True" or "False".
    // Setting the value a field has changes nothing. Consecutive calls for one field merge into
    // one undo step until EndTyping or another kind of edit.
    Status SetValue(std::uint16_t row, const std::string& value);

    // Sets both texts of replacement row `row`; merges like SetValue. A from-text holding the
    // characters \044 is refused (see FromTextProblem).
    Status ModifyEntry(std::uint16_t row, const std::string& from, const std::string& to);

    // Appends an entry to the replacement list and returns its row. Refused when the catalogue has
    // no replacement section, the list is full (13 entries, or no room left in the table), the
    // from-text holds \044, or a text cannot be stored.
    Expected<std::uint16_t> AddEntry(const std::string& from, const std::string& to);

    // Removes replacement row `row`; later entries move up.
    Status RemoveEntry(std::uint16_t row);

    // Moves ordered field `row` before ordered field `beforeRow` of the same section's display
    // order. Refused for rows that are not ordered fields of one section, or the same row.
    Status MoveField(std::uint16_t row, std::uint16_t beforeRow);

    // Ends the current run of typing: the next SetValue or ModifyEntry starts a new undo step.
    void EndTyping() { m_typing = false; }

    // --- History ---

    bool CanUndo() const { return m_cursor > 0; }
    bool CanRedo() const { return m_cursor < m_steps.size(); }
    // Undoes or redoes one step; false when there is none.
    bool Undo();
    bool Redo();

    // True when the document differs from what it held when it was opened or last saved (a
    // value, the replacement list or a display order), however it got there: by undo, by
    // reverting a value, or by editing it back by hand.
    bool IsModified() const;

    // True when row `row` differs from the document as read or last saved: a catalogue field's
    // value, or the replacement entry at that row's place of the list compared with the entry
    // saved at that place (both as stored, so that an entry in any encoding compares like with
    // like). False for a row that does not exist.
    bool IsRowChanged(std::uint16_t row) const;

    // The catalogue rows whose value differs from the value read or last saved, in row order.
    std::vector<std::uint16_t> ChangedRows() const;
    // True when the replacement list differs from the one read or last saved.
    bool EntriesChanged() const;
    // What the document held when it was read or last saved, the reference of ChangedRows and
    // EntriesChanged: the value of catalogue field `row` (empty for any other row), and the entry
    // then at place `n` of the list (nothing past that list's end).
    std::string SavedValue(std::uint16_t row) const;
    std::optional<ReplacementEntry> SavedEntry(std::size_t n) const;
    // True when the display order of section `section` differs from the one read or last saved.
    bool OrderChanged(std::size_t section) const;
    // The catalogue fields SetValue (or an undo or redo of it) touched since the document was
    // read or last saved: what a save of the edited keys writes.
    const std::set<std::uint16_t>& EditedFields() const { return m_edited; }

    // --- Changes made on disk by someone else (documentmerge.cpp) ---

    // How `diskBytes`, the document's file as it is now, differs from what was read or last saved
    // and from the edits made since.
    DiskComparison CompareWithDisk(std::string_view diskBytes) const;

    // Takes the changes made on disk into the document: every catalogue field, the replacement
    // list and each section's order that was changed on disk and not here takes the disk's
    // version; where both sides changed, `takeTheirs` says which take the disk's (the others keep
    // the edit). The disk's version becomes the reference for ChangedRows and the modified flag
    // (the document stays modified when an edit of its own remains), and the undo history is
    // dropped, since its steps were made on values that are gone. Listeners are told Reset.
    // Returns the read's warnings.
    std::vector<std::string> MergeDisk(std::string_view diskBytes, const DiskChoices& takeTheirs);

    // --- Listeners ---

    // Adds a listener; the returned id removes it.
    int AddListener(DocumentListener listener);
    void RemoveListener(int id);

private:
    // One undo step: the state it changes, before and after.
    struct Step {
        DocumentChange::Kind kind = DocumentChange::Kind::Value;  // Value, EntryAdded, ...
        std::uint16_t row = 0;
        std::string beforeLabel, beforeValue;  // Value: the row's texts before the step
        std::string afterLabel, afterValue;    // ... and after it
        std::size_t section = 0;               // Order
        DisplayOrder beforeOrder, afterOrder;  // EntryAdded, EntryRemoved, Order
    };

    std::optional<std::size_t> SectionOfOrderedRow(std::uint16_t row) const;
    Status Refused(const std::string& reason) const;
    Expected<std::string> Stored(const std::string& text, const std::string& stored) const;
    Status SetTexts(std::uint16_t row, const std::string& label, const std::string& value);
    void Push(Step step);
    void Apply(const Step& step, bool forward);
    void MarkSaved();
    void Notify(const DocumentChange& change);
    void NotifyHistory();
    std::optional<std::size_t> ReplacementSection() const;

    std::shared_ptr<const Catalogues> m_catalogues;
    DocumentTable m_table;
    DisplayOrder m_order;
    std::string m_path;
    std::string m_name;
    TextEncoding m_encoding = TextEncoding::Windows1252;

    // The reference for ChangedRows, EntriesChanged and OrderChanged: as read or last saved.
    std::vector<std::string> m_savedValues;
    std::vector<ReplacementEntry> m_savedEntries;
    DisplayOrder m_savedOrder;
    std::set<std::uint16_t> m_edited;  // fields SetValue was called for since open or save

    std::vector<Step> m_steps;
    std::size_t m_cursor = 0;                  // steps done; m_steps[m_cursor..] can be redone
    std::optional<std::size_t> m_savedAt = 0;  // m_cursor when saved; nothing: not reachable
    bool m_typing = false;                     // the last step may take more keystrokes

    std::map<int, DocumentListener> m_listeners;
    int m_nextListener = 1;
};

}  // namespace tav
