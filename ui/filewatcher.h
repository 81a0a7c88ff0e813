// Watching the open document's file for changes made by someone else: the window asks, an
// implementation decides how (the platform's file notifications in the program, a script in tests).
#pragma once

#include <QObject>
#include <QString>
#include <memory>

class QFileSystemWatcher;

namespace tav {

class FileWatcher : public QObject {
    Q_OBJECT

public:
    ~FileWatcher() override = default;

    // Watches `path` (and only it) from now on; an empty path watches nothing.
    virtual void Watch(const QString& path) = 0;

signals:
    // The watched file was written, replaced or removed. May come more than once for one change,
    // and for the program's own saves: the receiver compares with what it wrote.
    void fileChanged();
};

// The platform's notifications (QFileSystemWatcher). Also watches the folder, so that a file
// renamed over the document (as every save does) or created after a removal is seen.
class SystemFileWatcher final : public FileWatcher {
    Q_OBJECT

public:
    SystemFileWatcher();
    ~SystemFileWatcher() override;
    void Watch(const QString& path) override;

private:
    void CreateWatcher();

    std::unique_ptr<QFileSystemWatcher> m_watcher;  // null until a path is first watched
    QString m_path;
};

}  // namespace tav
