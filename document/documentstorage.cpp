// How a save works, from the click to the flush (the window's part is in ui/filecommands.cpp):
// 1. FileCommands::SaveDocument asks Save for the whole document, only if the file is unchanged,
//    with the question about someone else's changes as the request's onChanged.
// 2. Save -> Write: RewriteDocument (storage/documentfile.cpp) resolves the path, locks the file
//    and reads it; the edit given to it compares the bytes with the fingerprint of what this
//    document last read or wrote and, when they match, applies ApplySave (documentio.cpp) to them
//    in memory: every catalogued key in display order, the replacement list by
//    WriteReplacementList, the TACInfo stamps with the clock's text.
// 3. When they do not match, the bytes read are kept, the lock is let go and onChanged decides
//    (Resolve): Merge takes the disk's changes into the model (ConfigDocument::MergeDisk) and
//    writes again over whatever the file then holds, Overwrite writes again, Reload and Cancel
//    write nothing. The file is read once for the decision.
// 4. RewriteDocument writes the result (storage/filereplacement.cpp): a temporary file beside
//    the document, flushed with fsync, renamed over it, the folder flushed; or in place.
// 5. Written: the fingerprint and the kept file become those of what was written, and the model
//    takes the written values as its reference (ConfigDocument::MarkWritten), which tells the
//    listeners: the stamps' rows, then Saved.
#include "document/documentstorage.h"

#include <memory>
#include <utility>

#include "base/splicedbytes.h"
#include "base/translation.h"
#include "document/documentio.h"
#include "profile/profiletext.h"

