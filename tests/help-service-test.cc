// ChmHelpService: which help file a request shows, through whom, and where the viewer goes.
#include <gtest/gtest.h>

#include <unistd.h>
#include <QDialog>
#include <QGuiApplication>
#include <QScreen>
#include <QSettings>
#include <QTest>
#include <QTextCursor>
#include <QTextDocument>
#include <QTimer>
#include <QWidget>
#include <filesystem>
#include <string>
#include <vector>

#include "help/chmhelpservice.h"
#include "help/helpbrowser.h"
#include "help/helpviewer.h"
#include "help/screenfit.h"
#include "testutil.h"

namespace {

using tav::ChmHelpService;

class RecordingLauncher final : public tav::HelpLauncher {
public:
    bool Open(const QString& path) override {
        opened.push_back(path);
        return accepts;
    }

    std::vector<QString> opened;
    bool accepts = true;
};

// Where the viewer's frame belongs for `owner`.
QRect BesideOwner(const QWidget& owner) {
    const QRect frame = owner.frameGeometry();
    return {frame.x() + frame.width(), frame.y(), ChmHelpService::kViewerWidth, frame.height()};
}

QRect ScreenArea() {
    return QGuiApplication::primaryScreen()->availableGeometry();
}

class HelpServiceTest : public testing::Test {
protected:
    // An owner with room for the viewer on its right.
    void SetUp() override {
        m_owner.setGeometry(ScreenArea().x() + 20, ScreenArea().y() + 50, 150, 400);
        m_owner.show();
        ASSERT_TRUE(ScreenArea().contains(BesideOwner(m_owner)));
    }

    // Creates the folder `name` inside the test's folder, with the files `files` in it: the
    // built help file as "taca.chm", and a few bytes as "taca.hlp".
    QString Folder(const std::string& name, const std::vector<std::string>& files) {
        const std::string folder = m_dir.File(name);
        std::filesystem::create_directories(folder);
        for (const std::string& file : files) {
            const std::string bytes = file == "taca.chm" ? tavtest::ReadFile(TAV_HELP_FILE)
                                                         : std::string("?_\x03\x00", 4);
            tavtest::WriteFile(folder + "/" + file, bytes);
        }
        return QString::fromStdString(folder);
    }

