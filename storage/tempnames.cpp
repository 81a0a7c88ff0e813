#include "storage/tempnames.h"

#include <algorithm>
#include <random>

namespace tav {

namespace {

constexpr std::size_t kNameStart = 32;
constexpr std::size_t kRandomChars = 6;
constexpr std::string_view kNameChars =
    "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";

// The first bytes of `name`, cut so that no UTF-8 sequence is split.
std::string NameStart(const std::string& name) {
    if (name.size() <= kNameStart) {
        return name;
    }
    std::size_t cut = kNameStart;
    while (cut > 0 && (static_cast<unsigned char>(name[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    return name.substr(0, cut);
}

std::string HexOf(std::uint32_t value) {
    static constexpr char kDigits[] = "0123456789abcdef";
    std::string text(8, '0');
    for (int n = 7; n >= 0; --n, value >>= 4) {
        text[static_cast<std::size_t>(n)] = kDigits[value & 0xF];
    }
    return text;
}

// FNV-1a: the same digits for the same name on every machine.
std::uint32_t NameHash(std::string_view name) {
    std::uint32_t hash = 2166136261u;
    for (const char c : name) {
        hash = (hash ^ static_cast<unsigned char>(c)) * 16777619u;
    }
    return hash;
}

std::string RandomChars() {
    thread_local std::mt19937 engine{std::random_device{}()};
    std::uniform_int_distribution<std::size_t> pick(0, kNameChars.size() - 1);
    std::string chars(kRandomChars, ' ');
    for (char& c : chars) {
        c = kNameChars[pick(engine)];
    }
    return chars;
}

}  // namespace

std::string TempNamePrefix(const std::string& documentName) {
    return "." + NameStart(documentName) + "." + HexOf(NameHash(documentName));
}

bool IsTempNameOf(std::string_view entry, const std::string& documentName) {
    const std::string prefix = TempNamePrefix(documentName);
    if (entry.size() != prefix.size() + kRandomChars || entry.substr(0, prefix.size()) != prefix) {
        return false;
    }
    const std::string_view tail = entry.substr(prefix.size());
    return std::all_of(tail.begin(), tail.end(),
                       [](char c) { return kNameChars.find(c) != std::string_view::npos; });
}

std::string CopyNameBeside(const std::string& documentName) {
    return TempNamePrefix(documentName) + ".new";
}

std::string CopyNameInCache(const FileIdentity& document, const std::string& documentName) {
    return std::to_string(document.volume) + "-" + std::to_string(document.index) +
           CopyNameBeside(documentName);
}

std::string NewTempName(const std::string& documentName) {
    return TempNamePrefix(documentName) + RandomChars();
}

}  // namespace tav
