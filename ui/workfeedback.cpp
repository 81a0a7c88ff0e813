#include "workfeedback.h"

#include <QCoreApplication>
#include <QGuiApplication>
#include <QProgressDialog>

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

WorkFeedback::~WorkFeedback() {
    QGuiApplication::restoreOverrideCursor();
}

void WorkFeedback::OnProgress(std::size_t done, std::size_t total) {
    if (!m_dialog) {
        if (m_clock.elapsed() < m_showAfter.count()) {
            return;
        }
        // No Cancel button: a write stopped half-way would leave less than either version.
        m_dialog = std::make_unique<QProgressDialog>(m_label, QString(), 0, kSteps, m_parent);
        m_dialog->setWindowTitle(QCoreApplication::applicationName());
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
