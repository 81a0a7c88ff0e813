#include "cli-testutil.h"

#include <sstream>

#include "cli/tacconf.h"

namespace tavtest {

namespace {

CliRun Run(const std::vector<std::string>& words, const std::string& programFolder,
           const tav::CatalogueEnvironment& catalogueEnvironment, std::istream* in) {
    std::ostringstream out;
    std::ostringstream err;
    const tav::cli::Environment env{out,
                                    err,
                                    programFolder,
                                    "no folder in this test",
                                    [] { return std::string(kCliTime); },
                                    in,
                                    catalogueEnvironment};
    CliRun run;
    run.exit = static_cast<int>(tav::cli::RunTacconf(words, env));
    run.out = out.str();
    run.err = err.str();
    return run;
}

}  // namespace

CliRun RunCli(const std::vector<std::string>& words, const std::string& programFolder,
              const tav::CatalogueEnvironment& catalogueEnvironment) {
    return Run(words, programFolder, catalogueEnvironment, nullptr);
}

CliRun RunCliWithInput(const std::vector<std::string>& words, const std::string& input) {
    std::istringstream in(input);
    return Run(words, TAV_EXAMPLES_DIR, {}, &in);
}

std::vector<std::string> OutputLines(const std::string& text) {
    std::vector<std::string> lines;
    for (std::size_t pos = 0; pos < text.size();) {
        const std::size_t end = text.find('\n', pos);
        lines.push_back(text.substr(pos, end - pos));
        pos = end == std::string::npos ? text.size() : end + 1;
    }
    return lines;
}

CliFolder::CliFolder(const std::string& sections, const std::string& fields) {
    for (const char* name : {"front-office.tac", "warehouse.tac"}) {
        WriteFile(m_dir.File(name), ReadFile(std::string(TAV_EXAMPLES_DIR) + "/" + name));
    }
    if (!sections.empty()) {
        WriteFile(m_dir.File("Sections.txt"), sections);
    }
    if (!fields.empty()) {
        WriteFile(m_dir.File("Fields.txt"), fields);
    }
}

}  // namespace tavtest
