// The real main window over the real help service: every way of asking for help shows the built
// help file against the window's right edge (then where the user left it), at the page about the
// control with the focus, and wholly on the window's screen.
#include <gtest/gtest.h>

#include <QAction>
#include <QApplication>
#include <QBuffer>
#include <QDir>
#include <QGuiApplication>
#include <QImage>
#include <QImageReader>
#include <QImageWriter>
#include <QLibraryInfo>
#include <QScreen>
#include <QTest>
#include <QTextDocument>
#include <QTimer>
#include <QToolBar>
#include <functional>
#include <string>
#include <vector>

#include "catalog/catalogues.h"
#include "help/chmhelpservice.h"
#include "help/helpbrowser.h"
#include "help/helpviewer.h"
#include "help/screenfit.h"
#include "testutil.h"
#include "tree/configtree.h"
#include "ui/filechooser.h"
#include "ui/maindialog.h"
#include "ui/messagereporter.h"
#include "ui/programstyle.h"

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
    const QRect area = QGuiApplication::primaryScreen()->availableGeometry();
    tavtest::TempDir folder;
    tavtest::WriteFile(folder.File("taca.chm"), tavtest::ReadFile(TAV_HELP_FILE));
    NoFiles files;
    RecordedMessages messages;
    CountingLauncher launcher;
    tav::ChmHelpService help(QString::fromStdString(folder.Path()), launcher);
    tav::MainDialog window(tav::LoadCatalogues(TAV_EXAMPLES_DIR, {}), {}, {files, messages, help});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    QAction* contents = window.HelpContentsAction();
    auto* toolBar = window.findChild<QToolBar*>();
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
        QRect left;
        if (tav::HelpViewer* viewer = help.Viewer()) {
            viewer->Browser().setSource(QUrl("files.html"));
            viewer->setGeometry(area.x() + 10, area.y() + 10, 200, 150);
            left = viewer->frameGeometry();
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
        const QRect beside = tav::BesideFrame(window.frameGeometry(), 600, area);
        EXPECT_EQ(viewer->frameGeometry(), left.isNull() ? beside : left) << way.name;
    }
    EXPECT_EQ(launcher.calls, 0);
    EXPECT_TRUE(messages.shown.empty());
}

// F1 on a window that leaves no room beside it: the help window still lies wholly on the
// window's screen, as wide as it would be beside the window; so does the About box.
TEST(HelpFromTheWindow, HelpAndAboutOverAMaximisedOrRightEdgeWindowLieWhollyOnItsScreen) {
    tavtest::TempDir folder;
    tavtest::WriteFile(folder.File("taca.chm"), tavtest::ReadFile(TAV_HELP_FILE));
    struct Case {
        const char* name;
        std::function<void(QWidget&)> place;
    };
    const std::vector<Case> cases = {
        {"maximised", [](QWidget& window) { window.showMaximized(); }},
        {"at_the_right_edge",
         [](QWidget& window) {
             const QRect area = window.screen()->availableGeometry();
             window.move(area.right() - window.frameGeometry().width() + 1, area.y() + 30);
         }},
    };
    for (const Case& c : cases) {
        NoFiles files;
        RecordedMessages messages;
        CountingLauncher launcher;
        tav::ChmHelpService help(QString::fromStdString(folder.Path()), launcher);
        tav::MainDialog window(tav::LoadCatalogues(TAV_EXAMPLES_DIR, {}), {},
                               {files, messages, help});
        window.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&window)) << c.name;
        c.place(window);
        window.Tree().setFocus();
        QTest::keyClick(&window.Tree(), Qt::Key_F1);
        tav::HelpViewer* viewer = help.Viewer();
        ASSERT_NE(viewer, nullptr) << c.name;
        EXPECT_TRUE(viewer->isVisible()) << c.name;
        const QRect area = window.screen()->availableGeometry();
        const QRect frame = viewer->frameGeometry();
        EXPECT_TRUE(area.contains(frame))
            << c.name << ": " << frame.x() << "," << frame.y() << " " << frame.width() << "x"
            << frame.height() << " on " << area.width() << "x" << area.height();
        EXPECT_EQ(frame.width(), tav::ChmHelpService::kViewerWidth) << c.name;

        QRect about;
        QTimer::singleShot(0, [&about] {
            if (QWidget* box = QApplication::activeModalWidget()) {
                about = box->frameGeometry();
                box->close();
            }
        });
        window.AboutAction()->trigger();
        EXPECT_TRUE(area.contains(about))
            << c.name << ": the About box at " << about.x() << "," << about.y() << " "
            << about.width() << "x" << about.height();
    }
}

