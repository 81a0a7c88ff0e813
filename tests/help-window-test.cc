// The real main window over the real help service: every way of asking for help shows the built
// help file at its default topic, against the window's right edge.
#include <gtest/gtest.h>

#include <QAction>
#include <QTest>
#include <QToolBar>
#include <functional>
#include <string>
#include <vector>

#include "help/chmhelpservice.h"
#include "help/helpbrowser.h"
#include "help/helpviewer.h"
#include "testutil.h"
#include "tree/configtree.h"
#include "ui/filechooser.h"
#include "ui/maindialog.h"
#include "ui/messagereporter.h"

namespace {

class NoFiles final : public tav::FileChooser {
public:
    std::optional<tav::ChosenFile> ChooseOpen(QWidget*, const QString&) override { return {}; }
    std::optional<tav::ChosenFile> ChooseSave(QWidget*, const QString&) override { return {}; }
};

class RecordedMessages final : public tav::MessageReporter {
public:
    void ShowWarning(QWidget*, const QString& text) override { shown.push_back(text); }
    std::vector<QString> shown;
};

class CountingLauncher final : public tav::HelpLauncher {
public:
    bool Open(const QString&) override {
        ++calls;
        return true;
    }
    int calls = 0;
};

TEST(HelpFromTheWindow, MenuToolbarAndF1ShowTheBuiltHelpBesideTheWindow) {
    tavtest::TempDir folder;
    tavtest::WriteFile(folder.File("taca.chm"), tavtest::ReadFile(TAV_HELP_FILE));
    NoFiles files;
    RecordedMessages messages;
    CountingLauncher launcher;
    tav::ChmHelpService help(QString::fromStdString(folder.Path()), launcher);
    tav::MainDialog window(TAV_EXAMPLES_DIR, {}, {files, messages, help});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QAction* contents = window.Action(tav::Command::HelpContents);
    auto* toolBar = qobject_cast<QToolBar*>(window.Control(tav::ControlId::ToolBar));
    ASSERT_NE(toolBar, nullptr);
    const std::vector<std::pair<const char*, std::function<void()>>> ways = {
        {"menu", [&] { contents->trigger(); }},
        {"toolbar", [&] { QTest::mouseClick(toolBar->widgetForAction(contents), Qt::LeftButton); }},
        {"F1",
         [&] {
             window.activateWindow();
             ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
             QTest::keyClick(&window.Tree(), Qt::Key_F1);
         }},
    };
    for (const auto& [name, ask] : ways) {
        // Left elsewhere on another page by the previous request's reader.
        if (tav::HelpViewer* viewer = help.Viewer()) {
            viewer->Browser().setSource(QUrl("files.html"));
            viewer->setGeometry(10, 10, 200, 150);
        }
        window.move(window.pos() + QPoint(15, 5));
        ask();
        tav::HelpViewer* viewer = help.Viewer();
        ASSERT_NE(viewer, nullptr) << name;
        EXPECT_TRUE(viewer->isVisible()) << name;
        EXPECT_EQ(viewer->Browser().source().path(), "/index.html") << name;
        const QRect frame = window.frameGeometry();
        EXPECT_EQ(viewer->frameGeometry(),
                  QRect(frame.x() + frame.width(), frame.y(), 600, frame.height()))
            << name;
    }
    EXPECT_EQ(launcher.calls, 0);
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
