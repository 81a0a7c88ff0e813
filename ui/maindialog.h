// The editor's main window: the configuration tree, the path display, the editor panel above the
// tree, the menu bar and the toolbar. It shows and dispatches; the tree does the work.
#pragma once

#include <QDialog>
#include <QList>
#include <QTimer>
#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "base/fileerror.h"
#include "ui/editorpanel.h"
#include "ui/recentfilelist.h"

class QAction;
class QLabel;
class QMenu;
class QMenuBar;

namespace tav {

class CatalogueChoice;
class ConfigDocument;
class DocumentStorage;
class FileCommands;
class FilterField;
class DiskQuestions;
class FileWatcher;
class ConfigTree;
class FileChooser;
class HelpService;
class MainToolBar;
class MessageReporter;
class UndoKeyRouter;
struct Catalogues;
struct DocumentChange;
struct FileError;

// What the window needs from outside; all of it must outlive the window.
struct MainDialogServices {
    FileChooser& files;
    MessageReporter& messages;
    HelpService& help;
    // Optional: the question a save asks about changes made on disk (without it, a save merges
    // when nothing conflicts and otherwise refuses with a message), and the watch of the open
    // file (without it, changes on disk are found at save time only).
    DiskQuestions* disk = nullptr;
    FileWatcher* watcher = nullptr;
    // Optional: File > Catalogue Folder... (without it the command is disabled).
    CatalogueChoice* catalogues = nullptr;
};

// Catalogues File > Catalogue Folder... chose and loaded: the folder, the catalogues (whose files
// could both be read) and what did not load of them (lines past a table's capacity).
struct ChosenCatalogues {
    std::string folder;
    std::shared_ptr<const Catalogues> catalogues;
    std::vector<FileError> problems;
};

class MainDialog final : public QDialog {
    Q_OBJECT

public:
    // The window's result after File > Catalogue Folder... chose other catalogues (see
    // NewCatalogues): the document may be discarded, and the caller builds a window over them.
    static constexpr int kCataloguesChanged = 2;

    // Builds the window over `catalogues` (loaded once by the caller; every document opened in the
    // window uses them) and shows the tree of an empty document with every editor hidden, at its
    // start place and size, or larger where its controls need more room. `openFolder` is where
    // the first Open starts (empty: ".").
    MainDialog(std::shared_ptr<const Catalogues> catalogues, std::string openFolder,
               MainDialogServices services, QWidget* parent = nullptr);
    ~MainDialog() override;

    // The remembered folder: the one given at construction until an Open succeeds, then the
    // folder of the file opened last.
    const std::string& OpenFolder() const;

    // The documents File > Recent offers, most recent first: the list given here (see
    // RecentFileList::Assign), then each document opened or saved under a new name put first.
    void SetRecentFiles(const std::vector<std::string>& paths);
    const std::vector<std::string>& RecentFiles() const;
    // The action of File > Recent entry `index` (0: the most recent); hidden while the list is
    // shorter. Null for an index of RecentFileList::kLimit or more.
    QAction* RecentAction(int index) const;

    // Opens the document at `path` as File > Open does with a chosen file, after asking about
    // unsaved changes: a file that does not exist opens as a new document of that name. Returns
    // false when the user cancelled, the save asked for failed or the file could not be read
    // (reported); the document is then the one before.
    bool OpenFile(const std::string& path);

    ConfigTree& Tree() const { return *m_tree; }
    ConfigDocument& Document() const { return *m_document; }
    // The actions of the menu; New, Open, Save and Help Contents are also the toolbar's buttons.
    QAction* NewAction() const { return m_newAction; }
    QAction* OpenAction() const { return m_openAction; }
    QAction* SaveAction() const { return m_saveAction; }
    QAction* SaveAsAction() const { return m_saveAsAction; }
    QAction* ExitAction() const { return m_exitAction; }
    QAction* CatalogueFolderAction() const { return m_catalogueFolderAction; }
    // What File > Catalogue Folder... chose, once the window ended with kCataloguesChanged.
    const ChosenCatalogues& NewCatalogues() const { return m_newCatalogues; }
    QAction* UndoAction() const { return m_undoAction; }
    QAction* RedoAction() const { return m_redoAction; }
    QAction* HelpContentsAction() const { return m_helpContentsAction; }
    QAction* AboutAction() const { return m_aboutAction; }
    // The area below the menu bar: the toolbar band, the path display, the editor panel and the
    // tree, in a column whose rows grow with their texts and fonts.
    QWidget* ClientArea() const { return m_client; }

    // Shows the one editor that fits the tree's selection (a boolean, text or replacement entry
    // field, or the replacement list's section), filled from it, and hides every other; any
    // other item hides them all.
    void ShowEditorForSelection();

