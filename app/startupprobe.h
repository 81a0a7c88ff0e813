// For the start-up benchmark and the install test: ends the main window's run as soon as it has
// been shown, so that a process's lifetime measures the time from its start to the window on
// screen. A message box shown meanwhile (the question about missing catalogues, a warning) is
// written to standard error (its title, its texts and its buttons, one line each) and answered
// with its Escape button: an offscreen run can show what a user would see, and never waits for a
// click that cannot come.
#pragma once

#include <QObject>

namespace tav {

class StartupProbe final : public QObject {
    Q_OBJECT

public:
    // Installs the probe on the application when the environment sets TAV_QUIT_WHEN_SHOWN.
    // Only for tests and measurements: nothing a user runs sets it.
    static void InstallIfAsked();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;
};

}  // namespace tav
