// HelpViewer: the built help file's default topic with its style sheet and pictures, links inside
// the file, and a message instead of a page for every file that cannot be shown.
#include <gtest/gtest.h>

#include <QApplication>
#include <QDir>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPixmap>
#include <QPushButton>
#include <QSplitter>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTest>
#include <QTextBlock>
#include <QTextDocument>
#include <QToolButton>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <filesystem>
#include <functional>
#include <random>
#include <string>
#include <vector>

#include "help/chmsitemap.h"
#include "help/helpbrowser.h"
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

QImage LoadedImage(tav::HelpBrowser& viewer, const QString& name) {
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
    EXPECT_EQ(m_viewer.Browser().source().scheme(), tav::HelpBrowser::kScheme);
    EXPECT_EQ(m_viewer.Browser().source().path(), "/index.html");
    EXPECT_EQ(m_viewer.windowTitle(), "TAV Configuration Manager Help");
    EXPECT_TRUE(m_viewer.isWindow());
    // help.css colours the headings: the style sheet came out of the file too.
    EXPECT_EQ(HeadingColour(*m_viewer.Browser().document(), "Using the editor"), QColor("#1f4e8c"));
    const QStringList images = ImageNames(*m_viewer.Browser().document());
    ASSERT_EQ(images, QStringList{"images/appicon.svg"});
    EXPECT_EQ(LoadedImage(m_viewer.Browser(), images.front()).size(), QSize(32, 32));
}

TEST_F(HelpViewerTest, FollowsLinksInsideTheFileAndBack) {
    ASSERT_TRUE(m_viewer.ShowHelpFile(Q(CopyBuiltHelp())));
    // The navigation line: "Contents | All pages and the index | Next >". The keyboard walks the
    // links as a user would.
    for (int link = 0; link < 3; ++link) {
        QTest::keyClick(&m_viewer.Browser(), Qt::Key_Tab);
    }
    QTest::keyClick(&m_viewer.Browser(), Qt::Key_Return);
    EXPECT_EQ(m_viewer.Browser().source().path(), "/mainwindow.html");
    EXPECT_TRUE(m_viewer.Browser().toPlainText().contains("The main window"));

    m_viewer.Browser().setSource(QUrl("tree.html"));
    EXPECT_EQ(m_viewer.Browser().source().path(), "/tree.html");
    const QStringList images = ImageNames(*m_viewer.Browser().document());
    EXPECT_EQ(images.size(), 12);
    for (const QString& name : images) {
        EXPECT_FALSE(LoadedImage(m_viewer.Browser(), name).isNull()) << name.toStdString();
    }

    m_viewer.Browser().backward();
    m_viewer.Browser().backward();
    EXPECT_EQ(m_viewer.Browser().source().path(), "/index.html");
}

TEST_F(HelpViewerTest, StaysInsideTheHelpFile) {
    ASSERT_TRUE(m_viewer.ShowHelpFile(Q(CopyBuiltHelp())));
    for (const char* elsewhere : {"https://example.org/", "file:///etc/hostname", "qrc:/x.html"}) {
        m_viewer.Browser().setSource(QUrl(elsewhere));
        EXPECT_EQ(m_viewer.Browser().source().path(), "/index.html") << elsewhere;
        EXPECT_FALSE(
            m_viewer.Browser().loadResource(QTextDocument::HtmlResource, QUrl(elsewhere)).isValid())
            << elsewhere;
    }
    EXPECT_FALSE(m_viewer.Browser()
                     .loadResource(QTextDocument::ImageResource, QUrl("chm:/images/none.png"))
                     .isValid());

    m_viewer.Browser().setSource(QUrl("chm:/missing.html"));
    EXPECT_TRUE(
        m_viewer.Browser().toPlainText().contains("The help file holds no page /missing.html."));
}

