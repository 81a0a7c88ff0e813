// The structural checks a compiled HTML help file (.chm) must pass before chmlib's chm_open is
// trusted with it: chmlib itself reads wherever the file's offsets point.
#pragma once

#include <optional>
#include <string>
#include <string_view>

namespace tav {

// Checks everything chmlib relies on when it opens the help file `bytes` and looks objects up
// in it: the headers, every directory page reachable from the listing chain and the index, that
// every object lies inside its section, and the compression tables whenever they are listed
// (chmlib reads them then, even when no object is compressed). Returns the reason the file is
// refused, a phrase such as "its directory pages form a loop", or nullopt when it may be opened.
std::optional<std::string> CheckChmContainer(std::string_view bytes);

}  // namespace tav