    tavtest::TempDir m_dir;
    RecordingLauncher m_launcher;
    QWidget m_owner;
};

TEST_F(HelpServiceTest, ShowsTheHtmlHelpBesideTheMainWindow) {
    ChmHelpService help(Folder("bin", {"taca.chm"}), m_launcher);
    EXPECT_EQ(help.Viewer(), nullptr);
    help.ShowHelp(&m_owner);
    EXPECT_TRUE(m_launcher.opened.empty());
    tav::HelpViewer* viewer = help.Viewer();
    ASSERT_NE(viewer, nullptr);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_TRUE(viewer->isWindow());
    EXPECT_TRUE(viewer->ErrorText().isEmpty()) << viewer->ErrorText().toStdString();
    EXPECT_EQ(viewer->Browser().source().path(), "/index.html");
    EXPECT_EQ(viewer->frameGeometry(), BesideOwner(m_owner));
}

TEST_F(HelpServiceTest, EveryRequestShowsTheOneViewerWhereItWasLeft) {
    ChmHelpService help(Folder("bin", {"taca.chm"}), m_launcher);
    help.ShowHelp(&m_owner);
    tav::HelpViewer* viewer = help.Viewer();
    ASSERT_NE(viewer, nullptr);
    viewer->setGeometry(ScreenArea().x() + 300, ScreenArea().y() + 200, 200, 100);
    const QRect left = viewer->frameGeometry();
    viewer->Browser().setSource(QUrl("tree.html"));
    viewer->hide();
    m_owner.move(m_owner.pos() + QPoint(30, 10));

    help.ShowHelp(&m_owner);
    EXPECT_EQ(help.Viewer(), viewer);
    EXPECT_TRUE(viewer->isVisible());
    EXPECT_EQ(viewer->frameGeometry(), left);
    EXPECT_EQ(viewer->Browser().source().path(), "/index.html");

    viewer->showMinimized();
    help.ShowHelp(&m_owner);
    EXPECT_FALSE(viewer->isMinimized());
    EXPECT_EQ(viewer->frameGeometry(), left);

    // Left where no screen shows it whole, it comes back beside its owner.
    viewer->move(ScreenArea().right() - 50, viewer->y());
    help.ShowHelp(&m_owner);
    EXPECT_EQ(
        viewer->frameGeometry(),
        tav::BesideFrame(m_owner.frameGeometry(), ChmHelpService::kViewerWidth, ScreenArea()));
}

// The viewer's frame is kept in the settings given, and a later session shows it there again when
// a screen shows it whole.
TEST_F(HelpServiceTest, TheSettingsKeepThePlaceBetweenSessions) {
    const QRect area = ScreenArea();
    struct Case {
        const char* name;
        QRect stored;
        bool restored;
    };
    const std::vector<Case> cases = {
        {"on_the_screen", QRect(area.x() + 250, area.y() + 30, 320, 240), true},
        {"off_every_screen", QRect(area.right() + 500, area.y(), 320, 240), false},
    };
    for (const Case& c : cases) {
        QSettings settings(QString::fromStdString(m_dir.File(std::string(c.name) + ".ini")),
                           QSettings::IniFormat);
        {
            ChmHelpService help(Folder(c.name, {"taca.chm"}), m_launcher, &settings);
            help.ShowHelp(&m_owner);
            tav::PlaceFrame(*help.Viewer(), c.stored, m_owner);
            EXPECT_EQ(settings.value(ChmHelpService::kFrameKey).toRect(),
                      help.Viewer()->frameGeometry())
                << c.name << ": every move is kept";
        }
        settings.setValue(ChmHelpService::kFrameKey, c.stored);
        ChmHelpService help(Folder(c.name, {"taca.chm"}), m_launcher, &settings);
        help.ShowHelp(&m_owner);
        EXPECT_EQ(help.Viewer()->frameGeometry(), c.restored ? c.stored : BesideOwner(m_owner))
            << c.name;
    }
}

// Clicks the link `text` in `viewer` through the window system, as a user would: input that the
// modality rules block never arrives.
void ClickLink(tav::HelpViewer& window, const QString& text) {
    tav::HelpBrowser& viewer = window.Browser();
    QTextCursor link = viewer.document()->find(text);
    ASSERT_FALSE(link.isNull()) << text.toStdString();
    link.setPosition(link.selectionStart() + 1);
    const QPoint inViewport = viewer.cursorRect(link).center();
    const QPoint inWindow = viewer.viewport()->mapTo(&window, inViewport);
    QTest::mouseClick(window.windowHandle(), Qt::LeftButton, {}, inWindow);
}

TEST_F(HelpServiceTest, TheViewerTakesInputWhileTheMainWindowRunsModally) {
    // The main window runs as an application-modal dialog; the viewer must not be blocked.
    QDialog mainWindow;
    mainWindow.setGeometry(40, 40, 300, 300);
    ChmHelpService help(Folder("bin", {"taca.chm"}), m_launcher);
    QString shown;
    QTimer::singleShot(0, &mainWindow, [&] {
        help.ShowHelp(&mainWindow);
        tav::HelpViewer* viewer = help.Viewer();
        if (viewer != nullptr && QTest::qWaitForWindowExposed(viewer)) {
            ClickLink(*viewer, "Next >");
            shown = viewer->Browser().source().path();
        }
        mainWindow.accept();
    });
    mainWindow.exec();
    EXPECT_EQ(shown.toStdString(), "/mainwindow.html");
}

TEST_F(HelpServiceTest, HandsTheWinHelpFileToTheDesktopAndLeavesTheHtmlHelpAlone) {
    // Both files: the WinHelp file goes to the launcher, and the viewer never opens the other
    // one (a broken one here, which it would have to report).
    const QString folder = Folder("bin", {"taca.hlp"});
    tavtest::WriteFile(folder.toStdString() + "/taca.chm", "broken");
    ChmHelpService help(folder, m_launcher);
    help.ShowHelp(&m_owner);
    help.ShowHelp(&m_owner);
    EXPECT_EQ(m_launcher.opened, std::vector<QString>(2, folder + "/taca.hlp"));
    EXPECT_EQ(help.Viewer(), nullptr);
}

TEST_F(HelpServiceTest, PassesFolderNamesThroughUnchanged) {
    for (const char* name :
         {"plain", "with spaces", "Hilfe \xc3\xa4\xc3\xb6\xc3\xbc \xe2\x82\xac"}) {
        RecordingLauncher launcher;
        const QString winHelp = Folder(std::string(name) + "/hlp", {"taca.hlp", "taca.chm"});
        ChmHelpService(winHelp, launcher).ShowHelp(&m_owner);
        EXPECT_EQ(launcher.opened, std::vector<QString>{winHelp + "/taca.hlp"}) << name;

        ChmHelpService html(Folder(std::string(name) + "/chm", {"taca.chm"}), launcher);
        html.ShowHelp(&m_owner);
        ASSERT_NE(html.Viewer(), nullptr) << name;
        EXPECT_EQ(html.Viewer()->Browser().source().path(), "/index.html") << name;
    }
}

TEST_F(HelpServiceTest, ShowsTheHtmlHelpWhenTheWinHelpFileCannotBeUsed) {
    struct Case {
        const char* name;
        bool hlpIsFolder;
        bool launcherAccepts;
        std::size_t launched;
    };
    const std::vector<Case> cases = {
        {"winhelp_name_is_a_folder", true, true, 0},
        {"desktop_cannot_open_it", false, false, 1},
    };
    for (const Case& c : cases) {
        RecordingLauncher launcher;
        launcher.accepts = c.launcherAccepts;
        const QString folder = Folder(c.name, {"taca.chm"});
        if (c.hlpIsFolder) {
            std::filesystem::create_directory(folder.toStdString() + "/taca.hlp");
        } else {
            tavtest::WriteFile(folder.toStdString() + "/taca.hlp", "winhelp");
        }
        ChmHelpService help(folder, launcher);
        help.ShowHelp(&m_owner);
        EXPECT_EQ(launcher.opened.size(), c.launched) << c.name;
        ASSERT_NE(help.Viewer(), nullptr) << c.name;
        EXPECT_EQ(help.Viewer()->Browser().source().path(), "/index.html") << c.name;
    }
}

TEST_F(HelpServiceTest, AnUnreadableWinHelpFileCountsAsAbsent) {
    if (::geteuid() == 0) {
        GTEST_SKIP() << "the superuser reads every file";
    }
    const QString folder = Folder("bin", {"taca.hlp", "taca.chm"});
    std::filesystem::permissions(folder.toStdString() + "/taca.hlp", std::filesystem::perms::none);
    ChmHelpService help(folder, m_launcher);
    help.ShowHelp(&m_owner);
    EXPECT_TRUE(m_launcher.opened.empty());
    ASSERT_NE(help.Viewer(), nullptr);
    EXPECT_EQ(help.Viewer()->Browser().source().path(), "/index.html");
}

TEST_F(HelpServiceTest, WithoutAnyHelpFileThePlacedViewerSaysWhy) {
    const QString folder = Folder("bin", {});
    ChmHelpService help(folder, m_launcher);
    help.ShowHelp(&m_owner);
    ASSERT_NE(help.Viewer(), nullptr);
    EXPECT_TRUE(help.Viewer()->isVisible());
    EXPECT_EQ(help.Viewer()->frameGeometry(), BesideOwner(m_owner));
    EXPECT_TRUE(help.Viewer()->ErrorText().contains(folder + "/taca.chm"));
    EXPECT_TRUE(help.Viewer()->ErrorText().contains("No such file or directory"));
}

TEST_F(HelpServiceTest, TheViewerGoesToTheWindowOfWhoeverAsks) {
    QWidget other;
    other.setGeometry(300, 20, 250, 200);
    auto* button = new QWidget(&other);  // asked from a control inside that window
    other.show();
    ChmHelpService help(Folder("bin", {"taca.chm"}), m_launcher);
    help.ShowHelp(&m_owner);
    tav::HelpViewer* viewer = help.Viewer();
    const QRect left = viewer->frameGeometry();
    help.ShowHelp(button);
    ASSERT_EQ(help.Viewer(), viewer);
    EXPECT_EQ(viewer->parentWidget(), &other);
    EXPECT_TRUE(viewer->isWindow());
    EXPECT_EQ(viewer->frameGeometry(), left) << "where it was left";
}

TEST_F(HelpServiceTest, WithoutAnOwnerTheViewerKeepsItsPlace) {
    ChmHelpService help(Folder("bin", {"taca.chm"}), m_launcher);
    help.ShowHelp(&m_owner);
    ASSERT_NE(help.Viewer(), nullptr);
    help.Viewer()->setGeometry(300, 200, 500, 400);
    const QRect placed = help.Viewer()->frameGeometry();
    help.ShowHelp(nullptr);
    EXPECT_TRUE(help.Viewer()->isVisible());
    EXPECT_EQ(help.Viewer()->frameGeometry(), placed);
}

// A window manager decorates a window a moment after its first show, so a viewer placed then
// reports no frame yet: it is given the owner's decorations, and its frame gets the owner's height.
TEST_F(HelpServiceTest, AViewerWithoutAFrameYetIsPlacedWithTheOwnersDecorations) {
    const QSize decoration = m_owner.frameGeometry().size() - m_owner.size();
    ASSERT_FALSE(decoration.isNull()) << "the platform gives the shown owner a frame";
    QWidget viewer;
    ASSERT_EQ(viewer.frameGeometry().size(), viewer.size()) << "not shown: no frame yet";
    tav::PlaceFrame(viewer, BesideOwner(m_owner), m_owner);
    EXPECT_EQ(QRect(viewer.pos(), viewer.size() + decoration), BesideOwner(m_owner));
    viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    EXPECT_EQ(viewer.frameGeometry(), BesideOwner(m_owner));
}

TEST(BesideFrameTest, RightOfTheOwnerElseLeftElseInsideTheArea) {
    const QRect area(0, 0, 1000, 700);
    struct Case {
        const char* name;
        QRect owner;
        QRect beside;
    };
    const std::vector<Case> cases = {
        {"room_on_the_right", QRect(10, 20, 300, 400), QRect(310, 20, 200, 400)},
        {"room_on_the_left_only", QRect(500, 20, 400, 400), QRect(300, 20, 200, 400)},
        {"maximised", QRect(0, 0, 1000, 700), QRect(800, 0, 200, 700)},
        {"partly_below_the_area", QRect(10, 600, 300, 400), QRect(310, 300, 200, 400)},
        {"off_to_the_right", QRect(1500, 20, 300, 400), QRect(800, 20, 200, 400)},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(tav::BesideFrame(c.owner, 200, area), c.beside) << c.name;
    }
}

}  // namespace
