#include "ui/workfeedback.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProgressDialog>

#include "ui/messagereporter.h"

namespace tav {

namespace {

constexpr int kSteps = 1000;

}  // namespace

WorkFeedback::WorkFeedback(QWidget* parent, QString label, std::chrono::milliseconds showAfter)
    : m_parent(parent),
      m_label(std::move(label)),
      m_showAfter(showAfter),
      m_report([this](std::size_t done, std::size_t total) { OnProgress(done, total); }) {
    m_clock.start();
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
}

WorkFeedback::WorkFeedback(QWidget* parent, QString label, DocumentWrite write,
                           std::chrono::milliseconds showAfter)
    : WorkFeedback(parent, std::move(label), showAfter) {
    m_lockNotice.emplace(parent, std::move(write.documentName), write.noticeAfter);
    m_lockReport.emplace(
        [this](const std::string&, const LockHolder& holder, std::chrono::milliseconds waited) {
            return OnLockWait(holder, waited);
        });
}

WorkFeedback::~WorkFeedback() {
    m_lockReport.reset();
    m_lockNotice.reset();  // its arrow cursor goes before the wait cursor
    QGuiApplication::restoreOverrideCursor();
}

// The clock of the progress dialog starts again while the write waits: the wait has a notice of
// its own.
bool WorkFeedback::OnLockWait(const LockHolder& holder, std::chrono::milliseconds waited) {
    m_clock.restart();
    return m_lockNotice->Waiting(holder, waited);
}

void WorkFeedback::OnProgress(std::size_t done, std::size_t total) {
    if (m_lockNotice) {
        m_lockNotice->Close();  // writing: the lock is taken
    }
    if (!m_dialog) {
        if (m_clock.elapsed() < m_showAfter.count()) {
            return;
        }
        // No Cancel button: a write stopped half-way would leave less than either version.
        m_dialog = std::make_unique<QProgressDialog>(m_label, QString(), 0, kSteps, m_parent);
        m_dialog->setWindowTitle(ProgramTitle());
        m_dialog->setMinimumDuration(0);
        m_dialog->setAutoClose(false);
        m_dialog->setAutoReset(false);
        m_dialog->show();
    }
    const double part = total == 0 ? 1.0 : static_cast<double>(done) / static_cast<double>(total);
    m_dialog->setValue(static_cast<int>(std::min(part, 1.0) * kSteps));
    // Paint the dialog, but take no input and no file notifications while the document is
    // half-read or half-written: they are handled once the work is done.
    QCoreApplication::processEvents(QEventLoop::ExcludeUserInputEvents |
                                    QEventLoop::ExcludeSocketNotifiers);
}

}  // namespace tav
