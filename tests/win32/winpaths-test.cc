// Windows' path rules (drives, UNC shares, both separators) as the core's path functions and the
// catalogue search apply them, and UTF-8 output shown on a console.
#include <windows.h>

#include <gtest/gtest.h>

#include <ostream>

#include "base/fileaccess.h"
#include "base/filepath.h"
#include "base/pathrules.h"
#include "base/win32/widepath.h"
#include "catalog/cataloguefolder.h"
#include "cli/win32/consolebuffer.h"

namespace {

TEST(WindowsPathTest, FolderNameAndRootOfEveryShapeOfPath) {
    struct Row {
        const char* path;
        const char* folder;
        const char* name;
        bool absolute;
    };
    const Row rows[] = {
        {"C:\\x\\doc.tac", "C:\\x", "doc.tac", true},
        {"C:/x/doc.tac", "C:/x", "doc.tac", true},
        {"C:\\doc.tac", "C:\\", "doc.tac", true},
        {"C:doc.tac", "C:", "doc.tac", false},
        {"\\\\server\\share\\doc.tac", "\\\\server\\share\\", "doc.tac", true},
        {"\\\\server\\share\\sub\\doc.tac", "\\\\server\\share\\sub", "doc.tac", true},
        {"//server/share", "//server/share", "", true},
        {"\\x\\doc.tac", "\\x", "doc.tac", false},
        {"x\\y/doc.tac", "x\\y", "doc.tac", false},
        {"doc.tac", ".", "doc.tac", false},
    };
    for (const Row& row : rows) {
        EXPECT_EQ(tav::FolderOf(row.path), row.folder) << row.path;
        EXPECT_EQ(tav::BaseNameOf(row.path), row.name) << row.path;
        EXPECT_EQ(tav::IsAbsolutePath(row.path), row.absolute) << row.path;
    }
    EXPECT_EQ(tav::JoinPath("C:\\x", "Fields.txt"), "C:\\x\\Fields.txt");
    EXPECT_EQ(tav::JoinPath("Z:/work/x", "Fields.txt"), "Z:/work/x/Fields.txt");
    EXPECT_EQ(tav::JoinPath("C:\\", "Fields.txt"), "C:\\Fields.txt");
    EXPECT_EQ(tav::JoinPath("x", "Fields.txt"), "x\\Fields.txt");
}

TEST(WindowsPathTest, TheSearchTakesTheFoldersWindowsNames) {
    const auto variable = [](const char* name) -> const char* {
        const std::string wanted(name);
        if (wanted == "APPDATA") {
            return "C:\\Users\\J\xC3\xB6rg\\AppData\\Roaming";
        }
        if (wanted == "PROGRAMDATA") {
            return "relative\\is\\ignored";
        }
        return wanted == "XDG_CONFIG_HOME" ? "C:\\xdg" : nullptr;
    };
    const tav::CatalogueEnvironment env =
        tav::WindowsCatalogueEnvironmentFrom(variable, "C:\\Program Files\\tav");
    EXPECT_EQ(env.configDirs, "");
    EXPECT_EQ(env.dataFolder, "");
    const std::vector<std::string> expected = {
        "C:\\Program Files\\tav", "C:\\Users\\J\xC3\xB6rg\\AppData\\Roaming\\tavmanager",
        "D:\\all\\tavmanager", "E:/more/tavmanager"};
    tav::CatalogueEnvironment both = env;
    both.configDirs = "D:\\all;E:/more";
    EXPECT_EQ(tav::CatalogueSearchFolders({}, "C:\\Program Files\\tav", both), expected);
}

TEST(WindowsConsoleTest, CutOffCharactersWaitForTheirEnd) {
    const std::string euro = "\xE2\x82\xAC";
    EXPECT_EQ(tav::cli::CompleteUtf8Length("ab"), 2u);
    EXPECT_EQ(tav::cli::CompleteUtf8Length("a" + euro), 4u);
    EXPECT_EQ(tav::cli::CompleteUtf8Length("a" + euro.substr(0, 2)), 1u);
    EXPECT_EQ(tav::cli::CompleteUtf8Length("a\xF0\x9F\x98"), 1u);
    EXPECT_EQ(tav::cli::CompleteUtf8Length("a\xF0\x9F\x98\x80"), 5u);
    EXPECT_EQ(tav::cli::CompleteUtf8Length("a\x80\x80\x80\x80"), 5u);  // stray bytes: shown
}

TEST(WindowsConsoleTest, UTF8IsShownAsItsCharacters) {
    if (::AllocConsole() == 0 && ::GetConsoleWindow() == nullptr) {
        GTEST_SKIP() << "no console can be made here (AllocConsole: " << ::GetLastError() << ")";
    }
    HANDLE screen = ::CreateConsoleScreenBuffer(GENERIC_READ | GENERIC_WRITE, 0, nullptr,
                                                CONSOLE_TEXTMODE_BUFFER, nullptr);
    if (screen == INVALID_HANDLE_VALUE) {
        GTEST_SKIP() << "no console screen buffer (" << ::GetLastError() << ")";
    }
    ASSERT_TRUE(tav::cli::ConsoleBuffer::IsConsole(screen));
    {
        tav::cli::ConsoleBuffer buffer(screen);
        std::ostream out(&buffer);
        // The euro sign arrives in two writes, cut inside its bytes.
        out << "Gr\xC3\xB6\xC3\x9F"
               "e \xE2\x82";
        out << "\xAC\n" << std::flush;
        EXPECT_TRUE(out.good());
    }
    wchar_t shown[8] = {};
    DWORD read = 0;
    ASSERT_NE(::ReadConsoleOutputCharacterW(screen, shown, 7, COORD{0, 0}, &read), 0);
    EXPECT_EQ(tav::Narrow(std::wstring_view(shown, read)),
              "Gr\xC3\xB6\xC3\x9F"
              "e \xE2\x82\xAC");
    ::CloseHandle(screen);
    ::FreeConsole();
}

}  // namespace