// A picture of one white pixel, as a GIF file holds it.
const unsigned char kGifPixel[] = {0x47, 0x49, 0x46, 0x38, 0x39, 0x61, 0x01, 0x00, 0x01, 0x00, 0x80,
                                   0x00, 0x00, 0xff, 0xff, 0xff, 0x00, 0x00, 0x00, 0x21, 0xf9, 0x04,
                                   0x01, 0x00, 0x00, 0x00, 0x00, 0x2c, 0x00, 0x00, 0x00, 0x00, 0x01,
                                   0x00, 0x01, 0x00, 0x00, 0x02, 0x02, 0x44, 0x01, 0x00, 0x3b};

QByteArray JpegBytes(const QImage& image) {
    QBuffer buffer;
    buffer.open(QIODevice::WriteOnly);
    QImageWriter writer(&buffer, "jpeg");
    EXPECT_TRUE(writer.write(image)) << writer.errorString().toStdString();
    return buffer.data();
}

// The program's style keeps the first window from reading any image file, and so from loading
// Qt's image-format plugins; the help viewer opened from that window still reads the pictures a
// help page may hold, in every format whose plugin is installed.
TEST(HelpFromTheWindow, TheViewerReadsPicturesInEveryInstalledFormat) {
    const QDir plugins(QLibraryInfo::path(QLibraryInfo::PluginsPath) +
                       QStringLiteral("/imageformats"));
    const auto installed = [&plugins](const char* file) {
        return plugins.exists(QLatin1String(file));
    };
    if (!installed("libqsvg.so") && !installed("libqgif.so") && !installed("libqjpeg.so")) {
        GTEST_SKIP() << "no image-format plugin is installed in " << plugins.path().toStdString();
    }
    if (qobject_cast<tav::ProgramStyle*>(QApplication::style()) == nullptr) {
        QApplication::setStyle(new tav::ProgramStyle);
    }
    tavtest::TempDir folder;
    tavtest::WriteFile(folder.File("taca.chm"), tavtest::ReadFile(TAV_HELP_FILE));
    NoFiles files;
    RecordedMessages messages;
    CountingLauncher launcher;
    tav::ChmHelpService help(QString::fromStdString(folder.Path()), launcher);
    tav::MainDialog window(tav::LoadCatalogues(TAV_EXAMPLES_DIR, {}), {}, {files, messages, help});
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));
    window.HelpContentsAction()->trigger();
    ASSERT_NE(help.Viewer(), nullptr);

    const QList<QByteArray> formats = QImageReader::supportedImageFormats();
    if (installed("libqsvg.so")) {
        EXPECT_TRUE(formats.contains("svg"));
        // The default topic shows the program icon from its SVG file.
        const QVariant icon = help.Viewer()->Browser().document()->resource(
            QTextDocument::ImageResource, QUrl(QStringLiteral("images/appicon.svg")));
        EXPECT_EQ(icon.value<QPixmap>().size(), QSize(32, 32));
    }
    if (installed("libqgif.so")) {
        EXPECT_TRUE(formats.contains("gif"));
        const QByteArray gif(reinterpret_cast<const char*>(kGifPixel), sizeof kGifPixel);
        EXPECT_EQ(QImage::fromData(gif).size(), QSize(1, 1));
    }
    if (installed("libqjpeg.so")) {
        EXPECT_TRUE(formats.contains("jpeg"));
        QImage picture(3, 2, QImage::Format_RGB32);
        picture.fill(Qt::darkCyan);
        EXPECT_EQ(QImage::fromData(JpegBytes(picture)).size(), QSize(3, 2));
    }
}

}  // namespace
