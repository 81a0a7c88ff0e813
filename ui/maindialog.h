// The editor's main window: the configuration tree, the path display, the editor panel above the
// tree, the menu bar and the toolbar. It shows and dispatches; the tree does the work.
#pragma once

#include <QDialog>
#include <QList>
#include <memory>
#include <string>

class QAction;
class QComboBox;
class QLabel;
class QLineEdit;
class QMenuBar;
class QPushButton;

namespace tav {

class ConfigDocument;
class ConfigTree;
class FileChooser;
class HelpService;
class MainToolBar;
class MessageReporter;
struct FileError;

// Command ids of the menu and toolbar actions; each QAction holds its id as its data().
enum class Command : int {
    New = 32771,
    Open = 32772,
    Save = 32773,
    SaveAs = 32774,
    Exit = 32777,
    About = 32778,
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
};
inline constexpr const char* kControlIdProperty = "controlId";

// What the window needs from outside; all of it must outlive the window.
struct MainDialogServices {
    FileChooser& files;
    MessageReporter& messages;
    HelpService& help;
};

class MainDialog final : public QDialog {
    Q_OBJECT

public:
    // Builds the window: loads Sections.txt and Fields.txt from `catalogueFolder` (every problem is
    // shown through `services.messages`), then shows the tree of an empty document with every
    // editor hidden. `openFolder` is where the first Open starts (empty: ".").
    MainDialog(const std::string& catalogueFolder, std::string openFolder,
               MainDialogServices services, QWidget* parent = nullptr);
    ~MainDialog() override;

    // The remembered folder: the one given at construction until an Open succeeds, then the
    // folder of the file opened last.
    const std::string& OpenFolder() const { return m_openFolder; }

    ConfigTree& Tree() const { return *m_tree; }
    ConfigDocument& Document() const { return *m_document; }
    // The action of `command`, shared by the menu and the toolbar.
    QAction* Action(Command command) const;
    // The control `id`, or nullptr when the window has none.
    QWidget* Control(ControlId id) const;
    // The area below the menu bar, in whose pixels the controls are placed.
    QWidget* ClientArea() const { return m_client; }

    // Places every control from the client area's current size (see the layout table in
    // maindialog.cpp); sizes that would be negative become 0. The toolbar is never moved.
    void LayoutControls();

    // Shows the one editor that fits the type code `type` ("B", "C", "SR", "RFS"), filled from
    // the tree's selection, and hides every other; any other code hides them all.
    void ShowEditorFor(const std::string& type);

    // Shows the help file at the page about the control that has the focus (the tree, the
    // editing controls), else at its default topic.
    void WinHelp();

protected:
    void keyPressEvent(QKeyEvent* event) override;
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
    void ConnectEditorPanel();
    void PlaceOnScreen();
    void PlaceClientArea();
#ifdef Q_OS_WIN
    // Appends "&About TAV Configuration Manager..." (id kAboutSysCommand) to the system menu.
    void AppendAboutToSystemMenu();
#endif
    void ReportFileError(const QString& what, const FileError& error);
    bool OpenDocument(const std::string& path, const std::string& name, const QString& failure);

    // Editor panel (editorpanel.cpp).
    void OnSelChangedTree();
    void OnSelChangeValueCombo(int index);
    void OnChangeValueEdit(const QString& text);
    void OnAddReplacement();
    void OnDeleteReplacement();
    void OnChangeReplaceEdit();
    void OnChangeByEdit();
    void ShowReplacementRow(bool forEntry);

    // File commands (filecommands.cpp).
    void OnFileNew();
    void OnFileOpen();
    void OnFileSave();
    void OnFileSaveAs();
    void OnFileExit();

    // Help menu.
    void OnHelpContents();
    void OnAbout();

    MainDialogServices m_services;
    std::string m_openFolder;
    std::shared_ptr<ConfigDocument> m_document;
    QList<QAction*> m_actions;
    QMenuBar* m_menuBar = nullptr;
    QWidget* m_client = nullptr;
    ConfigTree* m_tree = nullptr;
    MainToolBar* m_toolBar = nullptr;
    QLabel* m_pathDisplay = nullptr;
    QLineEdit* m_valueEdit = nullptr;
    QComboBox* m_valueCombo = nullptr;
    QLabel* m_replaceLabel = nullptr;
    QLineEdit* m_replaceEdit = nullptr;
    QLabel* m_byLabel = nullptr;
    QLineEdit* m_byEdit = nullptr;
    QPushButton* m_addButton = nullptr;
    QPushButton* m_deleteButton = nullptr;
    bool m_placedOnScreen = false;
};

}  // namespace tav
