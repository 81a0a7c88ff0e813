// A line-based unified diff of two texts, byte-exact so that `patch` can apply it.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tav::cli {

// The unified diff that turns `before` into `after`, or the empty text when they are equal.
// Lines end at LF and keep their endings (so a CR of a CR LF ending stays part of the line and a
// line that only changed its ending shows as changed); a last line without LF is marked
// "\ No newline at end of file". Hunks carry `context` lines of context and follow the headers
// "--- beforeLabel" and "+++ afterLabel". The diff is a shortest one, unless the two texts differ
// in more than a few thousand lines, where it removes and adds the whole differing middle.
std::string UnifiedDiff(std::string_view before, std::string_view after,
                        const std::string& beforeLabel, const std::string& afterLabel,
                        std::size_t context = 3);

}  // namespace tav::cli
