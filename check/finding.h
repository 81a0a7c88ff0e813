// One problem a check finds in a catalogue file or a document.
#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace tav::check {

struct Finding {
    std::string file;
    std::size_t line = 0;  // 1-based; 0 when the problem concerns the whole file
    std::string message;
};

using Findings = std::vector<Finding>;

}  // namespace tav::check
