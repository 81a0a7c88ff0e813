#include "ui/maindialog.h"

#include <QAction>
#include <QBoxLayout>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <filesystem>

#include "catalog/catalogues.h"
#include "document/configdocument.h"
#include "document/documentio.h"
#include "document/documentstorage.h"
#include "help/helpservice.h"
#include "qtbridge/textconv.h"
#include "resources/images.h"
#include "tree/configtree.h"
#include "ui/aboutdialog.h"
#include "ui/accessibleinterfaces.h"
#include "ui/cataloguechoice.h"
#include "ui/editorpanel.h"
#include "ui/elidedlabel.h"
#include "ui/filecommands.h"
#include "ui/filterfield.h"
#include "ui/maintoolbar.h"
#include "ui/messagereporter.h"
#include "ui/undokeyrouter.h"

namespace tav {

namespace {

// Space around the toolbar band and the column below it, and between their rows, in pixels.
constexpr int kBandGap = 10;
constexpr int kColumnMargin = 10;
constexpr int kRowGap = 5;
constexpr int kLeastTreeLines = 6;
constexpr int kPathMargin = 2;

// The help page about the control `focus` belongs to, inside `tree` or `panel`; empty for the
// help file's default topic.
std::string HelpPageFor(const QWidget* focus, const QWidget* tree, const QWidget* panel) {
    for (; focus != nullptr; focus = focus->parentWidget()) {
        if (focus == tree) {
            return "tree.html";
        }
        if (focus == panel) {
            return "editing.html";
        }
    }
    return {};
}

}  // namespace

MainDialog::MainDialog(std::shared_ptr<const Catalogues> catalogues, std::string openFolder,
                       MainDialogServices services, QWidget* parent)
    : QDialog(parent),
      m_services(services),
      m_document(std::make_shared<ConfigDocument>(std::move(catalogues))) {
    InstallAccessibleInterfaces();
    // The desktop's theme may draw the program's icon in its own style; ours where it has none.
    setWindowIcon(QIcon::fromTheme(QStringLiteral(TAV_APP_ID), ProgramImage("appicon")));
    // A normal window for the window manager (a QDialog would be a dialog window); exec() still
    // gives the program its result.
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    m_client = new QWidget(this);
    m_client->setObjectName(QStringLiteral("clientArea"));
    m_client->installEventFilter(this);
    CreateActions();
    CreateMenus();
    CreateControls();
    CreateLayout();
    m_undoKeys = new UndoKeyRouter(m_undoAction, m_redoAction, this);
    for (QLineEdit* box : m_panel->TextBoxes()) {
        m_undoKeys->Watch(box);
    }
    ConnectEditorPanel();
    connect(m_tree, &ConfigTree::selectionReported, this, &MainDialog::OnSelChangedTree);
    CreateFileCommands(std::move(openFolder));
    WatchDocument();
    setAcceptDrops(true);
    PlaceOnScreen();
#ifdef Q_OS_WIN
    AppendAboutToSystemMenu();
#endif
    ShowEditorForSelection();
    m_tree->setFocus();
}

MainDialog::~MainDialog() {
    m_document->RemoveListener(m_listenerId);
}

void MainDialog::CreateFileCommands(std::string openFolder) {
    m_storage = std::make_unique<DocumentStorage>(*m_document, CurrentTimeText);
    m_files = std::make_unique<FileCommands>(
        this, m_client, m_recentActions, std::move(openFolder),
        FileCommandServices{*m_document, *m_storage, m_services.files, m_services.messages,
                            m_services.disk, m_services.watcher});
}

// --- File commands: the window dispatches, FileCommands does the work --------------------------

void MainDialog::OnFileNew() {
    m_files->New();
}

void MainDialog::OnFileOpen() {
    m_files->Open();
}

void MainDialog::OnFileSave() {
    m_files->Save();
}

void MainDialog::OnFileSaveAs() {
    m_files->SaveAs();
}

void MainDialog::OnFileRecent(int index) {
    m_files->OpenRecent(index);
}

void MainDialog::OnFileExit() {
    if (MayDiscardDocument()) {
        done(QDialog::Accepted);
    }
}

void MainDialog::OnFileCatalogueFolder() {
    const std::string current =
        std::filesystem::path(m_document->Defs().sectionFile.path).parent_path().string();
    const std::optional<std::string> folder = m_services.catalogues->ChooseInstead(this, current);
    if (!folder) {
        return;
    }
    ChosenCatalogues chosen{*folder, nullptr, {}};
    chosen.catalogues = LoadCatalogues(
        *folder, [&chosen](const FileError& problem) { chosen.problems.push_back(problem); });
    if (const std::optional<FileError> error = chosen.catalogues->ReadError()) {
        ReportFileError(tr("The catalogues in this folder cannot be read; the catalogues in use "
                           "stay."),
                        *error);
        return;
    }
    if (MayDiscardDocument()) {
        m_newCatalogues = std::move(chosen);
        done(kCataloguesChanged);
    }
}

bool MainDialog::OpenFile(const std::string& path) {
    return m_files->OpenFile(path);
}

bool MainDialog::MayDiscardDocument() {
    return m_files->MayDiscardDocument();
}

void MainDialog::reject() {
    if (MayDiscardDocument()) {
        QDialog::reject();
    }
}

const std::string& MainDialog::OpenFolder() const {
    return m_files->OpenFolder();
}

void MainDialog::SetRecentFiles(const std::vector<std::string>& paths) {
    m_files->SetRecentFiles(paths);
}

const std::vector<std::string>& MainDialog::RecentFiles() const {
    return m_files->RecentFiles();
}

// The client area may be resized while the window is built, before the commands exist.
void MainDialog::PlaceDiskNotice() {
    if (m_files != nullptr) {
        m_files->PlaceDiskNotice();
    }
}

void MainDialog::dragEnterEvent(QDragEnterEvent* event) {
    if (!FileCommands::DraggedDocument(event->mimeData()).isEmpty()) {
        event->acceptProposedAction();
    }
}

void MainDialog::dropEvent(QDropEvent* event) {
    const QString path = FileCommands::DraggedDocument(event->mimeData());
    if (path.isEmpty()) {
        event->ignore();
        return;
    }
    event->acceptProposedAction();
    OpenFile(FromQt(path));
}

QAction* MainDialog::CreateAction(const QString& text, void (MainDialog::*handler)()) {
    auto* action = new QAction(text, this);
    connect(action, &QAction::triggered, this, handler);
    // Shortcuts work while the window is active, whether or not a menu was ever opened.
    addAction(action);
    return action;
}

// Each action is a named member, made once here and shared by the menu and the toolbar; none
// carries a command id (the system menu's About entry has its own, kAboutSysCommand).
void MainDialog::CreateActions() {
    m_newAction = CreateAction(tr("&New"), &MainDialog::OnFileNew);
    m_newAction->setShortcut(QKeySequence::New);
    m_openAction = CreateAction(tr("&Open"), &MainDialog::OnFileOpen);
    m_openAction->setShortcut(QKeySequence::Open);
    m_saveAction = CreateAction(tr("&Save"), &MainDialog::OnFileSave);
    m_saveAction->setShortcut(QKeySequence::Save);
    m_saveAsAction = CreateAction(tr("Save &As..."), &MainDialog::OnFileSaveAs);
    m_exitAction = CreateAction(tr("&Exit"), &MainDialog::OnFileExit);
    m_catalogueFolderAction =
        CreateAction(tr("&Catalogue Folder..."), &MainDialog::OnFileCatalogueFolder);
    m_catalogueFolderAction->setEnabled(m_services.catalogues != nullptr);
    m_undoAction = CreateAction(tr("&Undo"), &MainDialog::OnEditUndo);
    m_undoAction->setShortcut(QKeySequence::Undo);
    m_redoAction = CreateAction(tr("&Redo"), &MainDialog::OnEditRedo);
    m_helpContentsAction = CreateAction(tr("&Contents\tF1"), &MainDialog::OnHelpContents);
    m_helpContentsAction->setShortcut(Qt::Key_F1);
    m_aboutAction = CreateAction(tr("&About TAV Configuration Manager..."), &MainDialog::OnAbout);
    // The desktop's own keys where it names them; where it has none (a plain X11 session, the
    // offscreen platform), the keys most desktops use.
    const auto standardOr = [](QKeySequence::StandardKey key, const QKeySequence& usual) {
        const QList<QKeySequence> keys = QKeySequence::keyBindings(key);
        return keys.isEmpty() ? QList<QKeySequence>{usual} : keys;
    };
    m_saveAsAction->setShortcuts(
        standardOr(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
#ifndef Q_OS_WIN  // Windows has no quit key: Alt+F4 closes the window
    m_exitAction->setShortcuts(standardOr(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
#endif
    // Both keys the platforms use for redo, whichever this one calls standard.
    m_redoAction->setShortcuts(
        {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
}

void MainDialog::CreateMenus() {
    m_menuBar = new QMenuBar(this);
    QMenu* file = m_menuBar->addMenu(tr("&File"));
    file->addActions({m_newAction, m_openAction, m_saveAction, m_saveAsAction});
    file->addSeparator();
    file->addAction(m_catalogueFolderAction);
    file->addSeparator();
    CreateRecentMenu(file);
    file->addSeparator();
    file->addAction(m_exitAction);
    QMenu* edit = m_menuBar->addMenu(tr("&Edit"));
    edit->addActions({m_undoAction, m_redoAction});
    QMenu* help = m_menuBar->addMenu(tr("&Help"));
    help->addActions({m_helpContentsAction, m_aboutAction});
}

// The entries are made once, hidden, and given their files by UpdateRecentMenu.
void MainDialog::CreateRecentMenu(QMenu* file) {
    QMenu* recent = file->addMenu(tr("Recent &Files"));
    for (int i = 0; i < static_cast<int>(RecentFileList::kLimit); ++i) {
        auto* action = new QAction(this);
        action->setVisible(false);
        connect(action, &QAction::triggered, this, [this, i] { OnFileRecent(i); });
        m_recentActions.append(action);
    }
    recent->addActions(m_recentActions);
}

QAction* MainDialog::RecentAction(int index) const {
    return index >= 0 && index < m_recentActions.size() ? m_recentActions[index] : nullptr;
}

// The tree and the panel are made first: Tab goes from the tree through the editors, in the order
// of the band; the Find field, made after them, is put right before the tree, so Tab goes from
// the toolbar band down to the tree and the editors.
void MainDialog::CreateControls() {
    m_tree = new ConfigTree(m_document, m_client);
    m_tree->setObjectName(QStringLiteral("tree"));
    // However small the window, the tree shows a few of its lines.
    m_tree->setMinimumHeight(kLeastTreeLines * m_tree->fontMetrics().lineSpacing());
    m_panel = new EditorPanel(m_client);
    m_toolBar =
        new MainToolBar({m_newAction, m_openAction, m_saveAction, m_helpContentsAction}, m_client);
    m_toolBar->setObjectName(QStringLiteral("toolBar"));
    m_statusLabel = new QLabel(m_client);
    m_statusLabel->setObjectName(QStringLiteral("statusLabel"));
    m_statusLabel->setTextFormat(Qt::PlainText);
    m_statusLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
    m_filter = new FilterField(*m_tree, m_statusLabel, m_client);
    setTabOrder(m_filter, m_tree);
    m_pathDisplay = new ElidedLabel(m_client);
    m_pathDisplay->setObjectName(QStringLiteral("pathDisplay"));
    m_pathDisplay->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_pathDisplay->setTextFormat(Qt::PlainText);
    m_pathDisplay->setMargin(kPathMargin);  // the text does not touch the sunken frame
}

// The menu bar on top; below it the toolbar band (the buttons, the find field taking the rest of
// the width, the save note while one shows), then a column of the path display, the editor panel
// and the tree, which takes whatever height is left. Every row is as high as its controls need at
// the current font, and the window never gets smaller than the sum of them.
void MainDialog::CreateLayout() {
    auto* band = new QHBoxLayout;
    band->setContentsMargins(MainToolBar::kIndent, 0, kBandGap, 0);
    band->setSpacing(kBandGap);
    band->addWidget(m_toolBar);
    band->addWidget(m_filter, 1);
    band->addWidget(m_statusLabel);
    auto* column = new QVBoxLayout;
    column->setContentsMargins(kColumnMargin, 0, kColumnMargin, 0);
    column->setSpacing(kRowGap);
    column->addWidget(m_pathDisplay);
    column->addWidget(m_panel);
    column->addWidget(m_tree, 1);
    auto* client = new QVBoxLayout(m_client);
    client->setContentsMargins(0, 0, 0, kColumnMargin);
    client->setSpacing(kRowGap);
    client->addLayout(band);
    client->addLayout(column, 1);
    auto* window = new QVBoxLayout(this);
    window->setContentsMargins(0, 0, 0, 0);
    window->setSpacing(0);
    window->setMenuBar(m_menuBar);
    window->addWidget(m_client);
}

bool MainDialog::eventFilter(QObject* watched, QEvent* event) {
    if (watched == m_client && event->type() == QEvent::Resize) {
        PlaceDiskNotice();
    }
    return QDialog::eventFilter(watched, event);
}

void MainDialog::keyPressEvent(QKeyEvent* event) {
    // Enter and Escape would end the dialog and drop every unsaved edit; only Exit and the close
    // box end the program.
    switch (event->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter:
        case Qt::Key_Escape:
            event->accept();
            return;
        default:
            QDialog::keyPressEvent(event);
    }
}

void MainDialog::ReportFileError(const QString& what, const FileError& error) {
    m_services.messages.ShowWarning(this, FileErrorText(what, error));
}

void MainDialog::OnHelpContents() {
    WinHelp();
}

void MainDialog::WinHelp() {
    m_services.help.ShowHelp(this, HelpPageFor(focusWidget(), m_tree, m_panel));
}

void MainDialog::OnAbout() {
    AboutDialog(this).exec();
}

}  // namespace tav
