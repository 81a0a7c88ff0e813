#include "base/fileaccess.h"

#include "base/pathrules.h"
#include "base/progress.h"
#include "base/translation.h"

#include <algorithm>
#include <cstring>

namespace tav {

namespace {

constexpr std::size_t kReadStep = std::size_t{16} << 20;

// Reads the regular `file` from its start (with ReadAt, leaving its position) into storage
// that `grow(capacity)` makes room for, keeping the bytes read so far, and returns its address;
// tells `eachPiece` (if set) each piece read and gives the number of bytes read. The size from
// fstat is a hint, the file may still change: one byte more than it tells whether the file grew,
// and a file that did is read on in more room.
template <typename Grow>
Expected<std::size_t> ReadWhole(const ReadOnlyFile& file, Grow grow,
                                const ReadPieceSink& eachPiece = {}) {
    const Expected<std::size_t> expected = file.RegularSize();
    if (!expected) {
        return expected.Error();
    }
    std::size_t capacity = *expected + 1;
    char* data = grow(capacity);
    std::size_t size = 0;
    for (;;) {
        if (size == capacity) {
            capacity = capacity * 2 + 4096;
            data = grow(capacity);
        }
        // In steps, so that a window can tell how far a large read is.
        const std::size_t step = std::min(capacity - size, kReadStep);
        const Expected<std::size_t> got = file.ReadAt(data + size, step, size);
        if (!got) {
            return got.Error();
        }
        if (*got == 0) {
            return size;
        }
        if (eachPiece) {
            eachPiece(std::string_view(data + size, *got));
        }
        size += *got;
        ReportProgress(size, *expected);
    }
}

}  // namespace

FileBytes FileBytes::CopyOf(std::string_view bytes) {
    if (bytes.empty()) {
        return FileBytes();
    }
    std::unique_ptr<char[]> data(new char[bytes.size()]);
    std::memcpy(data.get(), bytes.data(), bytes.size());
    return FileBytes(std::move(data), bytes.size());
}

Expected<std::string> ReadFileBytes(const std::string& path) {
    const Expected<ReadOnlyFile> file = ReadOnlyFile::Open(path);
    if (!file) {
        return file.Error();
    }
    std::string bytes;
    Expected<std::size_t> size = ReadWhole(*file, [&bytes](std::size_t capacity) {
        bytes.resize(capacity);
        return bytes.data();
    });
    if (!size) {
        return size.Error();
    }
    bytes.resize(*size);
    return bytes;
}

Expected<FileBytes> ReadFileBuffer(const std::string& path) {
    const Expected<ReadOnlyFile> file = ReadOnlyFile::Open(path);
    if (!file) {
        return file.Error();
    }
    return ReadOpenFile(*file);
}

Expected<FileBytes> ReadOpenFile(const ReadOnlyFile& file, const ReadPieceSink& eachPiece) {
    std::unique_ptr<char[]> buffer;
    std::size_t previous = 0;  // the room before, all of it read when it grows
    Expected<std::size_t> size = ReadWhole(
        file,
        [&](std::size_t capacity) {
            std::unique_ptr<char[]> larger(new char[capacity]);  // not zeroed: the read fills it
            if (buffer) {
                std::memcpy(larger.get(), buffer.get(), previous);
            }
            buffer = std::move(larger);
            previous = capacity;
            return buffer.get();
        },
        eachPiece);
    if (!size) {
        return size.Error();
    }
    return FileBytes(std::move(buffer), *size);
}

std::string JoinPath(const std::string& folder, const std::string& name) {
    if (folder.empty()) {
        return name;
    }
    if (IsPathSeparator(folder.back())) {
        return folder + name;
    }
    // A folder written with '/' on Windows gets '/' again, so that a path stays in one style.
    const auto last = static_cast<std::size_t>(
        std::find_if(folder.rbegin(), folder.rend(), IsPathSeparator) - folder.rbegin());
    const char separator =
        last < folder.size() ? folder[folder.size() - 1 - last] : PreferredPathSeparator();
    return folder + separator + name;
}

}  // namespace tav