namespace tav {

namespace {

const char* const kChangedBySomeoneElse =
    TAV_TRANSLATE_NOOP("Document", "the file was changed by someone else");

// The writes of a save of only what was edited in `document`: each field SetValue was called
// for, and the whole replacement list when it differs from the one read. The bytes `text` was
// given when nothing changed: nothing is written then.
Expected<SplicedBytes> WriteEditedKeys(const ConfigDocument& document, ProfileText& text) {
    const Catalogues& defs = document.Defs();
    for (const std::uint16_t row : document.EditedFields()) {
        const DocumentRow& field = document.Row(row);
        const SectionDef* section = defs.sections.RowForId(field.sectionId);
        if (section == nullptr) {
            continue;  // names no section: neither read nor written
        }
        const std::string stored =
            field.type == FieldType::Boolean ? StoredBoolean(field.value) : field.value;
        if (const Status set = text.Set(section->iniName, field.key, stored); !set) {
            return FileError{document.Path(), set.Error().reason};
        }
    }
    const std::optional<std::size_t> r = defs.ReplacementSectionIndex();
    if (r && document.EntriesChanged()) {
        if (const Status set =
                WriteReplacementList(text, defs.sections[*r].iniName, document.Entries());
            !set) {
            return FileError{document.Path(), set.Error().reason};
        }
    }
    return text.Pieces();
}

}  // namespace

DocumentStorage::DocumentStorage(ConfigDocument& document, SaveClock clock)
    : m_document(document), m_clock(std::move(clock)) {}

DocumentStorage::Fingerprint DocumentStorage::FingerprintOf(std::string_view bytes, bool exists) {
    return Fingerprint{exists, bytes.size(), ContentHash::Of(bytes)};
}

Expected<std::vector<std::string>> DocumentStorage::Open(const std::string& path,
                                                         const std::string& name,
                                                         MissingFile missing,
                                                         std::optional<TextEncoding> encoding) {
    Expected<ReadOnlyFile> file =
        path.empty() ? Expected<ReadOnlyFile>(FileError{}) : ReadOnlyFile::Open(path);
    // The fingerprint and the encoding come from each piece as it is read, while it is still in
    // the cache: no further pass over the whole file, and the progress of a long open tells of
    // nearly all of its work.
    ContentHash hash;
    EncodingScanner scanner;
    const auto scan = [&](std::string_view piece) {
        hash.Add(piece);
        scanner.Scan(piece);
    };
    Expected<FileBytes> bytes = path.empty() ? Expected<FileBytes>(FileBytes())
                                : file       ? ReadOpenFile(*file, scan)
                                             : Expected<FileBytes>(file.Error());
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
    m_disk = Fingerprint{exists, view.size(), hash.Value()};
    m_file.reset();
    m_keptBytes = FileBytes();
    if (exists && kHeldFileSurvivesRemoval) {
        m_file = std::move(*file);
    } else if (exists) {
        m_keptBytes = std::move(*bytes);  // `view` still points into its buffer
    }
    return m_document.OpenText(path, name, ProfileText(view, ProfileText::InPlace{}), view,
                               encoding.value_or(scanner.Result()));
}

void DocumentStorage::New() {
    m_disk = Fingerprint();
    m_file.reset();
    m_keptBytes = FileBytes();
    m_document.New();
}

Expected<SaveOutcome> DocumentStorage::Save(const SaveRequest& request) {
    if (request.edit) {
        return EditAndWrite(request);
    }
    if (!request.path && m_document.Path().empty()) {
        return FileError{Translate("Document", "(no file)"),
                         Translate("Document", "the document has no file name yet")};
    }
    std::optional<std::string> changedBytes;
    const Status written = Write(request, changedBytes);
    if (changedBytes) {
        return Resolve(request, *changedBytes);
    }
    if (!written) {
        return written.Error();
    }
    return SaveOutcome::Saved;
}

Status DocumentStorage::Write(const SaveRequest& request,
                              std::optional<std::string>& changedBytes) {
    const std::string path = request.path.value_or(m_document.Path());
    const std::string name = request.path ? request.name : m_document.Name();
    // Another file gets the whole document: this document's file as it is now, not the bytes of
    // the file it replaces.
    const bool otherFile = path != m_document.Path();
    FileBytes source;
    if (otherFile && !m_document.Path().empty()) {
        Expected<FileBytes> bytes = ReadFileBuffer(m_document.Path());
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
    // This document's own file, removed since it was read or written, is written again whole:
    // that is no one else's change to ask about.
    bool missing = false;
    FileBytes kept;
    RewriteOptions options;
    if (!otherFile) {
        options.contentIfMissing = [&]() -> Expected<std::string_view> {
            missing = true;
            if (!m_disk.exists) {
                return std::string_view();
            }
            Expected<FileBytes> bytes = KeptContent();
            if (!bytes) {
                return bytes.Error();
            }
            kept = std::move(*bytes);
            return kept.View();
        };
    }
    const bool whole = request.scope == SaveRequest::Scope::WholeDocument;
    const bool onlyIfUnchanged =
        !otherFile && request.condition == SaveRequest::Condition::IfUnchanged;
    const std::string timeText = whole ? m_clock() : std::string();
    std::unique_ptr<ProfileText> text;  // what the written pieces point into
    DocumentTable work;
    WrittenContent written;
    const Status saved = RewriteDocument(
        path,
        [&](std::string_view current) -> Expected<SplicedBytes> {
            const bool wasMissing = std::exchange(missing, false);
            changedBytes.reset();
            // Whether the file is as last read or written is worked out while the save is
            // applied to it; the result is thrown away when it is not.
            std::optional<HashBeside> readHash;
            if (onlyIfUnchanged && !wasMissing) {
                readHash.emplace(current);
            }
            const auto apply = [&]() -> Expected<SplicedBytes> {
                text = std::make_unique<ProfileText>(otherFile ? source.View() : current,
                                                     ProfileText::InPlace{});
                if (!whole) {
                    return WriteEditedKeys(m_document, *text);
                }
                work = m_document.Table();
                if (const Status applied = ApplySave(m_document.Defs().sections, work,
                                                     m_document.Order(), timeText, *text);
                    !applied) {
                    return FileError{path, applied.Error().reason};
                }
                return text->Pieces();
            };
            Expected<SplicedBytes> next = apply();
            if (readHash && Fingerprint{true, current.size(), readHash->Value()} != m_disk) {
                changedBytes = std::string(current);
                return FileError{path, Translate("Document", kChangedBySomeoneElse)};
            }
            return next;
        },
        &written, options);
    if (!saved) {
        return saved;
    }
    Written(path, written);
    m_document.MarkWritten(whole ? std::move(work) : m_document.Table(), path, name);
    return {};
}

Expected<SaveOutcome> DocumentStorage::Resolve(const SaveRequest& request,
                                               const std::string& bytes) {
    if (!request.onChanged) {
        return SaveOutcome::FileChanged;
    }
    const DiskResolution resolution =
        request.onChanged(DiskChange{bytes, m_document.CompareWithDisk(bytes)});
    switch (resolution.answer) {
        case DiskResolution::Answer::Merge:
            m_disk = FingerprintOf(bytes, true);
            KeepFile(m_document.Path(), WrittenContent{bytes.size(), m_disk.hash, 0, 0}, bytes);
            for (const std::string& warning : m_document.MergeDisk(bytes, resolution.takeTheirs)) {
                if (request.warn) {
                    request.warn(warning);
                }
            }
            break;
        case DiskResolution::Answer::Overwrite:
            break;
        case DiskResolution::Answer::Reload:
            return SaveOutcome::Reload;
        case DiskResolution::Answer::Cancel:
            return SaveOutcome::Cancelled;
    }
    SaveRequest again = request;
    again.condition = SaveRequest::Condition::Always;
    std::optional<std::string> unused;
    if (const Status written = Write(again, unused); !written) {
        return written.Error();
    }
    return SaveOutcome::Saved;
}

namespace {

// The request's edit made on `current`, the bytes of the file at `path`, and the writes it gives,
// as the request's preview is told them. `text` and `read` get the reading, which the pieces of
// the result point into.
Expected<SplicedBytes> EditedBytes(const SaveRequest& request, const std::string& path,
                                   std::string_view current,
                                   const std::shared_ptr<const Catalogues>& defs,
                                   std::unique_ptr<ProfileText>& text,
                                   std::unique_ptr<ConfigDocument>& read, bool& refused) {
    // One reading of the bytes serves the values and the writes; the model itself is left alone
    // until the write has succeeded.
    text = std::make_unique<ProfileText>(current, ProfileText::InPlace{});
    read = std::make_unique<ConfigDocument>(defs);
    const std::vector<std::string> warnings =
        read->OpenText(path, path, *text, current, request.encoding);
    refused = !request.edit(*read, warnings);
    if (refused) {
        return FileError{path, Translate("Document", "the edits were refused")};
    }
    Expected<SplicedBytes> after = WriteEditedKeys(*read, *text);
    if (after && request.preview) {
        request.preview(current, *after);
    }
    return after;
}

}  // namespace

Expected<SaveOutcome> DocumentStorage::EditAndPreview(const SaveRequest& request) {
    const std::string path = request.path.value_or(m_document.Path());
    FileBytes current;
    if (!request.given) {
        Expected<FileBytes> bytes = ReadFileBuffer(path);
        if (!bytes && !(request.create && bytes.Error().Missing())) {
            return bytes.Error();
        }
        current = bytes ? std::move(*bytes) : FileBytes();
    }
    std::unique_ptr<ProfileText> text;
    std::unique_ptr<ConfigDocument> read;
    bool refused = false;
    const Expected<SplicedBytes> after =
        EditedBytes(request, path, request.given.value_or(current.View()), m_document.SharedDefs(),
                    text, read, refused);
    if (refused) {
        return SaveOutcome::Refused;
    }
    if (!after) {
        return after.Error();
    }
    return SaveOutcome::Previewed;
}

Expected<SaveOutcome> DocumentStorage::EditAndWrite(const SaveRequest& request) {
    if (request.dryRun) {
        return EditAndPreview(request);
    }
    const std::string path = request.path.value_or(m_document.Path());
    std::unique_ptr<ProfileText> text;  // what the written pieces point into
    std::unique_ptr<ConfigDocument> read;
    WrittenContent written;
    bool refused = false;
    RewriteOptions options{request.leftover, request.create, {}};
    if (request.createMode) {
        options.newFileMode = static_cast<unsigned>(*request.createMode);
    }
    const Status saved = RewriteDocument(
        path,
        [&](std::string_view current) -> Expected<SplicedBytes> {
            return EditedBytes(request, path, current, m_document.SharedDefs(), text, read,
                               refused);
        },
        // A command line names files that exist: a missing one is created only when asked.
        &written, options);
    if (refused) {
        return SaveOutcome::Refused;
    }
    if (!saved) {
        return saved.Error();
    }
    Written(path, written);
    m_document.AdoptWritten(*read);
    return SaveOutcome::Saved;
}

void DocumentStorage::Written(const std::string& path, const WrittenContent& written) {
    m_disk = Fingerprint{true, written.size, written.hash};
    KeepFile(path, written);
}

Expected<DiskState> DocumentStorage::CheckDisk() const {
    DiskState state;
    if (m_document.Path().empty()) {
        return state;
    }
    Expected<FileBytes> bytes = ReadFileBuffer(m_document.Path());
    if (!bytes) {
        if (!bytes.Error().Missing()) {
            return bytes.Error();
        }
        state.deleted = m_disk.exists;
        state.changed = m_disk.exists;
        return state;
    }
    state.changed = FingerprintOf(bytes->View(), true) != m_disk;
    state.bytes = std::move(*bytes);
    return state;
}

Expected<std::string> DocumentStorage::SavedBytes(std::string_view bytes) const {
    ProfileText text(bytes, ProfileText::InPlace{});
    DocumentTable work = m_document.Table();
    if (const Status applied =
            ApplySave(m_document.Defs().sections, work, m_document.Order(), m_clock(), text);
        !applied) {
        return FileError{m_document.Path(), applied.Error().reason};
    }
    return text.Bytes();
}

void DocumentStorage::KeepFile(const std::string& path, const WrittenContent& written,
                               std::optional<std::string_view> content) {
    m_file.reset();
    m_keptBytes = FileBytes();
    if (!kHeldFileSurvivesRemoval && content) {
        m_keptBytes = FileBytes::CopyOf(*content);
        return;
    }
    if (!kHeldFileSurvivesRemoval) {
        // The bytes of the file as it is now, when they are what was written.
        Expected<FileBytes> bytes = ReadFileBuffer(path);
        if (bytes && bytes->Size() == written.size &&
            ContentHash::Of(bytes->View()) == written.hash) {
            m_keptBytes = std::move(*bytes);
        }
        return;
    }
    Expected<ReadOnlyFile> file = ReadOnlyFile::Open(path);
    const Expected<FileIdentity> identity =
        file ? file->Identify() : Expected<FileIdentity>(file.Error());
    const bool same = identity && identity->kind == FileIdentity::Kind::Regular &&
                      identity->size == written.size &&
                      (written.index == 0 ||
                       (identity->index == written.index && identity->volume == written.volume));
    if (same) {
        m_file = std::move(*file);
    }
}

Expected<FileBytes> DocumentStorage::KeptContent() const {
    if (m_file) {
        return ReadOpenFile(*m_file);
    }
    return FileBytes::CopyOf(m_keptBytes.View());
}

}  // namespace tav