    // Shows the help file at the page about the control that has the focus (the tree, the
    // editing controls), else at its default topic.
    void WinHelp();

    // Asks about unsaved changes when the document is modified, and saves when the user says so.
    // Returns true when the document may now be discarded: unmodified, discarded by the user or
    // saved; false when the user cancelled or the save failed or was cancelled.
    bool MayDiscardDocument();

    // The close box, Alt+F4 and every other reject: ends the window (result Rejected) only when
    // MayDiscardDocument agrees.
    void reject() override;

protected:
    // The disk notice lies over the bottom of the client area and follows its size.
    bool eventFilter(QObject* watched, QEvent* event) override;
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // A dragged single local .tac file is accepted, and opened when dropped (see OpenFile);
    // anything else is ignored.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
#ifdef Q_OS_WIN
    // The About entry of the system menu (win32/systemmenu.cpp): WM_SYSCOMMAND with an id that
    // IsAboutSysCommand accepts runs OnAbout; every other message goes on to QDialog.
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    void CreateActions();
    QAction* CreateAction(const QString& text, void (MainDialog::*handler)());
    void CreateMenus();
    void CreateControls();
    void CreateLayout();
    void ConnectEditorPanel();
    void CreateRecentMenu(QMenu* file);
    void PlaceOnScreen();
    void PlaceOnceFrameIsKnown();
#ifdef Q_OS_WIN
    // Appends "&About TAV Configuration Manager..." (id kAboutSysCommand) to the system menu.
    void AppendAboutToSystemMenu();
#endif
    void ReportFileError(const QString& what, const FileError& error);
    // The file commands (filecommands.h) do the work; the window calls them.
    void CreateFileCommands(std::string openFolder);
    void PlaceDiskNotice();

    // Following the document (documentwatch.cpp).
    void WatchDocument();
    void OnDocumentChange(const DocumentChange& change);
    void UpdateTitle();
    void UpdateEditActions();
    void FollowValueChange(std::uint16_t row);
    bool PanelShowsSelection() const;
    void ShowSaveNote();

    // What the editor panel's changes do (panelcommands.cpp).
    void OnSelChangedTree();
    void OnSelChangeValueCombo(bool isTrue);
    void OnChangeValueEdit(const QString& text);
    void ReportRefusal(const Status& status, const QString& message, EditorPanel::Boxes boxes);
    void TellLeftOut(const Status& refused);
    void OnAddReplacement();
    void OnDeleteReplacement();
    void OnChangeReplaceEdit();

    // File commands (FileCommands).
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileExit();
    void OnFileRecent(int index);
    // Asks for another catalogue folder and loads it; keeps the catalogues in use when that
    // fails (said with the file and the reason) or the user cancels, here or at the question
    // about unsaved changes; otherwise ends the window with kCataloguesChanged.
    void OnFileCatalogueFolder();

    // Edit menu (documentwatch.cpp).
    void OnEditUndo();
    void OnEditRedo();

    // Help menu.
    void OnHelpContents();
    void OnAbout();

    MainDialogServices m_services;
    std::shared_ptr<ConfigDocument> m_document;
    std::unique_ptr<DocumentStorage> m_storage;
    std::unique_ptr<FileCommands> m_files;
    QAction* m_newAction = nullptr;
    QAction* m_openAction = nullptr;
    QAction* m_saveAction = nullptr;
    QAction* m_saveAsAction = nullptr;
    QAction* m_exitAction = nullptr;
    QAction* m_catalogueFolderAction = nullptr;
    QAction* m_undoAction = nullptr;
    QAction* m_redoAction = nullptr;
    QAction* m_helpContentsAction = nullptr;
    QAction* m_aboutAction = nullptr;
    QMenuBar* m_menuBar = nullptr;
    QWidget* m_client = nullptr;
    ConfigTree* m_tree = nullptr;
    MainToolBar* m_toolBar = nullptr;
    QLabel* m_pathDisplay = nullptr;  // an ElidedLabel
    QLabel* m_statusLabel = nullptr;  // the save note, shown by m_filter
    FilterField* m_filter = nullptr;
    QTimer m_statusTimer;
    EditorPanel* m_panel = nullptr;
    QList<QAction*> m_recentActions;
    ChosenCatalogues m_newCatalogues;
    UndoKeyRouter* m_undoKeys = nullptr;
    int m_listenerId = 0;
    bool m_refusalShown = false;  // the panel said why its text was not taken
    bool m_placedOnScreen = false;
    bool m_frameKnown = false;  // the window's first place allowed for its frame
};

}  // namespace tav
