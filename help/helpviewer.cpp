#include "help/helpviewer.h"

#include <QDir>
#include <QFile>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QShowEvent>
#include <QSplitter>
#include <QStyle>
#include <QTabBar>
#include <QTabWidget>
#include <QTreeWidget>
#include <QTreeWidgetItemIterator>
#include <QVBoxLayout>
#include <algorithm>

#include "help/chmfile.h"
#include "help/helpbrowser.h"
#include "qtbridge/textconv.h"

namespace tav {

namespace {

constexpr int kDefaultWidth = 600;
constexpr int kDefaultHeight = 450;
// The service places the viewer beside windows of any height: the controls may be squeezed.
constexpr int kMinimumSide = 100;

QString DefaultTitle() {
    return HelpViewer::tr("TAV Configuration Manager Help");
}

void AddContentsItems(QTreeWidgetItem* parent, const std::vector<SitemapEntry>& entries) {
    for (const SitemapEntry& entry : entries) {
        auto* item = new QTreeWidgetItem(parent);
        const QString title = ToQt(entry.name.empty() ? entry.local : entry.name);
        item->setText(0, title);
        // A title wider than the pane is cut there: the tooltip shows it whole.
        item->setToolTip(0, title);
        if (!entry.local.empty()) {
            item->setData(0, HelpViewer::kTopicRole, HelpBrowser::TopicUrl(entry.local));
        }
        AddContentsItems(item, entry.children);
    }
}

// Sub-keywords are listed after their keyword as "keyword, sub-keyword".
void AddIndexItems(QListWidget& list, const std::vector<SitemapEntry>& entries,
                   const QString& prefix) {
    for (const SitemapEntry& entry : entries) {
        const QString name = prefix + ToQt(entry.name);
        if (!entry.local.empty()) {
            auto* item = new QListWidgetItem(name, &list);
            item->setData(HelpViewer::kTopicRole, HelpBrowser::TopicUrl(entry.local));
        }
        AddIndexItems(list, entry.children, name + QStringLiteral(", "));
    }
}

}  // namespace

HelpViewer::HelpViewer(QWidget* parent) : QWidget(parent) {
    setWindowFlag(Qt::Window);
    setWindowTitle(DefaultTitle());
    CreateControls();
    CreateLayout();
    ConnectControls();
    setMinimumSize(kMinimumSide, kMinimumSide);
    resize(kDefaultWidth, kDefaultHeight);
}

HelpViewer::~HelpViewer() = default;

void HelpViewer::CreateControls() {
    m_back = new QPushButton(tr("&Back"), this);
    m_back->setShortcut(QKeySequence::Back);
    m_forward = new QPushButton(tr("&Forward"), this);
    m_forward->setShortcut(QKeySequence::Forward);
    m_home = new QPushButton(tr("&Home"), this);
    m_back->setEnabled(false);
    m_forward->setEnabled(false);

    m_contents = new QTreeWidget(this);
    m_contents->setHeaderHidden(true);
    m_indexFilter = new QLineEdit(this);
    m_indexFilter->setPlaceholderText(tr("Type the keyword to find"));
    m_indexFilter->setClearButtonEnabled(true);
    m_indexList = new QListWidget(this);
    m_searchLine = new QLineEdit(this);
    m_searchLine->setPlaceholderText(tr("Words to search for, then Enter"));
    m_searchResults = new QListWidget(this);
    m_searchStatus = new QLabel(this);
    m_searchStatus->setWordWrap(true);
    m_browser = new HelpBrowser(this);
}

void HelpViewer::CreateLayout() {
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_back);
    buttons->addWidget(m_forward);
    buttons->addWidget(m_home);
    buttons->addStretch();

    auto* indexPage = new QWidget(this);
    auto* indexLayout = new QVBoxLayout(indexPage);
    indexLayout->addWidget(m_indexFilter);
    indexLayout->addWidget(m_indexList);
    auto* searchPage = new QWidget(this);
    auto* searchLayout = new QVBoxLayout(searchPage);
    searchLayout->addWidget(m_searchLine);
    searchLayout->addWidget(m_searchResults);
    searchLayout->addWidget(m_searchStatus);

    m_tabs = new QTabWidget(this);
    m_tabs->addTab(m_contents, tr("&Contents"));
    m_tabs->addTab(indexPage, tr("I&ndex"));
    m_tabs->addTab(searchPage, tr("&Search"));
    // A tab bar without scroll buttons asks for the room of all its tabs as its minimum, which
    // the splitter then never takes away: no tab is ever scrolled out of sight or elided.
    m_tabs->tabBar()->setUsesScrollButtons(false);
    m_tabs->tabBar()->setElideMode(Qt::ElideNone);

