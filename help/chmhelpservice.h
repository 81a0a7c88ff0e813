// Help as the program shows it: "taca.hlp" from the program's folder through the desktop when
// that file can be opened, otherwise "taca.chm" in the program's own viewer beside the window.
#pragma once

#include <QPointer>
#include <QRect>
#include <QString>
#include <optional>

#include "help/helpservice.h"

class QSettings;
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
    // Where `settings` keep the viewer's frame (a QRect in global pixels) between sessions.
    static constexpr const char* kFrameKey = "HelpWindow/Frame";

    // Looks for the help files in `folder` (the executable's folder) and nowhere else; `launcher`
    // must outlive the service, and so must `settings`, which keep the viewer's place between
    // sessions (null: it is kept for the session only). Destroy the service while the
    // QApplication still exists: it deletes the viewer window, unless the window it belongs to
    // has done so already.
    ChmHelpService(QString folder, HelpLauncher& launcher, QSettings* settings = nullptr);
    ~ChmHelpService() override;
    ChmHelpService(const ChmHelpService&) = delete;
    ChmHelpService& operator=(const ChmHelpService&) = delete;

    // "taca.hlp" when it opens for reading and the launcher takes it (at its start: `page` names
    // a page of the other file); otherwise the viewer shows "taca.chm" at `page`, or at its
    // default topic when `page` is empty or not in the file (or why it cannot), raised and
    // activated. The viewer goes where the user last left it (in this session, else as the
    // settings hold it) when that place lies wholly on one of the screens there are now;
    // otherwise beside `owner` as BesideFrame says, on `owner`'s screen. `owner` may be null:
    // the viewer then keeps its place. The viewer is a window of its own that belongs to
    // `owner`'s window: the main window runs modally, and only windows that belong to it take
    // input meanwhile.
    void ShowHelp(QWidget* owner, const std::string& page = {}) override;

    // The one viewer window, created by the first request that needs it; null before (and after
    // the window it belonged to has been destroyed).
    HelpViewer* Viewer() const;

private:
    bool LaunchWinHelp();
    HelpViewer* ShowChm(QWidget* ownerWindow, const std::string& page);
    std::optional<QRect> ViewerFrame(const QWidget* ownerWindow) const;
    void KeepFrame(const QRect& frame);

    QString m_folder;
    HelpLauncher& m_launcher;
    QSettings* m_settings;
    QPointer<HelpViewer> m_viewer;
    std::optional<QRect> m_keptFrame;  // where the viewer was last seen in its normal state
};

// The frame of a window `width` wide beside the frame `owner`, with its top and height, inside
// `area`: against its right edge when there is room, else against its left edge, else moved (and
// where it is larger than `area`, shrunk) into `area` over the owner's right part.
QRect BesideFrame(const QRect& owner, int width, const QRect& area);

}  // namespace tav
