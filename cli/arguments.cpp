#include "arguments.h"

#include <algorithm>

namespace tav::cli {

namespace {

constexpr std::string_view kCatalogues = "--catalogues";

bool IsOption(const std::string& word) {
    return word.rfind("--", 0) == 0 || word == "-h";
}

// Handles the option `words[i]`; may consume the next word as its value. Returns an error
// message, or the empty text when the option was taken.
std::string TakeOption(const std::vector<std::string>& words, std::size_t& i,
                       const CommandSyntax& syntax, Arguments& args) {
    const std::string& word = words[i];
    if (word == "--help" || word == "-h") {
        args.help = true;
    } else if (word == kCatalogues) {
        if (i + 1 == words.size()) {
            return "--catalogues needs a folder";
        }
        args.catalogueFolder = words[++i];
    } else if (word.rfind(std::string(kCatalogues) + "=", 0) == 0) {
        args.catalogueFolder = word.substr(kCatalogues.size() + 1);
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

ParsedArguments ParseArguments(const std::vector<std::string>& words, const CommandSyntax& syntax) {
    Arguments args;
    bool operandsOnly = false;
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (operandsOnly || !IsOption(words[i])) {
            args.operands.push_back(words[i]);
        } else if (words[i] == "--") {
            operandsOnly = true;
        } else if (std::string error = TakeOption(words, i, syntax, args); !error.empty()) {
            return {std::nullopt, error};
        }
    }
    if (!args.help) {
        if (std::string error = CheckOperandCount(args, syntax); !error.empty()) {
            return {std::nullopt, error};
        }
    }
    return {std::move(args), {}};
}

std::string TakeCommandName(std::vector<std::string>& words) {
    for (std::size_t i = 0; i < words.size(); ++i) {
        if (words[i] == "--") {
            return {};
        }
        if (words[i] == kCatalogues) {
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