    // Only the page grows and shrinks with the window: the side pane keeps its width.
    m_splitter = new QSplitter(Qt::Horizontal, this);
    m_splitter->addWidget(m_tabs);
    m_splitter->addWidget(m_browser);
    m_splitter->setStretchFactor(1, 1);
    m_splitter->setChildrenCollapsible(false);
    FitSidePane();

    auto* layout = new QVBoxLayout(this);
    layout->addLayout(buttons);
    layout->addWidget(m_splitter, 1);
}

int HelpViewer::SidePaneWidth() const {
    // The tab bar's own size hint adds up its tabs, each as wide as its title in the bar's font
    // with the style's padding; the pane's frame comes on both sides.
    const int frame = m_tabs->style()->pixelMetric(QStyle::PM_DefaultFrameWidth, nullptr, m_tabs);
    const int tabs = m_tabs->tabBar()->sizeHint().width() + 2 * frame;
    const int contents = ContentsWidth() + 2 * frame;
    return std::max(tabs, std::min(contents, width() * kMaxSidePaneShare / 100));
}

int HelpViewer::ContentsWidth() const {
    // Each title as the tree draws it: after the indentation of its level (the top level's too,
    // for the expand marks), within the item's text margins.
    const QStyle& style = *m_contents->style();
    const int margins =
        2 * (style.pixelMetric(QStyle::PM_FocusFrameHMargin, nullptr, m_contents) + 1);
    int widest = 0;
    for (QTreeWidgetItemIterator it(m_contents); *it != nullptr; ++it) {
        int level = m_contents->rootIsDecorated() ? 1 : 0;
        for (const QTreeWidgetItem* parent = (*it)->parent(); parent != nullptr;
             parent = parent->parent()) {
            ++level;
        }
        widest = std::max(widest, level * m_contents->indentation() + margins +
                                      m_contents->fontMetrics().horizontalAdvance((*it)->text(0)));
    }
    // The tree's frame, and room for its vertical scroll bar, which a short window shows.
    return widest + 2 * m_contents->frameWidth() +
           style.pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, m_contents);
}

void HelpViewer::FitSidePane() {
    if (m_paneChosen) {
        return;
    }
    // Before it is shown the splitter has no width of its own yet: the window's is near it.
    const int total = isVisible() ? m_splitter->width() : width();
    const int pane = SidePaneWidth();
    m_splitter->setSizes({pane, std::max(total - pane, 1)});
}

void HelpViewer::showEvent(QShowEvent* event) {
    QWidget::showEvent(event);
    // Only now do the fonts and the style's metrics hold their final values.
    if (!event->spontaneous()) {
        FitSidePane();
    }
}

void HelpViewer::moveEvent(QMoveEvent* event) {
    QWidget::moveEvent(event);
    ReportPlacement();
}

void HelpViewer::resizeEvent(QResizeEvent* event) {
    QWidget::resizeEvent(event);
    ReportPlacement();
}

void HelpViewer::ReportPlacement() {
    if (isVisible() &&
        (windowState() & (Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen)) == 0) {
        emit placementChanged();
    }
}

void HelpViewer::ConnectControls() {
    connect(m_back, &QPushButton::clicked, m_browser, &HelpBrowser::backward);
    connect(m_forward, &QPushButton::clicked, m_browser, &HelpBrowser::forward);
    connect(m_home, &QPushButton::clicked, this, &HelpViewer::GoHome);
    connect(m_browser, &HelpBrowser::backwardAvailable, m_back, &QPushButton::setEnabled);
    connect(m_browser, &HelpBrowser::forwardAvailable, m_forward, &QPushButton::setEnabled);
    connect(m_browser, &HelpBrowser::sourceChanged, this, &HelpViewer::MarkContentsEntry);

    const auto openTreeItem = [this](QTreeWidgetItem* item) {
        OpenItemTopic(item->data(0, kTopicRole));
    };
    connect(m_contents, &QTreeWidget::itemClicked, this, openTreeItem);
    connect(m_contents, &QTreeWidget::itemActivated, this, openTreeItem);
    const auto openListItem = [this](QListWidgetItem* item) {
        OpenItemTopic(item->data(kTopicRole));
    };
    for (QListWidget* list : {m_indexList, m_searchResults}) {
        connect(list, &QListWidget::itemClicked, this, openListItem);
        connect(list, &QListWidget::itemActivated, this, openListItem);
    }
    connect(m_indexFilter, &QLineEdit::textChanged, this, &HelpViewer::FilterIndex);
    connect(m_indexFilter, &QLineEdit::returnPressed, this, &HelpViewer::OpenFirstIndexMatch);
    connect(m_searchLine, &QLineEdit::returnPressed, this, &HelpViewer::RunSearch);
    connect(m_splitter, &QSplitter::splitterMoved, this, [this] { m_paneChosen = true; });
}