TEST_F(HelpViewerTest, EveryShowStartsAgainAtTheDefaultTopic) {
    const std::string path = CopyBuiltHelp();
    const std::string intact = tavtest::ReadFile(path);
    ASSERT_TRUE(m_viewer.ShowHelpFile(Q(path)));
    m_viewer.Browser().setSource(QUrl("files.html"));
    ASSERT_TRUE(m_viewer.ShowHelpFile(Q(path)));
    EXPECT_EQ(m_viewer.Browser().source().path(), "/index.html");
    EXPECT_FALSE(m_viewer.Browser().isBackwardAvailable());

    // The file is read afresh every time: broken in between, then mended.
    tavtest::WriteFile(path, "broken");
    EXPECT_FALSE(m_viewer.ShowHelpFile(Q(path)));
    EXPECT_FALSE(m_viewer.Browser()
                     .loadResource(QTextDocument::HtmlResource, QUrl("chm:/index.html"))
                     .isValid());
    tavtest::WriteFile(path, intact);
    ASSERT_TRUE(m_viewer.ShowHelpFile(Q(path)));
    EXPECT_TRUE(m_viewer.Browser().toPlainText().contains("Using the editor"));
}

// The contents tree as "name|page" lines, two spaces per level, like the sitemap's outline.
std::string TreeOutline(const QTreeWidgetItem& parent, int depth = 0) {
    std::string text;
    for (int i = 0; i < parent.childCount(); ++i) {
        const QTreeWidgetItem& item = *parent.child(i);
        text += std::string(2 * depth, ' ') + item.text(0).toStdString() + '|' +
                item.data(0, HelpViewer::kTopicRole).toUrl().path().toStdString() + '\n';
        text += TreeOutline(item, depth + 1);
    }
    return text;
}

std::string SitemapOutline(const std::vector<tav::SitemapEntry>& entries, int depth = 0) {
    std::string text;
    for (const tav::SitemapEntry& entry : entries) {
        text += std::string(2 * depth, ' ') + entry.name + '|' +
                (entry.local.empty() ? "" : "/" + entry.local) + '\n';
        text += SitemapOutline(entry.children, depth + 1);
    }
    return text;
}

void Click(QTreeWidget& tree, QTreeWidgetItem* item) {
    tree.scrollToItem(item);
    QTest::mouseClick(tree.viewport(), Qt::LeftButton, {}, tree.visualItemRect(item).center());
}

void Click(QListWidget& list, QListWidgetItem* item) {
    list.scrollToItem(item);
    QTest::mouseClick(list.viewport(), Qt::LeftButton, {}, list.visualItemRect(item).center());
}

TEST_F(HelpViewerTest, TheContentsTabListsTheContentsFileAndOpensItsPages) {
    ASSERT_TRUE(m_viewer.ShowHelpFile(Q(CopyBuiltHelp())));
    QTreeWidget& tree = m_viewer.ContentsTree();
    // The sources' own contents file, read on its own, gives the expected outline.
    const std::string expected =
        SitemapOutline(tav::ParseSitemap(tavtest::ReadFile(TAV_HELP_SOURCES_DIR "/toc.hhc")));
    EXPECT_EQ(TreeOutline(*tree.invisibleRootItem()), expected);
    EXPECT_NE(expected.find("  The tree and its icons|/tree.html\n"), std::string::npos);

    m_viewer.resize(800, 600);
    m_viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_viewer));
    QTreeWidgetItem* treePage = tree.topLevelItem(1)->child(1);
    Click(tree, treePage);
    EXPECT_EQ(m_viewer.Browser().source().path(), "/tree.html");
    EXPECT_TRUE(m_viewer.Browser().toPlainText().contains("The tree and its icons"));
    // A heading without a page leaves the page alone.
    Click(tree, tree.topLevelItem(1));
    EXPECT_EQ(m_viewer.Browser().source().path(), "/tree.html");
}

