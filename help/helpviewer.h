// The program's own viewer for compiled HTML help files: a top-level window with Back, Forward and
// Home buttons over a splitter, the help file's contents, keyword index and full-text search in
// tabs on the left and the page (HelpBrowser) on the right.
#pragma once

#include <QString>
#include <QUrl>
#include <QWidget>
#include <memory>
#include <string>

#include "help/chmsearch.h"

class QLabel;
class QLineEdit;
class QListWidget;
class QListWidgetItem;
class QPushButton;
class QSplitter;
class QTabWidget;
class QTreeWidget;
class QTreeWidgetItem;

namespace tav {

class ChmFile;
class HelpBrowser;

class HelpViewer final : public QWidget {
    Q_OBJECT

public:
    // The role under which every contents, index and search item holds its page's "chm:" URL.
    static constexpr int kTopicRole = Qt::UserRole + 1;

    explicit HelpViewer(QWidget* parent = nullptr);
    ~HelpViewer() override;

    // Opens the help file at `path` afresh, fills the contents and index tabs, indexes its pages
    // for searching and shows `page` ("tree.html"), or the default topic when `page` is empty or
    // the file does not hold it, with an empty history. When the file cannot be used (missing,
    // unreadable, damaged, no page to show), shows a message naming the file and the reason
    // instead, with empty tabs, and returns false; nothing is thrown.
    bool ShowHelpFile(const QString& path, const std::string& page = {});

    // The message shown by the last ShowHelpFile that failed; empty after a success.
    QString ErrorText() const { return m_error; }

    HelpBrowser& Browser() const { return *m_browser; }
    QTabWidget& Tabs() const { return *m_tabs; }
    QTreeWidget& ContentsTree() const { return *m_contents; }
    QLineEdit& IndexFilter() const { return *m_indexFilter; }
    QListWidget& IndexList() const { return *m_indexList; }
    QLineEdit& SearchLine() const { return *m_searchLine; }
    QListWidget& SearchResults() const { return *m_searchResults; }
    QLabel& SearchStatus() const { return *m_searchStatus; }
    QPushButton& BackButton() const { return *m_back; }
    QPushButton& ForwardButton() const { return *m_forward; }
    QPushButton& HomeButton() const { return *m_home; }
    QSplitter& Splitter() const { return *m_splitter; }

    // The side pane takes at most this share of the window (in percent) for the contents' titles.
    static constexpr int kMaxSidePaneShare = 45;

    // The width at which the side pane shows the titles of all its tabs whole and the contents'
    // titles whole up to kMaxSidePaneShare of the window (a longer title is cut, its tooltip
    // shows it whole), from the fonts in use. The pane takes that width when the window is first
    // shown and when a help file is shown, until the user moves the splitter; from then on it
    // keeps whatever width the user gives it.
    int SidePaneWidth() const;

signals:
    // The window was moved or resized while shown in its normal state (neither minimised nor
    // maximised nor full screen): its frame is a place to show it at again.
    void placementChanged();

protected:
    void showEvent(QShowEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;

private:
    void ReportPlacement();
    void FitSidePane();
    int ContentsWidth() const;
    void CreateControls();
    void CreateLayout();
    void ConnectControls();
    void Clear();
    void ShowError(const QString& path, const QString& reason);
    void FillContents();
    void FillIndex();

    void OpenItemTopic(const QVariant& topic);
    void GoHome();
    void FilterIndex(const QString& text);
    void OpenFirstIndexMatch();
    void RunSearch();
    void MarkContentsEntry(const QUrl& url);

    std::unique_ptr<ChmFile> m_file;
    ChmSearchIndex m_search;
    QUrl m_homeUrl;
    QString m_error;
    bool m_paneChosen = false;  // the user moved the splitter

    QPushButton* m_back = nullptr;
    QPushButton* m_forward = nullptr;
    QPushButton* m_home = nullptr;
    QTabWidget* m_tabs = nullptr;
    QTreeWidget* m_contents = nullptr;
    QLineEdit* m_indexFilter = nullptr;
    QListWidget* m_indexList = nullptr;
    QLineEdit* m_searchLine = nullptr;
    QListWidget* m_searchResults = nullptr;
    QLabel* m_searchStatus = nullptr;
    HelpBrowser* m_browser = nullptr;
    QSplitter* m_splitter = nullptr;
};

}  // namespace tav
