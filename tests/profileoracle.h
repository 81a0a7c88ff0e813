// How a reader sees section and key names and values, written here apart from the profile store,
// so that the tests and the fuzz target can check the store against something it does not share.
#pragma once

#include <string>
#include <string_view>

namespace tavtest {

// A name as readers compare it: blanks at either end dropped, ASCII capitals made small.
inline std::string OracleName(std::string_view name) {
    const std::size_t first = name.find_first_not_of(" \t\v\f");
    std::string id(first == std::string_view::npos
                       ? std::string_view()
                       : name.substr(first, name.find_last_not_of(" \t\v\f") - first + 1));
    for (char& c : id) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return id;
}

// The value a reader sees in a key line's stored text: trimmed, then one pair of equal quotes
// around it removed.
inline std::string ReaderValue(std::string_view stored) {
    const std::size_t first = stored.find_first_not_of(" \t\v\f");
    if (first == std::string_view::npos) {
        return "";
    }
    std::string value(stored.substr(first, stored.find_last_not_of(" \t\v\f") - first + 1));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
        value = value.substr(1, value.size() - 2);
    }
    return value;
}

}  // namespace tavtest
