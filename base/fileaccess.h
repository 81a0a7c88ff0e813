// Checked whole-file reading shared by the catalogues and the document reader.
#pragma once

#include <cstddef>
#include <functional>
#include <memory>
#include <string>
#include <string_view>

#include "base/expected.h"
#include "base/readonlyfile.h"

namespace tav {

// The bytes of a file as read: one buffer that is filled by the read and never zeroed or copied
// before, so that reading a large document costs no more than the read itself. Moves, not copies.
class FileBytes final {
public:
    FileBytes() = default;
    FileBytes(std::unique_ptr<char[]> data, std::size_t size)
        : m_data(std::move(data)), m_size(size) {}

    // A buffer of its own holding `bytes`.
    static FileBytes CopyOf(std::string_view bytes);

    std::string_view View() const { return {m_data.get(), m_size}; }
    std::size_t Size() const { return m_size; }

private:
    std::unique_ptr<char[]> m_data;
    std::size_t m_size = 0;
};

// Reads the whole regular file at `path` byte for byte and returns its bytes.
// Refuses folders, devices, pipes and anything else that is not a regular file, without blocking
// on them. On failure the error names `path` and the reason; Missing() on it tells whether the
// failure was simply that no such file exists.
Expected<std::string> ReadFileBytes(const std::string& path);

// ReadFileBytes into a FileBytes buffer, for documents that may be large.
Expected<FileBytes> ReadFileBuffer(const std::string& path);

// Told each piece of a file as it is read, in order: the pieces put together are the bytes read.
using ReadPieceSink = std::function<void(std::string_view piece)>;

// ReadFileBuffer on `file` (read from its start with ReadAt, whatever its position). `eachPiece`,
// if set, is told each piece right after it is read, while it is still in the processor's cache.
Expected<FileBytes> ReadOpenFile(const ReadOnlyFile& file, const ReadPieceSink& eachPiece = {});

// Joins a folder and a file name with exactly one separator between them (base/pathrules.h): the
// folder's own when it has one, else the platform's ('/' on POSIX); an empty folder gives the bare
// name.
std::string JoinPath(const std::string& folder, const std::string& name);

}  // namespace tav
