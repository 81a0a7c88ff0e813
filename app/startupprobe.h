// For the start-up benchmark: ends the main window's run as soon as it has been shown, so that a
// process's lifetime measures the time from its start to the window on screen.
#pragma once

#include <QObject>

namespace tav {

class StartupProbe final : public QObject {
    Q_OBJECT

public:
    // Installs the probe on the application when the environment sets TAV_QUIT_WHEN_SHOWN.
    static void InstallIfAsked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tav