bool HelpViewer::ShowHelpFile(const QString& path, const std::string& page) {
    Clear();
    Expected<std::unique_ptr<ChmFile>> opened =
        ChmFile::Open(QFile::encodeName(path).toStdString());
    if (!opened) {
        ShowError(path, QString::fromLocal8Bit(opened.Error().reason));
        return false;
    }
    const std::string topic = (*opened)->DefaultTopic();
    if (topic.empty()) {
        ShowError(path, tr("it holds no page to show"));
        return false;
    }
    const std::string title = (*opened)->Title();
    setWindowTitle(title.empty() ? DefaultTitle() : ToQt(title));
    m_file = std::move(*opened);
    m_error.clear();
    m_browser->SetFile(m_file.get());
    FillContents();
    FillIndex();
    FitSidePane();
    m_search = BuildSearchIndex(*m_file);

    m_homeUrl = HelpBrowser::TopicUrl(topic);
    const bool hasPage = !page.empty() && m_file->Exists(ChmTopicObject(page));
    const QUrl url = hasPage ? HelpBrowser::TopicUrl(page) : m_homeUrl;
    // The file was opened afresh: the same page must be read again, not kept.
    if (m_browser->source() == url) {
        m_browser->reload();
    } else {
        m_browser->setSource(url);
    }
    m_browser->clearHistory();
    MarkContentsEntry(m_browser->source());
    return true;
}

void HelpViewer::Clear() {
    m_browser->SetFile(nullptr);
    m_file.reset();
    m_search = {};
    m_homeUrl.clear();
    m_contents->clear();
    m_indexFilter->clear();
    m_indexList->clear();
    m_searchResults->clear();
    m_searchStatus->clear();
}

void HelpViewer::ShowError(const QString& path, const QString& reason) {
    Clear();
    m_error =
        tr("The help file %1 could not be shown: %2.").arg(QDir::toNativeSeparators(path), reason);
    setWindowTitle(DefaultTitle());
    m_browser->ShowMessage(tr("Help is not available"), m_error);
}

void HelpViewer::FillContents() {
    AddContentsItems(m_contents->invisibleRootItem(), m_file->Contents());
    m_contents->expandAll();
}

void HelpViewer::FillIndex() {
    AddIndexItems(*m_indexList, m_file->Keywords(), {});
}

void HelpViewer::OpenItemTopic(const QVariant& topic) {
    if (topic.isValid()) {
        m_browser->setSource(topic.toUrl());
    }
}

void HelpViewer::GoHome() {
    if (m_file) {
        m_browser->setSource(m_homeUrl);
    }
}

void HelpViewer::FilterIndex(const QString& text) {
    QListWidgetItem* first = nullptr;
    for (int row = 0; row < m_indexList->count(); ++row) {
        QListWidgetItem* item = m_indexList->item(row);
        const bool matches = item->text().contains(text, Qt::CaseInsensitive);
        item->setHidden(!matches);
        if (matches && first == nullptr) {
            first = item;
        }
    }
    m_indexList->setCurrentItem(first);
}

void HelpViewer::OpenFirstIndexMatch() {
    if (QListWidgetItem* item = m_indexList->currentItem(); item != nullptr && !item->isHidden()) {
        OpenItemTopic(item->data(kTopicRole));
    }
}

void HelpViewer::RunSearch() {
    m_searchResults->clear();
    const std::vector<SearchHit> hits = m_search.Find(FromQt(m_searchLine->text()));
    for (const SearchHit& hit : hits) {
        auto* item = new QListWidgetItem(ToQt(hit.title), m_searchResults);
        item->setData(kTopicRole, HelpBrowser::TopicUrl(hit.page));
        item->setToolTip(
            tr("%1 (%n occurrence(s))", nullptr, static_cast<int>(hit.score)).arg(ToQt(hit.page)));
    }
    m_searchStatus->setText(hits.empty()
                                ? tr("No page holds every word.")
                                : tr("%n page(s) found.", nullptr, static_cast<int>(hits.size())));
}

void HelpViewer::MarkContentsEntry(const QUrl& url) {
    for (QTreeWidgetItemIterator it(m_contents); *it != nullptr; ++it) {
        const QUrl topic = (*it)->data(0, kTopicRole).toUrl();
        if (topic.isValid() && topic.path().compare(url.path(), Qt::CaseInsensitive) == 0) {
            m_contents->setCurrentItem(*it);
            return;
        }
    }
}

}  // namespace tav
