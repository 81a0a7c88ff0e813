// HelpViewer: the built help file's default topic with its style sheet and pictures, links inside
// the file, and a message instead of a page for every file that cannot be shown.
#include <gtest/gtest.h>

#include <QDir>
#include <QImage>
#include <QPixmap>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <filesystem>
#include <random>
#include <string>
#include <vector>

#include "help/helpviewer.h"
#include "testutil.h"

namespace {

using tav::HelpViewer;

QString Q(const std::string& text) {
    return QString::fromStdString(text);
}

// The names of every picture the shown page refers to.
QStringList ImageNames(const QTextDocument& document) {
    QStringList names;
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        for (auto it = block.begin(); !it.atEnd(); ++it) {
            const QTextCharFormat format = it.fragment().charFormat();
            if (format.isImageFormat()) {
                names << format.toImageFormat().name();
            }
        }
    }
    return names;
}

QImage LoadedImage(HelpViewer& viewer, const QString& name) {
    const QVariant data = viewer.document()->resource(QTextDocument::ImageResource, QUrl(name));
    // The document keeps what it has decoded, as a pixmap or an image.
    if (data.userType() == QMetaType::QPixmap) {
        return data.value<QPixmap>().toImage();
    }
    if (data.userType() == QMetaType::QImage) {
        return data.value<QImage>();
    }
    return QImage::fromData(data.toByteArray());
}

QColor HeadingColour(const QTextDocument& document, const QString& heading) {
    for (QTextBlock block = document.begin(); block.isValid(); block = block.next()) {
        if (block.text().contains(heading) && !block.begin().atEnd()) {
            return block.begin().fragment().charFormat().foreground().color();
        }
    }
    return {};
}

class HelpViewerTest : public testing::Test {
protected:
    std::string CopyBuiltHelp() {
        const std::string path = m_dir.File("taca.chm");
        tavtest::WriteFile(path, tavtest::ReadFile(TAV_HELP_FILE));
        return path;
    }

    tavtest::TempDir m_dir;
    HelpViewer m_viewer;
};

TEST_F(HelpViewerTest, ShowsTheDefaultTopicWithItsStyleSheetAndPictures) {
    ASSERT_TRUE(m_viewer.ShowHelpFile(Q(CopyBuiltHelp())));
    EXPECT_TRUE(m_viewer.ErrorText().isEmpty());
    EXPECT_EQ(m_viewer.source().scheme(), HelpViewer::kScheme);
    EXPECT_EQ(m_viewer.source().path(), "/index.html");
    EXPECT_EQ(m_viewer.windowTitle(), "TAV Configuration Manager Help");
    EXPECT_TRUE(m_viewer.isWindow());
    // help.css colours the headings: the style sheet came out of the file too.
    EXPECT_EQ(HeadingColour(*m_viewer.document(), "Using the editor"), QColor("#1f4e8c"));
    const QStringList images = ImageNames(*m_viewer.document());
    ASSERT_EQ(images, QStringList{"images/appicon.svg"});
    EXPECT_EQ(LoadedImage(m_viewer, images.front()).size(), QSize(32, 32));
}

TEST_F(HelpViewerTest, FollowsLinksInsideTheFileAndBack) {
    ASSERT_TRUE(m_viewer.ShowHelpFile(Q(CopyBuiltHelp())));
    // The navigation line: "Contents | Next >". The keyboard walks the links as a user would.
    QTest::keyClick(&m_viewer, Qt::Key_Tab);
    QTest::keyClick(&m_viewer, Qt::Key_Tab);
    QTest::keyClick(&m_viewer, Qt::Key_Return);
    EXPECT_EQ(m_viewer.source().path(), "/mainwindow.html");
    EXPECT_TRUE(m_viewer.toPlainText().contains("The main window"));

    m_viewer.setSource(QUrl("tree.html"));
    EXPECT_EQ(m_viewer.source().path(), "/tree.html");
    const QStringList images = ImageNames(*m_viewer.document());
    EXPECT_EQ(images.size(), 12);
    for (const QString& name : images) {
        EXPECT_FALSE(LoadedImage(m_viewer, name).isNull()) << name.toStdString();
    }

    m_viewer.backward();
    m_viewer.backward();
    EXPECT_EQ(m_viewer.source().path(), "/index.html");
}

