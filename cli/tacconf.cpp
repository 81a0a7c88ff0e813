#include "cli/tacconf.h"

#include <array>

#include "base/translation.h"
#include "cli/commands.h"

namespace tav::cli {

namespace {

constexpr std::string_view kOverview = TAV_TRANSLATE_NOOP(
    "tacconf", R"(Usage: tacconf [--catalogues DIR] [--encoding NAME] COMMAND [ARGUMENTS]
       tacconf --version

Reads, changes and checks .tac configuration documents with the catalogues of
TAV Configuration Manager (Sections.txt and Fields.txt), read from the folder
given with --catalogues DIR; without it, from the first of these that holds
both: the catalogue folder chosen in the editor (Catalogues/Folder in
~/.config/Wrn.Applications/tavmanager.conf), this program's folder,
$XDG_CONFIG_HOME/tavmanager, each $XDG_CONFIG_DIRS folder + /tavmanager and the
installation's share/tavmanager. On Windows: the folder chosen in the editor
(in the registry, HKEY_CURRENT_USER\Software\Wrn.Applications\tavmanager,
Catalogues, Folder), this program's folder, %APPDATA%\tavmanager and
%PROGRAMDATA%\tavmanager.

Texts are UTF-8 on the command line and in the output. A document's encoding
is decided from its bytes: UTF-8 when it starts with a UTF-8 byte-order mark
or when all its non-ASCII bytes form valid UTF-8, else windows-1252 (the
Windows code page the documents' own application reads them in). The same
rule holds for each catalogue file. --encoding utf-8 or --encoding
windows-1252 reads the documents in that encoding instead.

Commands:
  get FILE SECTION.KEY...    print values as the editor shows them
  get FILE --all             print every value as SECTION.KEY=VALUE
  set FILE SECTION.KEY VALUE...
                             change values, writing only the keys named
  set --files FILE... -- SECTION.KEY VALUE...
                             the same change in each file, with a summary
  dump FILE [--json]         print the document as the editor shows it
  check [FILE]...            report where catalogues and documents disagree
  diff FILE                  show the lines a save in the editor would change
  compare FILE FILE...       show the settings of several documents side by
                             side, those that differ
  version                    print "tacconf" and the version, as --version does

"tacconf COMMAND --help" describes a command.

Exit status: 0 done; 1 problems found (check), changes shown (diff) or
settings that differ (compare);
2 usage error or a file that could not be read or written.
)");

constexpr std::string_view kVersionHelp = TAV_TRANSLATE_NOOP("tacconf", R"(Usage: tacconf version

Prints "tacconf" and the program's version, as "tacconf --version" does.

Exit status: 0 done; 2 usage error.
)");

ExitCode PrintVersion(const Environment& env) {
    env.out << "tacconf " << TAV_PROJECT_VERSION << '\n';
    return ExitCode::kOk;
}

ExitCode RunVersion(const Words& words, const Environment& env) {
    ExitCode exit = ExitCode::kOk;
    if (StartCommand(words, CommandSyntax{}, "version", kVersionHelp, env, exit)) {
        exit = PrintVersion(env);
    }
    return exit;
}

struct Command {
    std::string_view name;
    ExitCode (*run)(const Words&, const Environment&);
};

constexpr std::array<Command, 7> kCommands{{
    {"get", RunGet},
    {"set", RunSet},
    {"dump", RunDump},
    {"check", RunCheck},
    {"diff", RunDiff},
    {"compare", RunCompare},
    {"version", RunVersion},
}};

}  // namespace

ExitCode UsageError(const Environment& env, std::string_view name, const std::string& message) {
    std::string command;
    if (!name.empty()) {
        command.append(1, ' ').append(name);
    }
    const std::string program = "tacconf" + command;
    env.err << FillIn(Translate("tacconf", "%1: %2\nTry '%1 --help'."), {program, message}) << '\n';
    return ExitCode::kFailure;
}

std::optional<Arguments> StartCommand(const Words& words, const CommandSyntax& syntax,
                                      std::string_view name, std::string_view help,
                                      const Environment& env, ExitCode& exit) {
    Expected<Arguments> parsed = ParseArguments(words, syntax);
    if (!parsed) {
        exit = UsageError(env, name, parsed.Error().reason);
        return std::nullopt;
    }
    if (parsed->help) {
        // Every help text is marked where it is defined (TAV_TRANSLATE_NOOP, context "tacconf").
        env.out << Translate("tacconf", std::string(help).c_str());
        exit = ExitCode::kOk;
        return std::nullopt;
    }
    return std::move(*parsed);
}

ExitCode RunTacconf(const std::vector<std::string>& words, const Environment& env) {
    Words rest = words;
    const std::string name = TakeCommandName(rest);
    for (const Command& command : kCommands) {
        if (command.name == name) {
            return command.run(rest, env);
        }
    }
    if (!name.empty()) {
        return UsageError(env, "", FillIn(Translate("tacconf", "unknown command \"%1\""), {name}));
    }
    ExitCode exit = ExitCode::kOk;
    if (const auto args =
            StartCommand(rest, CommandSyntax{{"--version"}}, "", kOverview, env, exit)) {
        exit = args->Has("--version")
                   ? PrintVersion(env)
                   : UsageError(env, "", Translate("tacconf", "missing command"));
    }
    return exit;
}

}  // namespace tav::cli