TEST_F(HelpViewerTest, TheIndexFilterFindsAKeywordAndOpensItsPage) {
    ASSERT_TRUE(m_viewer.ShowHelpFile(Q(CopyBuiltHelp())));
    m_viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_viewer));
    QListWidget& list = m_viewer.IndexList();
    EXPECT_EQ(list.count(), static_cast<int>(tav::CountEntries(tav::ParseSitemap(
                                tavtest::ReadFile(TAV_HELP_SOURCES_DIR "/index.hhk")))));
    m_viewer.Tabs().setCurrentIndex(1);
    QTest::keyClicks(&m_viewer.IndexFilter(), "HOLLOW");
    QStringList shown;
    for (int row = 0; row < list.count(); ++row) {
        if (!list.item(row)->isHidden()) {
            shown << list.item(row)->text();
        }
    }
    EXPECT_EQ(shown, QStringList{"hollow circle"});
    QTest::keyClick(&m_viewer.IndexFilter(), Qt::Key_Return);
    EXPECT_EQ(m_viewer.Browser().source().path(), "/tree.html");

    m_viewer.IndexFilter().clear();
    const QList<QListWidgetItem*> drag = list.findItems("drag and drop", Qt::MatchExactly);
    ASSERT_EQ(drag.size(), 1);
    Click(list, drag.front());
    EXPECT_EQ(m_viewer.Browser().source().path(), "/reorder.html");
}

TEST_F(HelpViewerTest, SearchRanksThePagesUsingTheWordsMostFirst) {
    ASSERT_TRUE(m_viewer.ShowHelpFile(Q(CopyBuiltHelp())));
    m_viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&m_viewer));
    m_viewer.Tabs().setCurrentIndex(2);
    QListWidget& results = m_viewer.SearchResults();
    QTest::keyClicks(&m_viewer.SearchLine(), "Drop DRAG");
    QTest::keyClick(&m_viewer.SearchLine(), Qt::Key_Return);
    ASSERT_GE(results.count(), 2);
    EXPECT_EQ(results.item(0)->text(), "Reordering entries by drag and drop");
    Click(results, results.item(0));
    EXPECT_EQ(m_viewer.Browser().source().path(), "/reorder.html");

    m_viewer.SearchLine().setText("drag xyzzyq");
    QTest::keyClick(&m_viewer.SearchLine(), Qt::Key_Return);
    EXPECT_EQ(results.count(), 0);
    EXPECT_EQ(m_viewer.SearchStatus().text(), "No page holds every word.");
}

TEST_F(HelpViewerTest, BackForwardAndHomeMoveThroughTheHistory) {
    ASSERT_TRUE(m_viewer.ShowHelpFile(Q(CopyBuiltHelp()), "files.html"));
    tav::HelpBrowser& page = m_viewer.Browser();
    EXPECT_EQ(page.source().path(), "/files.html");
    EXPECT_FALSE(m_viewer.BackButton().isEnabled());
    EXPECT_FALSE(m_viewer.ForwardButton().isEnabled());
    page.setSource(QUrl("tree.html"));
    const std::vector<std::pair<QPushButton*, const char*>> steps = {
        {&m_viewer.BackButton(), "/files.html"}, {&m_viewer.ForwardButton(), "/tree.html"},
        {&m_viewer.HomeButton(), "/index.html"}, {&m_viewer.BackButton(), "/tree.html"},
        {&m_viewer.BackButton(), "/files.html"},
    };
    for (const auto& [button, path] : steps) {
        ASSERT_TRUE(button->isEnabled()) << path;
        QTest::mouseClick(button, Qt::LeftButton);
        EXPECT_EQ(page.source().path(), path);
    }
    EXPECT_FALSE(m_viewer.BackButton().isEnabled());
    EXPECT_TRUE(m_viewer.ForwardButton().isEnabled());

    // A page the file does not hold: the default topic instead.
    ASSERT_TRUE(m_viewer.ShowHelpFile(Q(CopyBuiltHelp()), "nowhere.html"));
    EXPECT_EQ(page.source().path(), "/index.html");
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
        EXPECT_TRUE(viewer.Browser().toPlainText().contains(viewer.ErrorText())) << c.name;
        EXPECT_EQ(viewer.ContentsTree().topLevelItemCount(), 0) << c.name;
        EXPECT_EQ(viewer.IndexList().count(), 0) << c.name;
    }
}

