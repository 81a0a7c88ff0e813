#include "ui/maindialog.h"

#include <QAction>
#include <QComboBox>
#include <QDragEnterEvent>
#include <QDropEvent>
#include <QIcon>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QMenu>
#include <QMenuBar>
#include <QPushButton>
#include <algorithm>
#include <array>

#include "document/configdocument.h"
#include "document/documentio.h"
#include "document/documentstorage.h"
#include "help/helpservice.h"
#include "qtbridge/textconv.h"
#include "resources/images.h"
#include "tree/configtree.h"
#include "ui/aboutdialog.h"
#include "ui/elidedlabel.h"
#include "ui/filecommands.h"
#include "ui/filterfield.h"
#include "ui/maintoolbar.h"
#include "ui/messagereporter.h"
#include "ui/undokeyrouter.h"

namespace tav {

namespace {

struct ActionDef {
    Command command;
    const char* text;
    QKeySequence::StandardKey key;
};

constexpr std::array kActionDefs = {
    ActionDef{Command::New, "&New", QKeySequence::New},
    ActionDef{Command::Open, "&Open", QKeySequence::Open},
    ActionDef{Command::Save, "&Save", QKeySequence::Save},
    ActionDef{Command::SaveAs, "Save &As...", QKeySequence::SaveAs},
    ActionDef{Command::Exit, "&Exit", QKeySequence::Quit},
    ActionDef{Command::Undo, "&Undo", QKeySequence::Undo},
    ActionDef{Command::Redo, "&Redo", QKeySequence::UnknownKey},
    ActionDef{Command::HelpContents, "&Contents\tF1", QKeySequence::UnknownKey},
    ActionDef{Command::About, "&About TAV Configuration Manager...", QKeySequence::UnknownKey},
};

template <typename Widget>
Widget* Tagged(Widget* widget, ControlId id, const char* name) {
    widget->setObjectName(QLatin1String(name));
    widget->setProperty(kControlIdProperty, static_cast<int>(id));
    return widget;
}

// The help page about the control `focus` belongs to; empty for the help file's default topic.
std::string HelpPageFor(const QWidget* focus) {
    for (; focus != nullptr; focus = focus->parentWidget()) {
        switch (static_cast<ControlId>(focus->property(kControlIdProperty).toInt())) {
            case ControlId::Tree:
                return "tree.html";
            case ControlId::ValueEdit:
            case ControlId::ValueCombo:
            case ControlId::ReplaceEdit:
            case ControlId::ByEdit:
            case ControlId::AddButton:
            case ControlId::DeleteButton:
                return "editing.html";
            default:
                break;
        }
    }
    return {};
}

}  // namespace

MainDialog::MainDialog(const std::string& catalogueFolder, std::string openFolder,
                       MainDialogServices services, QWidget* parent)
    : QDialog(parent), m_services(services) {
    setWindowIcon(ProgramImage("appicon"));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint |
                   Qt::WindowSystemMenuHint | Qt::WindowCloseButtonHint);
    m_client = new QWidget(this);
    // The catalogues are loaded once, now; their problems are shown through the reporter.
    const auto report = [this](const FileError& error) {
        ReportFileError(tr("Not everything in this file could be loaded."), error);
    };
    // No folder: none was found, and the start-up already said where it looked.
    m_document = std::make_shared<ConfigDocument>(catalogueFolder.empty()
                                                      ? CataloguesFromText({}, {}, {})
                                                      : LoadCatalogues(catalogueFolder, report));
    m_tree = Tagged(new ConfigTree(m_document, m_client), ControlId::Tree, "tree");
    CreateActions();
    CreateMenus();
    CreateControls();
    m_toolBar = Tagged(new MainToolBar({Action(Command::New), Action(Command::Open),
                                        Action(Command::Save), Action(Command::HelpContents)},
                                       m_client),
                       ControlId::ToolBar, "toolBar");
    m_filter = new FilterField(*m_tree, *m_toolBar, m_statusLabel, m_client);
    connect(m_tree, &ConfigTree::selectionReported, this, &MainDialog::OnSelChangedTree);
    CreateFileCommands(std::move(openFolder));
    m_undoKeys = new UndoKeyRouter(Action(Command::Undo), Action(Command::Redo), this);
    WatchDocument();
    setAcceptDrops(true);
    PlaceOnScreen();
    SetMinimumWindowSize();  // the menu bar has measured its items at the window's width now
#ifdef Q_OS_WIN
    AppendAboutToSystemMenu();
#endif
    ShowEditorFor(std::string());
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

void MainDialog::PlaceDiskNotice() {
    m_files->PlaceDiskNotice();
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

QAction* MainDialog::Action(Command command) const {
    const auto found = std::find_if(m_actions.begin(), m_actions.end(), [command](QAction* a) {
        return a->data().toInt() == static_cast<int>(command);
    });
    return found == m_actions.end() ? nullptr : *found;
}

QWidget* MainDialog::Control(ControlId id) const {
    for (QWidget* child : m_client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        if (child->property(kControlIdProperty).toInt() == static_cast<int>(id)) {
            return child;
        }
    }
    return nullptr;
}

void MainDialog::CreateActions() {
    for (const ActionDef& def : kActionDefs) {
        auto* action = new QAction(QLatin1String(def.text), this);
        action->setData(static_cast<int>(def.command));
        action->setShortcut(def.key);
        m_actions.append(action);
    }
    Action(Command::HelpContents)->setShortcut(Qt::Key_F1);
    // The desktop's own keys where it names them; where it has none (a plain X11 session, the
    // offscreen platform), the keys most desktops use.
    const auto standardOr = [](QKeySequence::StandardKey key, const QKeySequence& usual) {
        const QList<QKeySequence> keys = QKeySequence::keyBindings(key);
        return keys.isEmpty() ? QList<QKeySequence>{usual} : keys;
    };
    Action(Command::SaveAs)
        ->setShortcuts(
            standardOr(QKeySequence::SaveAs, QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_S)));
#ifndef Q_OS_WIN  // Windows has no quit key: Alt+F4 closes the window
    Action(Command::Exit)
        ->setShortcuts(standardOr(QKeySequence::Quit, QKeySequence(Qt::CTRL | Qt::Key_Q)));
#endif
    // Both keys the platforms use for redo, whichever this one calls standard.
    Action(Command::Redo)
        ->setShortcuts(
            {QKeySequence(Qt::CTRL | Qt::SHIFT | Qt::Key_Z), QKeySequence(Qt::CTRL | Qt::Key_Y)});
    // Shortcuts work while the window is active, whether or not a menu was ever opened.
    addActions(m_actions);
    connect(Action(Command::New), &QAction::triggered, this, &MainDialog::OnFileNew);
    connect(Action(Command::Open), &QAction::triggered, this, &MainDialog::OnFileOpen);
    connect(Action(Command::Save), &QAction::triggered, this, &MainDialog::OnFileSave);
    connect(Action(Command::SaveAs), &QAction::triggered, this, &MainDialog::OnFileSaveAs);
    connect(Action(Command::Exit), &QAction::triggered, this, &MainDialog::OnFileExit);
    connect(Action(Command::Undo), &QAction::triggered, this, &MainDialog::OnEditUndo);
    connect(Action(Command::Redo), &QAction::triggered, this, &MainDialog::OnEditRedo);
    connect(Action(Command::HelpContents), &QAction::triggered, this, &MainDialog::OnHelpContents);
    connect(Action(Command::About), &QAction::triggered, this, &MainDialog::OnAbout);
}

void MainDialog::CreateMenus() {
    m_menuBar = new QMenuBar(this);
    QMenu* file = m_menuBar->addMenu(tr("&File"));
    file->addActions({Action(Command::New), Action(Command::Open), Action(Command::Save),
                      Action(Command::SaveAs)});
    file->addSeparator();
    CreateRecentMenu(file);
    file->addSeparator();
    file->addAction(Action(Command::Exit));
    QMenu* edit = m_menuBar->addMenu(tr("&Edit"));
    edit->addActions({Action(Command::Undo), Action(Command::Redo)});
    QMenu* help = m_menuBar->addMenu(tr("&Help"));
    help->addActions({Action(Command::HelpContents), Action(Command::About)});
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

void MainDialog::CreateControls() {
    m_pathDisplay = Tagged(new ElidedLabel(m_client), ControlId::PathDisplay, "pathDisplay");
    m_pathDisplay->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_pathDisplay->setTextFormat(Qt::PlainText);
    m_statusLabel = Tagged(new QLabel(m_client), ControlId::StatusLabel, "statusLabel");
    m_statusLabel->setTextFormat(Qt::PlainText);
    m_statusLabel->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
}

// The editors are made the first time the selection has one (see ShowEditorFor): the window opens
// with none of them shown, and a combo box with its item model, three line edits and two buttons
// are a good part of what building it would otherwise cost.
void MainDialog::CreateEditorPanel() {
    m_valueEdit = Tagged(new QLineEdit(m_client), ControlId::ValueEdit, "valueEdit");
    m_valueCombo = Tagged(new QComboBox(m_client), ControlId::ValueCombo, "valueCombo");
    m_valueCombo->addItems({QStringLiteral("False"), QStringLiteral("True")});
    m_replaceLabel =
        Tagged(new QLabel(tr("Replace"), m_client), ControlId::ReplaceLabel, "replaceLabel");
    m_replaceEdit = Tagged(new QLineEdit(m_client), ControlId::ReplaceEdit, "replaceEdit");
    m_byLabel = Tagged(new QLabel(tr("By"), m_client), ControlId::ByLabel, "byLabel");
    m_byEdit = Tagged(new QLineEdit(m_client), ControlId::ByEdit, "byEdit");
    m_addButton = Tagged(new QPushButton(tr("Add"), m_client), ControlId::AddButton, "addButton");
    m_deleteButton =
        Tagged(new QPushButton(tr("Delete"), m_client), ControlId::DeleteButton, "deleteButton");
    // No button is the default: Enter in an edit must neither add nor delete anything.
    for (QPushButton* button : {m_addButton, m_deleteButton}) {
        button->setAutoDefault(false);
    }
    // Right after the tree, in the order of the band.
    setTabOrder(m_tree, m_valueEdit);
    setTabOrder(m_valueEdit, m_valueCombo);
    setTabOrder(m_valueCombo, m_replaceEdit);
    setTabOrder(m_replaceEdit, m_byEdit);
    setTabOrder(m_byEdit, m_addButton);
    setTabOrder(m_addButton, m_deleteButton);
    for (QLineEdit* edit : {m_valueEdit, m_replaceEdit, m_byEdit}) {
        m_undoKeys->Watch(edit);
    }
    ConnectEditorPanel();
    LayoutControls();
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
    m_services.help.ShowHelp(this, HelpPageFor(focusWidget()));
}

void MainDialog::OnAbout() {
    AboutDialog(this).exec();
}

}  // namespace tav
