// The real main window over the real help service: every way of asking for help shows the built
// help file against the window's right edge, at the page about the control with the focus.
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
    tav::SaveAnswer AskToSaveChanges(QWidget*, const QString&) override {
        ADD_FAILURE() << "no document was changed";
        return tav::SaveAnswer::Cancel;
    }
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

TEST(HelpFromTheWindow, MenuToolbarAndF1ShowTheBuiltHelpAboutTheFocusBesideTheWindow) {
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
    struct Way {
        const char* name;
        QWidget* focus;  // null: no control has the focus
        std::function<void()> ask;
        const char* page;
    };
    const std::vector<Way> ways = {
        {"menu", nullptr, [&] { contents->trigger(); }, "/index.html"},
        {"toolbar", nullptr,
         [&] { QTest::mouseClick(toolBar->widgetForAction(contents), Qt::LeftButton); },
         "/index.html"},
        {"menu_from_the_tree", &window.Tree(), [&] { contents->trigger(); }, "/tree.html"},
        {"F1_on_the_tree", &window.Tree(), [&] { QTest::keyClick(&window.Tree(), Qt::Key_F1); },
         "/tree.html"},
    };
    for (const Way& way : ways) {
        // Left elsewhere on another page by the previous request's reader.
        if (tav::HelpViewer* viewer = help.Viewer()) {
            viewer->Browser().setSource(QUrl("files.html"));
            viewer->setGeometry(10, 10, 200, 150);
        }
        window.activateWindow();
        ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
        if (way.focus != nullptr) {
            way.focus->setFocus();
        } else if (QWidget* focus = window.focusWidget()) {
            focus->clearFocus();
        }
        window.move(window.pos() + QPoint(15, 5));
        way.ask();
        tav::HelpViewer* viewer = help.Viewer();
        ASSERT_NE(viewer, nullptr) << way.name;
        EXPECT_TRUE(viewer->isVisible()) << way.name;
        EXPECT_EQ(viewer->Browser().source().path(), way.page) << way.name;
        const QRect frame = window.frameGeometry();
        EXPECT_EQ(viewer->frameGeometry(),
                  QRect(frame.x() + frame.width(), frame.y(), 600, frame.height()))
            << way.name;
    }
    EXPECT_EQ(launcher.calls, 0);
    EXPECT_TRUE(messages.shown.empty());
}

}  // namespace
