#include "chmhelpservice.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QUrl>
#include <QWidget>

#include "helpviewer.h"

namespace tav {

namespace {

const QString kWinHelpFile = QStringLiteral("taca.hlp");
const QString kHtmlHelpFile = QStringLiteral("taca.chm");

}  // namespace

bool DesktopHelpLauncher::Open(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

ChmHelpService::ChmHelpService(QString folder, HelpLauncher& launcher)
    : m_folder(std::move(folder)), m_launcher(launcher) {}

ChmHelpService::~ChmHelpService() {
    delete m_viewer.data();
}

void ChmHelpService::ShowHelp(QWidget* owner, const std::string& page) {
    if (LaunchWinHelp()) {
        return;
    }
    owner = owner != nullptr ? owner->window() : nullptr;
    HelpViewer* viewer = ShowChm(owner, page);
    // A minimised or maximised viewer would ignore the placement.
    viewer->setWindowState(viewer->windowState() &
                           ~(Qt::WindowMinimized | Qt::WindowMaximized | Qt::WindowFullScreen));
    if (owner != nullptr) {
        PlaceBeside(*viewer, *owner, kViewerWidth);
    }
    viewer->show();
    // Shown, the viewer's decorations are known (where the window system reports them at once):
    // placed again, its frame rather than its client area gets the size.
    if (owner != nullptr) {
        PlaceBeside(*viewer, *owner, kViewerWidth);
    }
    viewer->raise();
    viewer->activateWindow();
}

HelpViewer* ChmHelpService::Viewer() const {
    return m_viewer.data();
}

bool ChmHelpService::LaunchWinHelp() {
    const QString path = QDir(m_folder).filePath(kWinHelpFile);
    // Probing by opening: a file that exists but cannot be read counts as absent.
    QFile probe(path);
    if (!probe.open(QIODevice::ReadOnly)) {
        return false;
    }
    probe.close();
    return m_launcher.Open(path);
}

HelpViewer* ChmHelpService::ShowChm(QWidget* ownerWindow, const std::string& page) {
    if (m_viewer.isNull()) {
        m_viewer = new HelpViewer(ownerWindow);
    } else if (ownerWindow != nullptr && m_viewer->parentWidget() != ownerWindow) {
        m_viewer->setParent(ownerWindow, m_viewer->windowFlags());
    }
    m_viewer->ShowHelpFile(QDir(m_folder).filePath(kHtmlHelpFile), page);
    return m_viewer.data();
}

void PlaceBeside(QWidget& window, const QWidget& owner, int width) {
    const QRect ownerFrame = owner.frameGeometry();
    // The decorations stay outside the client size, so that the frame is exactly `width` wide and
    // as tall as the owner's. Before its first show (and until the window manager has decorated
    // it) the window reports none; the owner's, shown already, are the same window system's.
    QSize decoration = window.frameGeometry().size() - window.size();
    if (decoration.isNull()) {
        decoration = ownerFrame.size() - owner.size();
    }
    window.move(ownerFrame.x() + ownerFrame.width(), ownerFrame.y());
    window.resize(width - decoration.width(), ownerFrame.height() - decoration.height());
}

}  // namespace tav
