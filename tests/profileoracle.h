// How a reader sees section and key names and values, written here apart from the profile store,
// so that the tests and the fuzz target can check the store against something it does not share.
#pragma once

#include <cstddef>
#include <iterator>
#include <random>
#include <string>
#include <string_view>
#include <vector>

namespace tavtest {

// The blanks readers trim: the end-of-file byte 0x1A among them.
inline constexpr const char* kOracleBlanks = " \t\v\f\x1A";

// A name as readers compare it: blanks at either end dropped, ASCII capitals made small.
inline std::string OracleName(std::string_view name) {
    const std::size_t first = name.find_first_not_of(kOracleBlanks);
    std::string id(first == std::string_view::npos
                       ? std::string_view()
                       : name.substr(first, name.find_last_not_of(kOracleBlanks) - first + 1));
    for (char& c : id) {
        c = c >= 'A' && c <= 'Z' ? static_cast<char>(c - 'A' + 'a') : c;
    }
    return id;
}

// The value a reader sees in a key line's stored text: trimmed, then one pair of equal quotes
// around it removed, then what comes before a NUL byte (readers get a C string).
inline std::string ReaderValue(std::string_view stored) {
    const std::size_t first = stored.find_first_not_of(kOracleBlanks);
    if (first == std::string_view::npos) {
        return "";
    }
    std::string value(stored.substr(first, stored.find_last_not_of(kOracleBlanks) - first + 1));
    if (value.size() >= 2 && (value[0] == '"' || value[0] == '\'') && value.back() == value[0]) {
        value = value.substr(1, value.size() - 2);
    }
    return value.c_str();
}

// Lines that matter to the reading rules, for generated documents: headers and near-headers, key
// lines with blanks and quotes, lines readers skip, a byte-order mark inside a line, 0x1A around
// names and values, NUL bytes inside values.
inline const std::vector<std::string> kProfileFragments = {
    "[S]",
    "[s]",
    " [ S ] ; c",
    "[T]",
    "[t]x",
    "[a]b]",
    "[]",
    "[S",
    "x[T]",
    "[U]=1",
    "k=v",
    "K = 'q' ",
    " k=\"x\"",
    "=e",
    "k",
    "j=1=2",
    "; k=c",
    "  ",
    "",
    "[k=1",
    "\"a\"=\"b'",
    "\tK\v=\f\"\"",
    "\xEF\xBB\xBF"
    "k=b",
    "\x1A[S]\x1A",
    "[\x1AT\x1A]",
    "K\x1A=\x1Av\x1A",
    std::string("k=a\0b", 5),
    std::string("k=\" a\0b\"", 8),
};

// A document of fewer than `maxLines` lines, a byte-order mark at times: about one line in
// `rawEvery` made of random bytes that matter to the rules, the others taken from `fragments`;
// every line ending, the last line sometimes without one; now and then a line repeated a few times
// in a row, ending included (runs of one header are read in a shortcut).
inline std::string RandomProfileDocument(std::mt19937& random,
                                         const std::vector<std::string>& fragments,
                                         std::size_t maxLines, unsigned rawEvery) {
    const std::string endings[] = {"\n", "\r\n", "\r"};
    const std::string alphabet = std::string(" \t[]=\"'\r\nkKS;\x1A") + '\0';
    std::string bytes = random() % 4 == 0 ? "\xEF\xBB\xBF" : "";
    for (std::size_t line = random() % maxLines; line > 0; --line) {
        std::string text;
        if (random() % rawEvery == 0) {
            for (std::size_t i = random() % 8; i > 0; --i) {
                text += alphabet[random() % alphabet.size()];
            }
        } else {
            text = fragments[random() % fragments.size()];
        }
        text += line > 1 || random() % 2 == 0 ? endings[random() % 3] : "";
        const std::size_t times = line > 1 && random() % 6 == 0 ? 2 + random() % 3 : 1;
        for (std::size_t i = 0; i < times; ++i) {
            bytes += text;
        }
    }
    return bytes;
}

}  // namespace tavtest
