#include "base/readonlyfile.h"

#include <utility>

#include "base/translation.h"

namespace tav {

ReadOnlyFile ReadOnlyFile::Borrow(NativeHandle handle, std::string path) {
    return ReadOnlyFile(handle, std::move(path), false);
}

ReadOnlyFile::ReadOnlyFile(ReadOnlyFile&& other) noexcept
    : m_handle(std::exchange(other.m_handle, -1)),
      m_path(std::move(other.m_path)),
      m_owned(std::exchange(other.m_owned, false)) {}

ReadOnlyFile& ReadOnlyFile::operator=(ReadOnlyFile&& other) noexcept {
    if (this != &other) {
        Close();
        m_handle = std::exchange(other.m_handle, -1);
        m_path = std::move(other.m_path);
        m_owned = std::exchange(other.m_owned, false);
    }
    return *this;
}

ReadOnlyFile::~ReadOnlyFile() {
    Close();
}

Expected<std::size_t> ReadOnlyFile::RegularSize() const {
    const Expected<FileIdentity> identity = Identify();
    if (!identity) {
        return identity.Error();
    }
    if (identity->kind == FileIdentity::Kind::Folder) {
        return FileError{m_path, Translate("FileError", "is a folder, not a file")};
    }
    if (identity->kind != FileIdentity::Kind::Regular) {
        return FileError{m_path, Translate("FileError", "is not a regular file")};
    }
    return static_cast<std::size_t>(identity->size);
}

}  // namespace tav
