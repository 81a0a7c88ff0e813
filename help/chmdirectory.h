// The directory of a compiled HTML help file (.chm), read and checked before chmlib is trusted
// with the file: its headers and every directory page that enumeration or a look-up can reach.
#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace tav {

// What a help file's directory says: where its uncompressed section begins and every object.
struct ChmDirectory {
    // One object: its name, its section (0 uncompressed, 1 compressed) and where it lies there.
    struct Entry {
        std::string name;
        std::uint64_t space = 0;
        std::uint64_t start = 0;
        std::uint64_t length = 0;
    };

    std::uint64_t dataOffset = 0;  // file offset of the uncompressed section
    std::vector<Entry> entries;
};

// Reads the directory of the help file `bytes`. The ITSF and ITSP headers must agree with the
// file's size; the chain of listing pages from its head and the index tree from its root must
// stay inside the directory without loops; every page reached must parse wholly inside itself.
// Returns the reason the file is refused (a phrase such as "its directory pages form a loop"),
// or nullopt with `directory` filled in; on refusal `directory` is left as it was.
std::optional<std::string> ReadChmDirectory(std::string_view bytes, ChmDirectory& directory);

}  // namespace tav
