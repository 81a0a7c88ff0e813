// The command line: tavmanager [--help] [--help-all] [--version] [--catalogues DIR] [FILE].
#include <gtest/gtest.h>

#include "app/commandline.h"

namespace tavtest {
namespace {

using Action = tav::StartRequest::Action;

TEST(CommandLine, ReadsTheFileHelpVersionAndRefusesTheRest) {
    struct Case {
        const char* name;
        QStringList arguments;
        Action action;
        std::string file;
        const char* textHolds;
    };
    const Case cases[] = {
        {"nothing", {}, Action::Run, "", ""},
        {"absolute", {"/srv/tac/desk.tac"}, Action::Run, "/srv/tac/desk.tac", ""},
        {"relative", {"sub/../desk.tac"}, Action::Run, "/work/here/desk.tac", ""},
        {"bare name", {"new.tac"}, Action::Run, "/work/here/new.tac", ""},
        {"help", {"--help"}, Action::ShowHelp, "", "[FILE]"},
        {"short help", {"-h"}, Action::ShowHelp, "", "--version"},
        {"version", {"--version"}, Action::ShowVersion, "", "tavmanager 1."},
        {"unknown option", {"--frobnicate"}, Action::Refuse, "", "frobnicate"},
        {"two files", {"a.tac", "b.tac"}, Action::Refuse, "", "one file"},
        {"help despite an unknown option", {"--frobnicate", "--help"}, Action::ShowHelp, "",
         "[FILE]"},
        {"version despite two files", {"a.tac", "b.tac", "-v"}, Action::ShowVersion, "",
         "tavmanager 1."},
        {"help with Qt's options", {"d.tac", "--help-all"}, Action::ShowHelpAll, "", ""},
        {"a single-dash word is named whole", {"-frob"}, Action::Refuse, "", "option 'frob'"},
        {"catalogues folder is no file", {"--catalogues", "/etc/tav", "d.tac"}, Action::Run,
         "/work/here/d.tac", ""},
    };
    for (const Case& c : cases) {
        const tav::StartRequest request =
            tav::ReadCommandLine(QStringList{"tavmanager"} + c.arguments, "/work/here");
        EXPECT_EQ(request.action, c.action) << c.name;
        EXPECT_EQ(request.file, c.file) << c.name;
        EXPECT_TRUE(request.text.contains(QString::fromUtf8(c.textHolds)))
            << c.name << ": " << request.text.toStdString();
    }
    EXPECT_EQ(tav::ProgramVersion(), TAV_PROJECT_VERSION);
}

// Help and the version are answered before any window system is started; everything else is read
// by the GUI application object, which takes Qt's own options out first.
TEST(CommandLine, HelpAndVersionNeedNoWindowSystem) {
    using Reader = tav::CommandLineReader;
    const struct {
        QStringList arguments;
        Reader reader;
    } cases[] = {
        {{}, Reader::Gui},
        {{"d.tac"}, Reader::Gui},
        {{"-style", "Fusion", "d.tac"}, Reader::Gui},
        {{"--helpful.tac"}, Reader::Gui},
        {{"-h"}, Reader::Core},
        {{"-?"}, Reader::Core},
        {{"-style", "Fusion", "--help"}, Reader::Core},
        {{"--version"}, Reader::Core},
        {{"-v", "--help-all"}, Reader::Offscreen},
        {{"--help-all", "-v"}, Reader::Offscreen},
        {{"--", "--help"}, Reader::Gui},
        {{"tavmanager-help"}, Reader::Gui},
    };
    for (const auto& c : cases) {
        const QStringList arguments = QStringList{"tavmanager"} + c.arguments;
        EXPECT_EQ(tav::ReaderFor(arguments), c.reader) << arguments.join(u' ').toStdString();
    }
}

}  // namespace
}  // namespace tavtest