// The title of the first tab of `tabs` that the bar cuts or scrolls out of sight; empty when every
// title shows whole.
QString CutTabTitle(const QTabBar& tabs) {
    for (int i = 0; i < tabs.count(); ++i) {
        const QString title = tabs.tabText(i).remove(u'&');
        if (!tabs.rect().contains(tabs.tabRect(i)) ||
            tabs.tabRect(i).width() < tabs.fontMetrics().horizontalAdvance(title)) {
            return title;
        }
    }
    return {};
}

TEST(HelpViewerLayout, TheSidePaneShowsEveryTabTitleWholeAndKeepsTheUsersWidth) {
    const QFont font = QApplication::font();
    QFont larger = font;
    larger.setPointSizeF(font.pointSizeF() * 1.6);
    for (const QFont& used : {font, larger}) {
        QApplication::setFont(used);
        HelpViewer viewer;
        viewer.show();
        ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
        const QTabBar& tabs = *viewer.Tabs().tabBar();
        EXPECT_EQ(CutTabTitle(tabs).toStdString(), "") << used.pointSizeF() << " pt";
        EXPECT_GE(tabs.width(), tabs.sizeHint().width()) << used.pointSizeF() << " pt";

        // The width the user drags the pane to stays as the window is resized either way.
        const int chosen = viewer.Tabs().width() + 70;
        viewer.Splitter().setSizes({chosen, viewer.Splitter().width() - chosen});
        for (const int change : {150, -200}) {
            viewer.resize(viewer.width() + change, viewer.height());
            EXPECT_EQ(viewer.Tabs().width(), chosen) << used.pointSizeF() << " pt, " << change;
        }
    }
    QApplication::setFont(font);
}

TEST(HelpViewerLayout, AtTheDefaultSizeTheContentsShowEveryTitleWhole) {
    HelpViewer viewer;
    ASSERT_TRUE(viewer.ShowHelpFile(TAV_HELP_FILE));
    viewer.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&viewer));
    QTreeWidget& tree = viewer.ContentsTree();
    const int margins =
        2 * (tree.style()->pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, &tree) + 1);
    QStringList cut;
    int titles = 0;
    for (QTreeWidgetItemIterator it(&tree); *it != nullptr; ++it, ++titles) {
        const QString title = (*it)->text(0);
        EXPECT_EQ((*it)->toolTip(0), title);
        const QRect rect = tree.visualItemRect(*it);
        if (rect.right() >= tree.viewport()->width() ||
            rect.width() < tree.fontMetrics().horizontalAdvance(title) + margins) {
            cut << title;
        }
    }
    EXPECT_GT(titles, 10);
    EXPECT_EQ(cut.join(u'|').toStdString(), "");
    // The page keeps the larger part of the window.
    EXPECT_LE(viewer.Tabs().width(), viewer.width() * HelpViewer::kMaxSidePaneShare / 100);

    // However narrow the user makes the pane, every tab stays whole, without scroll buttons.
    viewer.Splitter().setSizes({10, viewer.Splitter().width() - 10});
    const QTabBar& tabs = *viewer.Tabs().tabBar();
    EXPECT_EQ(CutTabTitle(tabs).toStdString(), "");
    EXPECT_GE(tabs.width(), tabs.sizeHint().width());
    for (const QToolButton* button : tabs.findChildren<QToolButton*>()) {
        EXPECT_FALSE(button->isVisible());
    }
}

}  // namespace
