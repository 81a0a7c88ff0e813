#include "cli/arguments.h"

#include <algorithm>
#include <cctype>
#include <exception>
#include <string>

namespace tav::cli {

namespace {

constexpr std::string_view kCatalogues = "--catalogues";
constexpr std::string_view kEncoding = "--encoding";
constexpr std::string_view kFiles = "--files";
constexpr std::string_view kWait = "--wait";
constexpr std::string_view kMode = "--mode";
// No lock is worth waiting for longer than a day; a longer wait is surely a typing error.
constexpr double kLongestWait = 86400;
constexpr std::string_view kEndOfOptions = "--";

// "--NAME", and "-" followed by anything but a digit or a dot: "-n" is an option (an unknown one
// is refused by name instead of being taken for a file), "-5" and "-.5" are values, "-" alone is
// an operand (standard input).
bool IsOption(const std::string& word) {
    if (word.size() < 2 || word[0] != '-') {
        return false;
    }
    const auto next = static_cast<unsigned char>(word[1]);
    return word[1] == '-' || (std::isdigit(next) == 0 && word[1] != '.');
}

// True when `words[i]` is the option `name`, which takes a value: "NAME VALUE" (the next word is
// consumed) or "NAME=VALUE". `value` gets the value, or nothing when NAME is the last word.
bool TakeValue(const std::vector<std::string>& words, std::size_t& i, std::string_view name,
               std::optional<std::string>& value) {
    const std::string& word = words[i];
    if (word == name) {
        value = i + 1 < words.size() ? std::optional<std::string>(words[++i]) : std::nullopt;
        return true;
    }
    if (word.rfind(std::string(name) + "=", 0) == 0) {
        value = word.substr(name.size() + 1);
        return true;
    }
    return false;
}

// Takes the words after "--files" at `words[i]` up to and including the "--" that ends them.
std::string TakeFileList(const std::vector<std::string>& words, std::size_t& i, Arguments& args) {
    const auto begin = words.begin() + static_cast<std::ptrdiff_t>(i) + 1;
    const auto end = std::find(begin, words.end(), kEndOfOptions);
    if (args.files) {
        return "--files is given twice";
    }
    if (end == words.end()) {
        return "--files takes FILE... ended by --";
    }
    if (begin == end) {
        return "--files needs at least one file";
    }
    args.files.emplace(begin, end);
    if (args.files->size() > 1 &&
        std::find(args.files->begin(), args.files->end(), "-") != args.files->end()) {
        return "--files - reads the list from standard input and takes no other file";
    }
    i = static_cast<std::size_t>(end - words.begin());
    return {};
}

// Takes the SECONDS of --wait: a number from 0 to a day.
std::string TakeWait(const std::optional<std::string>& value, Arguments& args) {
    if (!value) {
        return "--wait needs a number of seconds";
    }
    std::size_t used = 0;
    double seconds = -1;
    try {
        seconds = std::stod(*value, &used);
    } catch (const std::exception&) {
        used = 0;
    }
    if (used == 0 || used != value->size() || !(seconds >= 0 && seconds <= kLongestWait)) {
        return "--wait takes a number of seconds from 0 to 86400, not \"" + *value + "\"";
    }
    args.wait = seconds;
    return {};
}

// Takes the MODE of --mode: permission bits in octal, 0 to 0777.
std::string TakeMode(const std::optional<std::string>& value, Arguments& args) {
    if (!value) {
        return "--mode needs permission bits in octal, such as 0640";
    }
    const bool octal = !value->empty() && value->size() <= 4 &&
                       value->find_first_not_of("01234567") == std::string::npos;
    const unsigned bits = octal ? static_cast<unsigned>(std::stoul(*value, nullptr, 8)) : 01000;
    if (bits > 0777) {
        return "--mode takes permission bits in octal from 0 to 0777, not \"" + *value + "\"";
    }
    args.mode = bits;
    return {};
}

// Handles the option `words[i]`; may consume the next word as its value. Returns an error
// message, or the empty text when the option was taken.
std::string TakeOption(const std::vector<std::string>& words, std::size_t& i,
                       const CommandSyntax& syntax, Arguments& args) {
    const std::string& word = words[i];
    std::optional<std::string> value;
    if (word == "--help" || word == "-h") {
        args.help = true;
    } else if (TakeValue(words, i, kCatalogues, value)) {
        if (!value) {
            return "--catalogues needs a folder";
        }
        args.catalogueFolder = std::move(*value);
    } else if (TakeValue(words, i, kEncoding, value)) {
        args.encoding = value ? EncodingNamed(*value) : std::nullopt;
        if (!args.encoding) {
            return "--encoding takes utf-8 or windows-1252" +
                   (value ? ", not \"" + *value + "\"" : std::string());
        }
    } else if (syntax.waitOption && TakeValue(words, i, kWait, value)) {
        return TakeWait(value, args);
    } else if (syntax.modeOption && TakeValue(words, i, kMode, value)) {
        return TakeMode(value, args);
    } else if (syntax.fileList && word == kFiles) {
        return TakeFileList(words, i, args);
    } else if (std::find(syntax.flags.begin(), syntax.flags.end(), word) != syntax.flags.end()) {
        args.flags.insert(word);
    } else {
        return "unknown option " + word;
    }
    return {};
}

std::string CheckOperandCount(const Arguments& args, const CommandSyntax& syntax) {
    const std::size_t count = args.operands.size();
    if (count < syntax.minOperands) {
        return "missing operand";
    }
    if (count > syntax.maxOperands) {
        return "too many operands (from \"" + args.operands[syntax.maxOperands] + "\" on)";
    }
    return {};
}

}  // namespace

Expected<Arguments> ParseArguments(const std::vector<std::string>& words,
                                   const CommandSyntax& syntax) {
    Arguments args;
    bool operandsOnly = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        const std::size_t count = args.operands.size();
        const bool valueOfPair = count > syntax.pairsFrom && (count - syntax.pairsFrom) % 2 == 1;
        if (operandsOnly || valueOfPair || !IsOption(words[i])) {
            args.operands.push_back(words[i]);
        } else if (words[i] == kEndOfOptions) {
            operandsOnly = true;
        } else {
            // The "--" that ends a file list ends the options too.
            operandsOnly = words[i] == kFiles && syntax.fileList;
            if (std::string error = TakeOption(words, i, syntax, args); !error.empty()) {
                return FileError{{}, error};
            }
        }
    }
    if (!args.help) {
        if (std::string error = CheckOperandCount(args, syntax); !error.empty()) {
            return FileError{{}, error};
        }
    }
    return args;
}

std::string TakeCommandName(std::vector<std::string>& words) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == kEndOfOptions) {
            return {};
        }
        if (words[i] == kCatalogues || words[i] == kEncoding || words[i] == kWait ||
            words[i] == kMode) {
            ++i;
        } else if (!IsOption(words[i])) {
            std::string name = words[i];
            words.erase(words.begin() + static_cast<std::ptrdiff_t>(i));
            return name;
        }
    }
    return {};
}

}  // namespace tav::cli
