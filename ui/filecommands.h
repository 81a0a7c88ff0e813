// The window's file and disk commands: New, Open, Save, Save As, Recent, a dropped file, the
// unsaved-changes question before any of them discards the document, the question about an
// unfinished earlier save, and the changes someone else makes on disk (the notice while the
// document is open, the question a save asks). The storage reads and writes the file; these
// commands choose the file, ask, report failures and keep the remembered folder and the recent
// files.
#pragma once

#include <QList>
#include <QObject>
#include <QString>
#include <string>
#include <vector>

#include "ui/recentfilelist.h"

class QAction;
class QMimeData;
class QWidget;

namespace tav {

class ConfigDocument;
class DiskNotice;
class DiskQuestions;
class DocumentStorage;
class FileChooser;
class FileWatcher;
class MessageReporter;
struct DiskChange;
struct DiskResolution;
struct DocumentChange;
struct FileError;

// What the commands work with; all of it must outlive them. `disk` and `watcher` are optional:
// without the question a save merges when nothing conflicts and otherwise refuses with a
// message; without the watch, changes on disk are found at save time only.
struct FileCommandServices {
    ConfigDocument& document;
    DocumentStorage& storage;
    FileChooser& files;
    MessageReporter& messages;
    DiskQuestions* disk = nullptr;
    FileWatcher* watcher = nullptr;
};

class FileCommands final : public QObject {
    Q_OBJECT

public:
    // Commands over the window `window` (the owner of every dialog and feedback), showing the
    // disk notice in `client`; `recentActions` are File > Recent's entries, which the commands
    // label and show. `openFolder` is where the first Open starts (empty: ".").
    FileCommands(QWidget* window, QWidget* client, QList<QAction*> recentActions,
                 std::string openFolder, FileCommandServices services);
    ~FileCommands() override;

    // File > New, Open, Save, Save As and Recent entry `index`. Save and SaveAs return whether
    // the document was written (false: failed, reported, or the user cancelled).
    void New();
    void Open();
    bool Save();
    bool SaveAs();
    void OpenRecent(int index);

    // Opens `path` as Open does with a chosen file, after asking about unsaved changes; see
    // MainDialog::OpenFile.
    bool OpenFile(const std::string& path);

    // Asks about unsaved changes when the document is modified, and saves when the user says so.
    // True when the document may now be discarded.
    bool MayDiscardDocument();

    // The single local .tac file `data` carries, or an empty string.
    static QString DraggedDocument(const QMimeData* data);

    // The remembered folder: the one given at construction until an Open succeeds, then the
    // folder of the file opened last.
    const std::string& OpenFolder() const { return m_openFolder; }
    void SetRecentFiles(const std::vector<std::string>& paths);
    const std::vector<std::string>& RecentFiles() const { return m_recent.Paths(); }

    // Places the disk notice along the bottom of the client area, as high as its text needs.
    void PlaceDiskNotice();

private:
    void ReportFileError(const QString& what, const FileError& error);
    bool OpenDocument(const std::string& path, const std::string& name, const QString& failure);
    bool OpenChosenFile(const std::string& path, const std::string& name);
    bool SettleUnfinishedSave(const std::string& path, const std::string& name);
    DiskResolution AskAboutDiskChange(const DiskChange& change);
    QString SaveAsFolder() const;
    void UpdateRecentMenu();
    void OnDocumentChange(const DocumentChange& change);
    void WatchDocumentFile();
    void OnFileChangedOnDisk();
    void OnReloadFromDisk();

    QWidget* m_window = nullptr;
    QWidget* m_client = nullptr;
    QList<QAction*> m_recentActions;
    std::string m_openFolder;
    FileCommandServices m_services;
    RecentFileList m_recent;
    DiskNotice* m_diskNotice = nullptr;  // made the first time it is needed
    QString m_watchedPath;
    int m_listenerId = 0;
};

}  // namespace tav
