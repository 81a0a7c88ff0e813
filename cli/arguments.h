// The command line of tacconf: exit codes, and the options and operands of one subcommand.
#pragma once

#include <cstddef>
#include <optional>
#include <set>
#include <string>
#include <vector>

#include "base/expected.h"
#include "base/textencoding.h"

namespace tav::cli {

// What every subcommand returns to the shell.
enum class ExitCode : int {
    kOk = 0,        // done; nothing to report
    kProblems = 1,  // check found problems, or diff found lines a save would change
    kFailure = 2,   // a usage error, or a file that could not be read or written
};

// What a subcommand accepts: its flags (such as "--all") and how many operands.
struct CommandSyntax {
    std::vector<std::string> flags;
    std::size_t minOperands = 0;
    std::size_t maxOperands = 0;  // kAnyNumber: no upper bound
    // The operands from this index on are KEY VALUE pairs: the word after a KEY is its VALUE,
    // whatever it looks like ("set FILE SECTION.KEY -h" sets the value "-h"); options stand only
    // before a KEY. kAnyNumber: no pairs.
    std::size_t pairsFrom = kAnyNumber;
    // Whether "--files FILE... --" is accepted (see Arguments::files).
    bool fileList = false;
    // Whether "--wait SECONDS" is accepted (see Arguments::wait).
    bool waitOption = false;
    // Whether "--mode MODE" is accepted (see Arguments::mode).
    bool modeOption = false;
    static constexpr std::size_t kAnyNumber = static_cast<std::size_t>(-1);
};

struct Arguments {
    std::vector<std::string> operands;           // in the order given
    std::set<std::string> flags;                 // the flags given, such as "--json"
    std::optional<std::string> catalogueFolder;  // from --catalogues DIR or --catalogues=DIR
    std::optional<TextEncoding> encoding;        // from --encoding NAME: overrides the decision
    bool help = false;                           // --help or -h was given
    // From "--files FILE... --": the files, in order ("-": read the list from standard input).
    // The "--" that ends the list also ends the options.
    std::optional<std::vector<std::string>> files;
    // From --wait SECONDS: how long to wait for a lock another program holds on a document.
    std::optional<double> wait;
    // From --mode MODE: the permission bits, in octal (0 to 0777), of a document set creates.
    std::optional<unsigned> mode;

    bool Has(const std::string& flag) const { return flags.count(flag) != 0; }
};

// Parses the arguments that follow the subcommand's name. Words starting with "--", and "-"
// followed by anything but a digit or a dot, are options ("-h" is --help; any other short one is
// unknown), so values such as "-5" and "-" alone are operands; "--" makes every later word an
// operand, and the word after a KEY of syntax.pairsFrom is one too. With --help the operand count
// is not checked. Returns the arguments, or the usage error (its reason; no file).
Expected<Arguments> ParseArguments(const std::vector<std::string>& words,
                                   const CommandSyntax& syntax);

// Splits the whole command line (without the program name) into the subcommand's name and the
// other words: the name is the first word that is neither an option nor the value of
// --catalogues, --encoding, --wait or --mode. Returns an empty name when there is none.
std::string TakeCommandName(std::vector<std::string>& words);

}  // namespace tav::cli
