#include "help/chmhelpservice.h"

#include <QDesktopServices>
#include <QDir>
#include <QFile>
#include <QSettings>
#include <QUrl>
#include <QWidget>

#include "help/helpviewer.h"
#include "help/screenfit.h"

namespace tav {

namespace {

const QString kWinHelpFile = QStringLiteral("taca.hlp");
const QString kHtmlHelpFile = QStringLiteral("taca.chm");

}  // namespace

bool DesktopHelpLauncher::Open(const QString& path) {
    return QDesktopServices::openUrl(QUrl::fromLocalFile(path));
}

ChmHelpService::ChmHelpService(QString folder, HelpLauncher& launcher, QSettings* settings)
    : m_folder(std::move(folder)), m_launcher(launcher), m_settings(settings) {}

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
    if (const std::optional<QRect> frame = ViewerFrame(owner)) {
        PlaceFrame(*viewer, *frame, owner != nullptr ? *owner : *viewer);
    }
    viewer->show();
    KeepFrame(viewer->frameGeometry());
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
        QObject::connect(m_viewer, &HelpViewer::placementChanged, m_viewer,
                         [this] { KeepFrame(m_viewer->frameGeometry()); });
    } else if (ownerWindow != nullptr && m_viewer->parentWidget() != ownerWindow) {
        m_viewer->setParent(ownerWindow, m_viewer->windowFlags());
    }
    m_viewer->ShowHelpFile(QDir(m_folder).filePath(kHtmlHelpFile), page);
    return m_viewer.data();
}

// A place the user chose is kept while a screen can show it whole: a screen may have gone, or
// another resolution taken, since.
std::optional<QRect> ChmHelpService::ViewerFrame(const QWidget* ownerWindow) const {
    std::optional<QRect> kept = m_keptFrame;
    if (!kept && m_settings != nullptr) {
        if (const QVariant stored = m_settings->value(QLatin1String(kFrameKey));
            stored.canConvert<QRect>()) {
            kept = stored.toRect();
        }
    }
    if (kept && FitsAScreen(*kept)) {
        return kept;
    }
    if (ownerWindow == nullptr) {
        return std::nullopt;
    }
    return BesideFrame(ownerWindow->frameGeometry(), kViewerWidth, AvailableArea(*ownerWindow));
}

void ChmHelpService::KeepFrame(const QRect& frame) {
    m_keptFrame = frame;
    if (m_settings != nullptr) {
        m_settings->setValue(QLatin1String(kFrameKey), frame);
    }
}

QRect BesideFrame(const QRect& owner, int width, const QRect& area) {
    const QRect right(owner.x() + owner.width(), owner.y(), width, owner.height());
    if (area.contains(right)) {
        return right;
    }
    if (const QRect left = right.translated(-owner.width() - width, 0); area.contains(left)) {
        return left;
    }
    return FitInto(right, area);
}

}  // namespace tav
