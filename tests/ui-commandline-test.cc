// The command line: tavmanager [--help] [--version] [FILE].
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

}  // namespace
}  // namespace tavtest
