// Feedback while a document is read or written on the window's thread: a wait cursor at once and,
// once the work has taken longer than a second, a progress dialog telling how far it is.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <chrono>
#include <cstddef>
#include <memory>

#include "catalog/progress.h"

class QProgressDialog;
class QWidget;

namespace tav {

class WorkFeedback final {
public:
    // `label` says what is being done ("Saving front-office.tac…").
    WorkFeedback(QWidget* parent, QString label,
                 std::chrono::milliseconds showAfter = std::chrono::seconds(1));
    ~WorkFeedback();
    WorkFeedback(const WorkFeedback&) = delete;
    WorkFeedback& operator=(const WorkFeedback&) = delete;

    // The progress dialog once it is shown, else null.
    QProgressDialog* Dialog() const { return m_dialog.get(); }

private:
    void OnProgress(std::size_t done, std::size_t total);

    QWidget* m_parent;
    QString m_label;
    std::chrono::milliseconds m_showAfter;
    QElapsedTimer m_clock;
    std::unique_ptr<QProgressDialog> m_dialog;
    ProgressReport m_report;
};

}  // namespace tav
