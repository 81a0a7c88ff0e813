#include "storage/documentfile.h"

#include <cerrno>
#include <cstring>
#include <optional>

#include "base/fileaccess.h"
#include "base/translation.h"
#include "storage/documentslot.h"

namespace tav {

namespace {

// The copy an unfinished in-place write left, dealt with as `choice` says before the edit: true
// when the copy is still to be removed after the write (with its bytes in `copyBytes` for
// Restore), or the refusal.
Expected<bool> TakeLeftover(const std::string& path, DocumentSlot& slot, std::string_view current,
                            LeftoverChoice choice, FileBytes& copyBytes) {
    if (!slot.FindCopy()) {
        return false;
    }
    Expected<FileBytes> bytes = slot.ReadCopy();
    if (!bytes) {
        return NothingWritten(bytes.Error());
    }
    if (bytes->View() == current || choice == LeftoverChoice::Discard) {
        // The earlier write finished (only its copy's removal was missed), or the user keeps the
        // file as it is.
        if (const Status removed = slot.RemoveCopy(); !removed) {
            return NothingWritten(removed.Error());
        }
        return false;
    }
    if (choice == LeftoverChoice::Refuse) {
        return FileError{path,
                         FillIn(Translate("Storage",
                                          "an earlier save of this file did not finish: the file "
                                          "may be incomplete, and the complete content of that "
                                          "save is in %1 (restore it with tacconf set --recover, "
                                          "or open the file in the editor, which offers to)"),
                                {slot.CopyPath()}),
                         EAGAIN, WriteState::Untouched};
    }
    copyBytes = std::move(*bytes);
    return true;
}

// After a write: the copy it restored goes.
Status CleanUp(DocumentSlot& slot, bool copy) {
    if (copy) {
        if (const Status removed = slot.RemoveCopy(); !removed) {
            FileError error = removed.Error();
            error.state = WriteState::Saved;
            return error;
        }
    }
    return {};
}

// One read-edit-write cycle; nothing when the file changed meanwhile and the cycle must be redone.
Expected<std::optional<ReplaceOutcome>> RewriteOnce(const std::string& path,
                                                    const DocumentEdit& edit,
                                                    WrittenContent* written,
                                                    const RewriteOptions& options) {
    const std::unique_ptr<DocumentSlot> slot = MakeDocumentSlot(path);
    const Expected<DocumentSlot::Found> found = slot->OpenLocked();
    if (!found) {
        return found.Error();
    }
    if (*found == DocumentSlot::Found::Again) {
        return std::optional<ReplaceOutcome>();
    }
    const bool exists = *found == DocumentSlot::Found::Exists;
    if (!exists && !slot->DanglingLink().empty()) {
        return FileError{path,
                         FillIn(Translate("Storage",
                                          "is a symbolic link (%1) to a file that does not exist; "
                                          "no file is created through it"),
                                {slot->DanglingLink()}),
                         ENOENT, WriteState::Untouched};
    }
    if (!exists && !options.createMissing) {
        return FileError{path, std::strerror(ENOENT), ENOENT, WriteState::Untouched};
    }
    FileBytes current;
    FileBytes copyBytes;
    bool copy = false;
    if (exists) {
        Expected<FileBytes> bytes = slot->Read();
        if (!bytes) {
            return NothingWritten(bytes.Error());
        }
        current = std::move(*bytes);
        if (slot->Locked()) {
            slot->RemoveKilledTemps();
        }
        const Expected<bool> leftover =
            TakeLeftover(path, *slot, current.View(), options.leftover, copyBytes);
        if (!leftover) {
            return leftover.Error();
        }
        copy = *leftover;
    }
    std::string_view given = copy ? copyBytes.View() : current.View();
    if (!exists && options.contentIfMissing) {
        const Expected<std::string_view> content = options.contentIfMissing();
        if (!content) {
            return NothingWritten(content.Error());
        }
        given = *content;
    }
    Expected<SplicedBytes> next = edit(given);
    if (!next) {
        FileError error = NothingWritten(next.Error());
        error.file = error.file.empty() ? path : error.file;
        return error;
    }
    // Worked out while the bytes are written: the write mostly waits for the disk.
    std::optional<HashBeside> hash;
    if (written != nullptr) {
        hash.emplace(*next);
    }
    if (exists && next->Equals(current.View())) {
        if (const Status cleaned = CleanUp(*slot, copy); !cleaned) {
            return cleaned.Error();
        }
        if (written != nullptr) {
            *written = WrittenContent{next->Size(), hash->Value(), 0, 0};
        }
        return std::optional<ReplaceOutcome>(ReplaceOutcome::Replaced);
    }
    const Expected<ReplaceOutcome> outcome =
        exists ? slot->Replace(*next) : slot->Create(*next, options.newFileMode);
    if (!outcome) {
        return NothingWritten(outcome.Error());
    }
    if (*outcome != ReplaceOutcome::Replaced) {
        return std::optional<ReplaceOutcome>();
    }
    if (written != nullptr) {
        *written = WrittenContent{next->Size(), hash->Value(), 0, 0};
        std::tie(written->volume, written->index) = slot->WrittenFile();
    }
    if (const Status cleaned = CleanUp(*slot, copy); !cleaned) {
        return cleaned.Error();
    }
    return std::optional<ReplaceOutcome>(ReplaceOutcome::Replaced);
}

Status RewriteUnchanged(const std::string& path, LeftoverChoice choice) {
    return RewriteDocument(
        path,
        [](std::string_view current) -> Expected<SplicedBytes> { return SplicedBytes(current); },
        nullptr, RewriteOptions{choice, false});
}

}  // namespace

FileError KeepsBeingReplaced(const std::string& path) {
    return FileError{path, Translate("Storage", "the file keeps being replaced by other programs"),
                     EAGAIN, WriteState::Untouched};
}

Expected<ReplaceOutcome> WithCacheCopy(const FileError& beside, Expected<ReplaceOutcome> cached) {
    if (!cached && cached.Error().state == WriteState::Untouched && cached.Error().copy.empty()) {
        FileError error = cached.Error();
        error.reason =
            FillIn(Translate("Storage", "%1, nor a copy for writing the file in place: %2"),
                   {beside.reason, error.reason});
        return error;
    }
    return cached;
}

Status RewriteDocument(const std::string& path, const DocumentEdit& edit, WrittenContent* written,
                       const RewriteOptions& options) {
    if (path.empty()) {
        return FileError{Translate("Storage", "(no file)"),
                         Translate("Storage", "the document has no file name yet"), 0,
                         WriteState::Untouched};
    }
    for (int attempt = 0; attempt < kRewriteAttempts; ++attempt) {
        const Expected<std::optional<ReplaceOutcome>> done =
            RewriteOnce(path, edit, written, options);
        if (!done) {
            return done.Error();
        }
        if (*done) {
            return {};
        }
    }
    return FileError{path,
                     FillIn(Translate("Storage",
                                      "the file kept changing while it was being saved "
                                      "(read %1 times)"),
                            {std::to_string(kRewriteAttempts)}),
                     EAGAIN, WriteState::Untouched};
}

Status RestoreLeftoverCopy(const std::string& path) {
    return RewriteUnchanged(path, LeftoverChoice::Restore);
}

Status DiscardLeftoverCopy(const std::string& path) {
    return RewriteUnchanged(path, LeftoverChoice::Discard);
}

}  // namespace tav
