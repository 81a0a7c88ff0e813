// What the fuzz targets share: a failed invariant ends the run (libFuzzer reports it), and inputs
// of several parts are split at NUL bytes.
#pragma once

#include <cstdlib>
#include <string_view>

namespace tavfuzz {

inline void Check(bool condition) {
    if (!condition) {
        std::abort();
    }
}

// The text of `rest` up to the first NUL byte; `rest` keeps what follows it (nothing when there is
// no NUL).
inline std::string_view TakePart(std::string_view& rest) {
    const std::size_t nul = rest.find('\0');
    const std::string_view part = rest.substr(0, nul);
    rest = nul == std::string_view::npos ? std::string_view{} : rest.substr(nul + 1);
    return part;
}

}  // namespace tavfuzz
