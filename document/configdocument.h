// The document model: one open .tac document as the editor and tacconf see it, with every edit
// they make, its undo history and the notifications that keep views up to date. The rules of
// reading and saving live in documentio.h and documentrules.h; this class holds the state.
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
#include "base/fileaccess.h"
#include "base/splicedbytes.h"
#include "base/textencoding.h"
#include "catalog/catalogues.h"
#include "document/displayorder.h"
#include "storage/documentfile.h"
#include "storage/safepath.h"

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

// A replacement entry: commas in both texts as they are. Entry() gives it as UTF-8, Entries() as
// stored in the document's encoding.
struct ReplacementEntry {
    std::string from;
    std::string to;
    bool operator==(const ReplacementEntry&) const = default;
};

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

// How Open treats a path that names no file.
enum class MissingFile {
    OpensEmpty,  // a document without keys, saved as a new file (the editor's Open and New)
    IsAnError,   // the command line names files that exist
};

class ConfigDocument final {
public:
    // Undo keeps at most this many steps; older ones are forgotten.
    static constexpr std::size_t kHistoryLimit = 1000;

    // An empty, unnamed document of `catalogues` (which must not be null).
    explicit ConfigDocument(std::shared_ptr<const Catalogues> catalogues);
    ConfigDocument(const ConfigDocument&) = delete;
    ConfigDocument& operator=(const ConfigDocument&) = delete;

    // --- Files ---

    // Reads the document at `path` (empty: a new document) and makes `path` and `name` the
    // document's. Every value, entry, order and the history of the previous document are
    // discarded; the result is unmodified. Returns the read's warnings (entries that did not fit
    // into the table). A file that exists but cannot be read (or, with IsAnError, does not exist)
    // is returned as the error and nothing changes. Listeners are told Reset. The document's
    // encoding is `encoding` when given, else decided from the bytes read (see DecideEncoding).
    Expected<std::vector<std::string>> Open(const std::string& path, const std::string& name,
                                            MissingFile missing = MissingFile::OpensEmpty,
                                            std::optional<TextEncoding> encoding = std::nullopt);

    // Open with `bytes` as the file's content, read by someone else already.
    std::vector<std::string> OpenBytes(const std::string& path, const std::string& name,
                                       std::string_view bytes,
                                       std::optional<TextEncoding> encoding = std::nullopt);

    // Starts a new, unnamed document without keys (Open of an empty path): Windows-1252.
    void New();

    // Writes every catalogued key to the document's file in display order, stamping Version and
    // Updated of section TACInfo with "1.0" and `timeText` (see SaveDocumentFile): the file as it
    // is on disk now gets the writes, every other line stays. On success the document is
    // unmodified, the saved values are the new reference for ChangedRows, and listeners are told
    // Value for every row the save changed (the stamps), then Saved. On failure (also: the
    // document has no path) nothing changes and the error says why.
    Status Save(const std::string& timeText);

    // Save, unless the file no longer holds what it held when it was read or last written by this
    // document (someone else changed or removed it): then nothing is written and it gives false,
    // for the caller to look at the changes (CheckDisk) and decide. Checked on the bytes the save
    // reads, under the file's lock, so the file is read once.
    Expected<bool> SaveIfUnchangedOnDisk(const std::string& timeText);

    // Save to `path` under `name`, which become the document's on success only. Saving to
    // another file writes the whole document: the document's own file as it is on disk now
    // (nothing for a new document), with every write of the save applied, replaces that file.
    Status SaveAs(const std::string& path, const std::string& name, const std::string& timeText);

    // Writes only what was edited since the document was opened or saved, to its file as it is
    // on disk now: each field SetValue was called for, and the whole replacement list with its
    // end key when the list differs from the one read. No stamps. A file the writes leave
    // unchanged is not rewritten. On success the document is unmodified.
    Status SaveEditedKeys();

