// SystemFileWatcher: the platform's notifications of changes to the open document's file.
#include <gtest/gtest.h>

#include <QSignalSpy>
#include <cstdio>
#include <functional>
#include <string>

#include "testutil.h"
#include "ui/filewatcher.h"

namespace tavtest {
namespace {

// How long a notification may take to come, and how long one that must not come is awaited.
constexpr int kComesWithinMs = 2000;
constexpr int kStaysAwayMs = 300;

TEST(SystemFileWatcher, TellsOfWritesRenamesAndRemovalsOfTheWatchedFileOnly) {
    TempDir folder;
    const std::string document = folder.File("doc.tac");
    const std::string other = folder.File("other.tac");
    WriteFile(document, "[A]\r\n");
    WriteFile(other, "[B]\r\n");
    tav::SystemFileWatcher watcher;
    QSignalSpy changed(&watcher, &tav::FileWatcher::fileChanged);
    watcher.Watch(QString::fromStdString(document));
    struct Step {
        const char* name;
        std::function<void()> act;
        bool tells;
    };
    const Step steps[] = {
        {"another file written", [&] { WriteFile(other, "[B]\r\nx=1\r\n"); }, false},
        {"written", [&] { WriteFile(document, "[A]\r\nx=1\r\n"); }, true},
        {"replaced by a rename",
         [&] {
             WriteFile(folder.File("new.tac"), "[A]\r\nx=2\r\n");
             ASSERT_EQ(std::rename(folder.File("new.tac").c_str(), document.c_str()), 0);
         },
         true},
        {"written after the rename", [&] { WriteFile(document, "[A]\r\nx=3\r\n"); }, true},
        {"removed", [&] { ASSERT_EQ(std::remove(document.c_str()), 0); }, true},
        {"created again", [&] { WriteFile(document, "[A]\r\n"); }, true},
    };
    for (const Step& step : steps) {
        changed.clear();
        step.act();
        if (step.tells) {
            EXPECT_TRUE(changed.wait(kComesWithinMs)) << step.name;
        } else {
            EXPECT_FALSE(changed.wait(kStaysAwayMs)) << step.name;
        }
    }

    // An empty path watches nothing.
    watcher.Watch(QString());
    changed.clear();
    WriteFile(document, "[A]\r\nx=4\r\n");
    EXPECT_FALSE(changed.wait(kStaysAwayMs));
}

}  // namespace
}  // namespace tavtest
