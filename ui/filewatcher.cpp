#include "ui/filewatcher.h"

#include <QFileInfo>
#include <QFileSystemWatcher>

namespace tav {

SystemFileWatcher::SystemFileWatcher() = default;

SystemFileWatcher::~SystemFileWatcher() = default;

// Made when there is first something to watch: a window that never opens a document needs no
// notifications (nor the inotify descriptor and its notifier).
void SystemFileWatcher::CreateWatcher() {
    m_watcher = std::make_unique<QFileSystemWatcher>();
    connect(m_watcher.get(), &QFileSystemWatcher::fileChanged, this, [this](const QString& path) {
        // A file renamed over the watched one ends the watch of the old inode: watch again.
        if (QFileInfo::exists(m_path) && !m_watcher->files().contains(m_path)) {
            m_watcher->addPath(m_path);
        }
        if (path == m_path) {
            emit fileChanged();
        }
    });
    connect(m_watcher.get(), &QFileSystemWatcher::directoryChanged, this, [this](const QString&) {
        if (QFileInfo::exists(m_path) && !m_watcher->files().contains(m_path)) {
            m_watcher->addPath(m_path);
            emit fileChanged();  // created, or renamed into place
        } else if (!QFileInfo::exists(m_path)) {
            emit fileChanged();  // removed
        }
    });
}

void SystemFileWatcher::Watch(const QString& path) {
    m_path = path;
    if (m_watcher == nullptr) {
        if (path.isEmpty()) {
            return;
        }
        CreateWatcher();
    }
    if (!m_watcher->files().isEmpty()) {
        m_watcher->removePaths(m_watcher->files());
    }
    if (!m_watcher->directories().isEmpty()) {
        m_watcher->removePaths(m_watcher->directories());
    }
    if (path.isEmpty()) {
        return;
    }
    const QString folder = QFileInfo(path).absolutePath();
    if (QFileInfo::exists(folder)) {
        m_watcher->addPath(folder);
    }
    if (QFileInfo::exists(path)) {
        m_watcher->addPath(path);
    }
}

}  // namespace tav
