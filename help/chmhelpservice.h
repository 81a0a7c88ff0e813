// Help as the program shows it: "taca.hlp" from the program's folder through the desktop when
// that file can be opened, otherwise "taca.chm" in the program's own viewer beside the window.
#pragma once

#include <QPointer>
#include <QString>

#include "helpservice.h"

class QWidget;

namespace tav {

class HelpViewer;

// Hands a help file to whatever the desktop opens that kind of file with.
class HelpLauncher {
public:
    virtual ~HelpLauncher() = default;
    // Opens the file at `path` in an outside viewer; false when none could be started.
    virtual bool Open(const QString& path) = 0;
};

// The desktop's default handler for the file (QDesktopServices).
class DesktopHelpLauncher final : public HelpLauncher {
public:
    bool Open(const QString& path) override;
};

class ChmHelpService final : public HelpService {
public:
    static constexpr int kViewerWidth = 600;

    // Looks for the help files in `folder` (the executable's folder) and nowhere else; `launcher`
    // must outlive the service. Destroy the service while the QApplication still exists: it
    // deletes the viewer window, unless the window it belongs to has done so already.
    ChmHelpService(QString folder, HelpLauncher& launcher);
    ~ChmHelpService() override;
    ChmHelpService(const ChmHelpService&) = delete;
    ChmHelpService& operator=(const ChmHelpService&) = delete;

    // "taca.hlp" when it opens for reading and the launcher takes it (at its start: `page` names
    // a page of the other file); otherwise the viewer shows "taca.chm" at `page`, or at its
    // default topic when `page` is empty or not in the file (or why it cannot), placed against
    // `owner`'s right edge with `owner`'s top and height, 600 pixels wide, raised and activated.
    // `owner` may be null: the viewer then keeps its place. The viewer is a window of its own that
    // belongs to `owner`'s window: the main window runs modally, and only windows that belong to it
    // take input meanwhile.
    void ShowHelp(QWidget* owner, const std::string& page = {}) override;

    // The one viewer window, created by the first request that needs it; null before (and after
    // the window it belonged to has been destroyed).
    HelpViewer* Viewer() const;

private:
    bool LaunchWinHelp();
    HelpViewer* ShowChm(QWidget* ownerWindow, const std::string& page);

    QString m_folder;
    HelpLauncher& m_launcher;
    QPointer<HelpViewer> m_viewer;
};

// Moves the top-level `window` so that its frame lies against `owner`'s frame on the right:
// left at the owner's right edge, same top and height, `width` wide. No clamping to the screen.
// While `window` reports no frame yet (not shown, or not decorated yet), its frame is taken to be
// as wide and tall as the owner's.
void PlaceBeside(QWidget& window, const QWidget& owner, int width);

}  // namespace tav
