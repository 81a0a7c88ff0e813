#include "base/names.h"

#include <algorithm>

namespace tav {

bool SameName(std::string_view a, std::string_view b) {
    return a.size() == b.size() && std::equal(a.begin(), a.end(), b.begin(), [](char x, char y) {
               return FoldNameChar(x) == FoldNameChar(y);
           });
}

std::string FoldName(std::string_view name) {
    std::string folded(name);
    for (char& c : folded) {
        c = FoldNameChar(c);
    }
    return folded;
}

std::size_t NameHash(std::string_view name) {
    std::size_t hash = 14695981039346656037ull;
    for (const char c : name) {
        hash = (hash ^ static_cast<unsigned char>(FoldNameChar(c))) * 1099511628211ull;
    }
    return hash;
}

}  // namespace tav