    // tacconf set in one read-modify-write cycle: opens the existing file at `path` under its lock
    // (as OpenBytes, in `encoding` when given), lets `edit` change the document, and writes what
    // it edited (as SaveEditedKeys). `edit` gets the read's warnings and returns false to refuse:
    // then nothing is written. When the file changes before the write, all of it is done again on
    // the new content. Gives true when saved (or when nothing needed writing), false when `edit`
    // refused, the error when the file is missing, unreadable or cannot be written. A copy left by
    // an unfinished in-place write is dealt with as `leftover` says (RewriteDocument): with
    // Restore, the document read and edited is the copy's content.
    Expected<bool> EditFile(
        const std::string& path, std::optional<TextEncoding> encoding,
        const std::function<bool(const std::vector<std::string>& warnings)>& edit,
        LeftoverChoice leftover = LeftoverChoice::Refuse);

    // The bytes a Save with `timeText` would write over `bytes`, without writing anything or
    // changing the document; the error is the write a save would refuse.
    Expected<std::string> SavedBytes(std::string_view bytes, const std::string& timeText) const;

    const std::string& Path() const { return m_path; }
    const std::string& Name() const { return m_name; }
    const Catalogues& Defs() const { return *m_catalogues; }
    // The encoding of the document's texts, decided when it was opened; a save keeps it.
    TextEncoding Encoding() const { return m_encoding; }

    // --- Content ---

    // Rows 0 .. CatalogueRows()-1 are the catalogue's fields, the rows after them the replacement
    // entries in list order (label: from-text, value: to-text, type FieldType::Replacement). `row` < RowCount().
    std::uint16_t RowCount() const { return m_table.Count(); }
    std::uint16_t CatalogueRows() const { return Defs().fields.Count(); }
    // The row as stored: values and from-texts in the document's encoding, the labels of
    // catalogue rows in Fields.txt's.
    const FieldDef& Row(std::uint16_t row) const { return m_table[row]; }
    // The row's value (an entry's to-text) as UTF-8.
    std::string Value(std::uint16_t row) const;
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

    // --- Changes made on disk by someone else (documentmerge.cpp) ---

    // The document's file as it is now, compared with the bytes it was opened from or last
    // written: `changed` when someone else wrote it since (or created it, for a document whose
    // file did not exist), `deleted` when it existed and is gone. A document without a path has
    // no file and never changes. Fails when the file exists but cannot be read.
    struct DiskState {
        bool changed = false;
        bool deleted = false;
        FileBytes bytes;  // the file's bytes now (empty when there is none)
    };
    Expected<DiskState> CheckDisk() const;

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
    Status SaveTo(const std::string& path, const std::string& name, const std::string& timeText,
                  const std::function<bool(std::string_view current)>& onlyIf);
    // The pieces of `current` with every edited key written (SaveEditedKeys), read in `text`.
    Expected<SplicedBytes> EditedKeysOver(std::string_view current,
                                          std::unique_ptr<ProfileText>& text) const;
    Expected<SplicedBytes> WriteEditedKeys(ProfileText& text) const;
    void EditedKeysSaved(const WrittenContent& written);
    // OpenBytes with the bytes already read by `text`; the disk fingerprint is left as it was.
    std::vector<std::string> OpenText(const std::string& path, const std::string& name,
                                      const ProfileText& text, std::string_view bytes,
                                      std::optional<TextEncoding> encoding);
    void Notify(const DocumentChange& change);
    void NotifyHistory();
    std::optional<std::size_t> ReplacementSection() const;

    // What the document's file held when it was read or last written, to tell someone else's
    // writes from ours.
    struct DiskFingerprint {
        bool exists = false;
        std::size_t size = 0;
        std::uint64_t hash = 0;  // ContentHash

        bool operator==(const DiskFingerprint&) const = default;
    };
    static DiskFingerprint FingerprintOf(std::string_view bytes, bool exists);

    // Keeps the document's file open as it is now, when it is the file `written` describes (a
    // save's: that inode and size) or, for `written` without an inode, a file of its size; else
    // keeps nothing.
    void KeepFile(const WrittenContent& written);
    // The bytes of the kept file: the document as last read or written, also once someone
    // removed its name. Empty bytes when no file is kept.
    Expected<FileBytes> KeptContent() const;

    std::shared_ptr<const Catalogues> m_catalogues;
    DiskFingerprint m_disk;
    // The file the document was last read from or written to, held open so that a save can write
    // the whole document again when someone removed the file (a removed file's content stays
    // while it is open). Read-only; nothing is read from it but then.
    UniqueFd m_file;
    FieldCatalog m_table;
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
