#include "storage/leftovers.h"

#include <windows.h>

#include <cerrno>

#include "base/translation.h"
#include "base/win32/widepath.h"
#include "storage/tempnames.h"
#include "storage/win32/leftovercopy.h"

namespace tav {

namespace {

// The identity of the regular file (not a folder, not a reparse point) at `full`, if one is there.
std::optional<FileIdentity> RegularFileAt(const std::wstring& full) {
    const Expected<std::optional<WinFileInfo>> info = InfoByName(full, {});
    if (!info || !*info || ((*info)->attributes & FILE_ATTRIBUTE_REPARSE_POINT) != 0 ||
        (*info)->identity.kind != FileIdentity::Kind::Regular) {
        return std::nullopt;
    }
    return (*info)->identity;
}

std::optional<FoundCopy> CopyAt(const std::wstring& full) {
    if (const std::optional<FileIdentity> identity = RegularFileAt(full)) {
        return FoundCopy{full, *identity};
    }
    return std::nullopt;
}

}  // namespace

std::string FoundCopy::Shown() const {
    return ShownPath(full);
}

std::optional<FoundCopy> FindCopyOf(const WidePath& where, const FileIdentity* document) {
    if (std::optional<FoundCopy> beside = CopyAt(where.Beside(CopyNameBeside(where.name)))) {
        return beside;
    }
    if (document == nullptr) {
        return std::nullopt;
    }
    const Expected<std::wstring> cache = CacheFolder({}, false);
    if (!cache) {
        return std::nullopt;  // no cache folder: no copy of ours can be there
    }
    return CopyAt(*cache + L"\\" + Widen(CopyNameInCache(*document, where.name)));
}

Expected<FileBytes> ReadCopyOf(const FoundCopy& copy, const std::string& errorPath) {
    Expected<FileBytes> bytes = ReadFileBuffer(copy.Shown());
    if (!bytes) {
        return FileError{errorPath,
                         FillIn(Translate("Storage", "cannot read the copy %1: %2"),
                                {copy.Shown(), bytes.Error().reason}),
                         bytes.Error().code};
    }
    return bytes;
}

Status RemoveCopyOf(const FoundCopy& copy, const std::string& errorPath) {
    const std::optional<FileIdentity> now = RegularFileAt(copy.full);
    if (!now || !now->SameFile(copy.identity)) {
        return {};  // gone already, or another save's copy now
    }
    if (!::DeleteFileW(copy.full.c_str()) && ::GetLastError() != ERROR_FILE_NOT_FOUND) {
        const FileError reason = WindowsError({}, ::GetLastError());
        return FileError{errorPath,
                         FillIn(Translate("Storage", "cannot remove the copy %1: %2"),
                                {copy.Shown(), reason.reason}),
                         reason.code};
    }
    return {};
}

std::vector<std::string> FindTempsBeside(const WidePath& where) {
    std::vector<std::string> temps;
    WIN32_FIND_DATAW entry{};
    const std::wstring pattern = where.Beside(TempNamePrefix(where.name) + "*");
    const HANDLE listing = ::FindFirstFileW(pattern.c_str(), &entry);
    if (listing == INVALID_HANDLE_VALUE) {
        return temps;
    }
    do {
        const std::string name = Narrow(entry.cFileName);
        if ((entry.dwFileAttributes & (FILE_ATTRIBUTE_DIRECTORY | FILE_ATTRIBUTE_REPARSE_POINT)) ==
                0 &&
            IsTempNameOf(name, where.name)) {
            temps.push_back(name);
        }
    } while (::FindNextFileW(listing, &entry));
    ::FindClose(listing);
    return temps;
}

Expected<Leftovers> FindLeftovers(const std::string& path) {
    const Expected<WidePath> where = SplitPath(path);
    if (!where) {
        return where.Error();
    }
    Leftovers found;
    for (const std::string& temp : FindTempsBeside(*where)) {
        found.temps.push_back(ShownPath(where->Beside(temp)));
    }
    const std::optional<FileIdentity> document = RegularFileAt(where->full);
    const std::optional<FoundCopy> copy = FindCopyOf(*where, document ? &*document : nullptr);
    if (!copy) {
        return found;
    }
    found.copy = copy->Shown();
    if (document) {
        const Expected<FileBytes> copied = ReadCopyOf(*copy, path);
        if (!copied) {
            return copied.Error();
        }
        const Expected<FileBytes> current = ReadFileBuffer(path);
        if (!current) {
            return current.Error();
        }
        found.fileHoldsCopy = copied->View() == current->View();
    }
    return found;
}

}  // namespace tav
