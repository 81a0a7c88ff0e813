// The editor's main window: the configuration tree, the path display, the editor panel above the
// tree, the menu bar and the toolbar. It shows and dispatches; the tree does the work.
#pragma once

#include <QDialog>
#include <QList>
#include <QTimer>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "base/expected.h"
#include "ui/recentfilelist.h"

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenu;
class QMenuBar;
class QPushButton;

namespace tav {

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
struct DocumentChange;
struct FileError;

// Command ids of the menu and toolbar actions; each QAction holds its id as its data().
enum class Command : int {
    New = 32771,
    Open = 32772,
    Save = 32773,
    SaveAs = 32774,
    Exit = 32777,
    About = 32778,
    Undo = 57643,
    Redo = 57644,
    HelpContents = 57670,
};

// Control ids of the main window; each control holds its id in the property kControlIdProperty.
enum class ControlId : int {
    ToolBar = 400,
    Tree = 1000,
    ValueEdit = 1001,
    PathDisplay = 1002,
    ValueCombo = 1003,
    ReplaceLabel = 1004,
    ReplaceEdit = 1005,
    ByLabel = 1006,
    ByEdit = 1007,
    AddButton = 1008,
    DeleteButton = 1009,
    StatusLabel = 1010,
};
inline constexpr const char* kControlIdProperty = "controlId";

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
};

class MainDialog final : public QDialog {
    Q_OBJECT

public:
    // Builds the window: loads Sections.txt and Fields.txt from `catalogueFolder` (every problem is
    // shown through `services.messages`; an empty folder: none was found, the window has no
    // catalogues and says nothing of them), then shows the tree of an empty document with every
    // editor hidden. `openFolder` is where the first Open starts (empty: ".").
    MainDialog(const std::string& catalogueFolder, std::string openFolder,
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
    // The action of `command`, shared by the menu and the toolbar.
    QAction* Action(Command command) const;
    // The control `id`, or nullptr when the window has none (the editors exist from the first time
    // ShowEditorFor shows one).
    QWidget* Control(ControlId id) const;
    // The area below the menu bar, in whose pixels the controls are placed.
    QWidget* ClientArea() const { return m_client; }

    // Places every control from the client area's current size (see the layout table in
    // windowplacement.cpp): at the start size as written there, the Replace and By edits sharing
    // any other width; sizes that would be negative become 0. The toolbar is never moved. The
    // window is never smaller than the size at which every control has room inside it.
    void LayoutControls();

    // Shows the one editor that fits the type code `type` ("B", "C", "SR", "RFS"), filled from
    // the tree's selection, and hides every other; any other code hides them all. The editors
    // are made by the first call that shows one.
    void ShowEditorFor(const std::string& type);

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
    void keyPressEvent(QKeyEvent* event) override;
    void moveEvent(QMoveEvent* event) override;
    // A dragged single local .tac file is accepted, and opened when dropped (see OpenFile);
    // anything else is ignored.
    void dragEnterEvent(QDragEnterEvent* event) override;
    void dropEvent(QDropEvent* event) override;
    void resizeEvent(QResizeEvent* event) override;
    void showEvent(QShowEvent* event) override;
#ifdef Q_OS_WIN
    // The About entry of the system menu (systemmenu_win.cpp): WM_SYSCOMMAND with an id that
    // IsAboutSysCommand accepts runs OnAbout; every other message goes on to QDialog.
    bool nativeEvent(const QByteArray& eventType, void* message, qintptr* result) override;
#endif

private:
    void CreateActions();
    void CreateMenus();
    void CreateControls();
    void CreateEditorPanel();
    void ConnectEditorPanel();
    void CreateRecentMenu(QMenu* file);
    void PlaceOnScreen();
    void PlaceClientArea();
    void PlaceOnceFrameIsKnown();
    void SetMinimumWindowSize();
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

    // Editor panel (editorpanel.cpp).
    void OnSelChangedTree();
    void OnSelChangeValueCombo(int index);
    void OnChangeValueEdit(const QString& text);
    void ReportRefusal(const Status& status, const QString& message,
                       std::initializer_list<QLineEdit*> edits);
    void TellLeftOut(const Status& refused);
    void OnAddReplacement();
    void OnDeleteReplacement();
    void OnChangeReplaceEdit();
    void OnChangeByEdit();
    void ShowReplacementRow(bool forEntry);

    // File commands (FileCommands).
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileExit();
    void OnFileRecent(int index);

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
    QList<QAction*> m_actions;
    QMenuBar* m_menuBar = nullptr;
    QWidget* m_client = nullptr;
    ConfigTree* m_tree = nullptr;
    MainToolBar* m_toolBar = nullptr;
    QLabel* m_pathDisplay = nullptr;  // an ElidedLabel
    QLabel* m_statusLabel = nullptr;  // the save note, placed by m_filter
    FilterField* m_filter = nullptr;
    QTimer m_statusTimer;
    QLineEdit* m_valueEdit = nullptr;
    QComboBox* m_valueCombo = nullptr;
    QLabel* m_replaceLabel = nullptr;
    QLineEdit* m_replaceEdit = nullptr;
    QLabel* m_byLabel = nullptr;
    QLineEdit* m_byEdit = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    QList<QAction*> m_recentActions;
    UndoKeyRouter* m_undoKeys = nullptr;
    int m_listenerId = 0;
    bool m_refusalShown = false;  // the panel said why its text was not taken
    bool m_placedOnScreen = false;
    bool m_frameKnown = false;  // the window's first place allowed for its frame
};

}  // namespace tav