TEST_F(HelpViewerTest, StaysInsideTheHelpFile) {
    ASSERT_TRUE(m_viewer.ShowHelpFile(Q(CopyBuiltHelp())));
    for (const char* elsewhere : {"https://example.org/", "file:///etc/hostname", "qrc:/x.html"}) {
        m_viewer.setSource(QUrl(elsewhere));
        EXPECT_EQ(m_viewer.source().path(), "/index.html") << elsewhere;
        EXPECT_FALSE(m_viewer.loadResource(QTextDocument::HtmlResource, QUrl(elsewhere)).isValid())
            << elsewhere;
    }
    EXPECT_FALSE(m_viewer.loadResource(QTextDocument::ImageResource, QUrl("chm:/images/none.png"))
                     .isValid());

    m_viewer.setSource(QUrl("chm:/missing.html"));
    EXPECT_TRUE(m_viewer.toPlainText().contains("The help file holds no page /missing.html."));
}

TEST_F(HelpViewerTest, EveryShowStartsAgainAtTheDefaultTopic) {
    const std::string path = CopyBuiltHelp();
    const std::string intact = tavtest::ReadFile(path);
    ASSERT_TRUE(m_viewer.ShowHelpFile(Q(path)));
    m_viewer.setSource(QUrl("files.html"));
    ASSERT_TRUE(m_viewer.ShowHelpFile(Q(path)));
    EXPECT_EQ(m_viewer.source().path(), "/index.html");
    EXPECT_FALSE(m_viewer.isBackwardAvailable());

    // The file is read afresh every time: broken in between, then mended.
    tavtest::WriteFile(path, "broken");
    EXPECT_FALSE(m_viewer.ShowHelpFile(Q(path)));
    EXPECT_FALSE(
        m_viewer.loadResource(QTextDocument::HtmlResource, QUrl("chm:/index.html")).isValid());
    tavtest::WriteFile(path, intact);
    ASSERT_TRUE(m_viewer.ShowHelpFile(Q(path)));
    EXPECT_TRUE(m_viewer.toPlainText().contains("Using the editor"));
}

struct Unusable {
    const char* name;
    std::string (*make)(const tavtest::TempDir& dir);  // returns the path to show
    const char* reason;
};

std::string Write(const tavtest::TempDir& dir, const std::string& bytes) {
    const std::string path = dir.File("taca.chm");
    tavtest::WriteFile(path, bytes);
    return path;
}

TEST_F(HelpViewerTest, ShowsWhyAFileCannotBeShown) {
    const std::vector<Unusable> cases = {
        {"missing", [](const tavtest::TempDir& d) { return d.File("taca.chm"); },
         "No such file or directory"},
        {"folder",
         [](const tavtest::TempDir& d) {
             std::filesystem::create_directory(d.File("taca.chm"));
             return d.File("taca.chm");
         },
         "is a folder"},
        {"random_bytes",
         [](const tavtest::TempDir& d) {
             std::mt19937 random(3);
             std::string bytes(4096, '\0');
             for (char& c : bytes) {
                 c = static_cast<char>(random());
             }
             return Write(d, bytes);
         },
         "no ITSF signature"},
        {"absurd_directory_size",
         [](const tavtest::TempDir& d) {
             std::string bytes = tavtest::ReadFile(TAV_HELP_FILE);
             bytes.replace(0x50, 8, std::string(8, '\xFF'));
             return Write(d, bytes);
         },
         "directory lies outside the file"},
    };
    for (const Unusable& c : cases) {
        tavtest::TempDir dir;
        const QString path = Q(c.make(dir));
        HelpViewer viewer;
        EXPECT_FALSE(viewer.ShowHelpFile(path)) << c.name;
        EXPECT_TRUE(viewer.ErrorText().contains(QDir::toNativeSeparators(path))) << c.name;
        EXPECT_TRUE(viewer.ErrorText().contains(c.reason))
            << c.name << ": " << viewer.ErrorText().toStdString();
        EXPECT_TRUE(viewer.toPlainText().contains(viewer.ErrorText())) << c.name;
    }
}

}  // namespace
