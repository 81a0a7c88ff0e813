// A document's file open for reading piece by piece (see ProfileLookup), with the checks of
// ReadFileBytes: what is not a regular file is refused, and every failure names the file and the
// reason.
#pragma once

#include <cstddef>
#include <cstdint>
#include <string>

#include "base/expected.h"
#include "base/readonlyfile.h"

namespace tav {

class FileSource final {
public:
    // Opens the regular file at `path` for reading from its start. Fails as ReadFileBytes does:
    // with the reason the file cannot be opened (Missing() when it does not exist), or refusing a
    // folder, device or pipe without blocking on it.
    static Expected<FileSource> Open(const std::string& path);

    // Reads the next bytes, up to `room`, into `into` and gives how many: 0 only at the end of
    // the file. A failure names the file and the reason. Fits ByteSource (profilelookup.h).
    Expected<std::size_t> Read(char* into, std::size_t room);

private:
    explicit FileSource(ReadOnlyFile file) : m_file(std::move(file)) {}

    ReadOnlyFile m_file;
    std::uint64_t m_offset = 0;
};

}  // namespace tav
