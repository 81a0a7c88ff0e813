#include "storage/filesource.h"

#include <utility>

namespace tav {

Expected<FileSource> FileSource::Open(const std::string& path) {
    Expected<ReadOnlyFile> file = ReadOnlyFile::Open(path);
    if (!file) {
        return file.Error();
    }
    // Refused in the same words as by the readers that read the whole file.
    if (const Expected<std::size_t> size = file->RegularSize(); !size) {
        return size.Error();
    }
    return FileSource(std::move(*file));
}

Expected<std::size_t> FileSource::Read(char* into, std::size_t room) {
    const Expected<std::size_t> got = m_file.ReadAt(into, room, m_offset);
    if (got) {
        m_offset += *got;
    }
    return got;
}

}  // namespace tav
