// How documents compare section and key names: without regard to the case of ASCII letters.
// Every place that compares or indexes names uses these, so the rule lives once.
#pragma once

#include <cstddef>
#include <string>
#include <string_view>

namespace tav {

// `c` with ASCII capitals made small; every other byte as it is.
inline char FoldNameChar(char c) {
    return c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
}

// True when `a` and `b` are the same name: equal apart from the case of ASCII letters.
bool SameName(std::string_view a, std::string_view b);

// `name` folded: names that are the same give the same text.
std::string FoldName(std::string_view name);

// A hash of `name` that is equal for the same names (over the folded bytes, eight at a time).
std::size_t NameHash(std::string_view name);

// Hash and equality for containers keyed by names, e.g. std::unordered_map<std::string_view, T,
// NameHasher, NameEquals>.
struct NameHasher {
    std::size_t operator()(std::string_view name) const { return NameHash(name); }
};
struct NameEquals {
    bool operator()(std::string_view a, std::string_view b) const { return SameName(a, b); }
};

}  // namespace tav
