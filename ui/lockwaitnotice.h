// What the window shows while a save waits for another program to release its lock on the
// document: once the wait has lasted a moment, a window-modal notice naming that program, with a
// Cancel button that gives the save up. The save runs on the window's thread, so while the notice
// is up it lets the window paint and take the notice's own input, and nothing else.
#pragma once

#include <QString>
#include <chrono>
#include <memory>

class QObject;
class QProgressDialog;
class QWidget;

namespace tav {

struct LockHolder;

class LockWaitNotice final {
public:
    // Long enough that the locks of other saves of this program, held for milliseconds, never
    // show it; short enough that a wait is never silent.
    static constexpr std::chrono::milliseconds kShowAfter{300};

    // For a save of the document named `documentName` over the window `parent`; shows nothing
    // until told that a wait has lasted `showAfter`.
    LockWaitNotice(QWidget* parent, QString documentName,
                   std::chrono::milliseconds showAfter = kShowAfter);
    ~LockWaitNotice();
    LockWaitNotice(const LockWaitNotice&) = delete;
    LockWaitNotice& operator=(const LockWaitNotice&) = delete;

    // Told at each poll of a save that has waited `waited` for the lock `holder` holds (a
    // LockWaitSink). From `showAfter` on it shows the notice, brings its text up to date and
    // handles the events waiting then: paints, timers, and input to the notice only; input to
    // any other widget and file notifications (socket notifiers) wait for the save to end.
    // Returns false once the user cancelled (the save is to give up), else true.
    bool Waiting(const LockHolder& holder, std::chrono::milliseconds waited);

    // Takes the notice down, once the wait is over; a later wait shows it again.
    void Close();

    // The notice while it is up (object name "lockWaitNotice"), else null.
    QProgressDialog* Dialog() const { return m_dialog.get(); }

private:
    void Show(const QString& text);

    QWidget* m_parent;
    QString m_documentName;
    std::chrono::milliseconds m_showAfter;
    std::unique_ptr<QProgressDialog> m_dialog;
    std::unique_ptr<QObject> m_inputGate;  // drops input to anything but the notice
};

}  // namespace tav
