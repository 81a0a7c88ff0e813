// Feedback while a document is read or written on the window's thread: a wait cursor at once and,
// once the work has taken longer than a second, a progress dialog telling how far it is; for a
// write, also the notice while it waits for another program's lock on the document.
#pragma once

#include <QElapsedTimer>
#include <QString>
#include <chrono>
#include <cstddef>
#include <memory>
#include <optional>

#include "base/progress.h"
#include "storage/filelock.h"
#include "ui/lockwaitnotice.h"

class QProgressDialog;
class QWidget;

namespace tav {

// A write of a document, for the feedback: the document's name for the lock-wait notice, and when
// that notice shows.
struct DocumentWrite {
    QString documentName;
    std::chrono::milliseconds noticeAfter = LockWaitNotice::kShowAfter;
};

class WorkFeedback final {
public:
    // `label` says what is being done ("Opening front-office.tac…").
    WorkFeedback(QWidget* parent, QString label,
                 std::chrono::milliseconds showAfter = std::chrono::seconds(1));
    // The same for a write of `write.documentName` ("Saving front-office.tac…"), which also tells
    // a LockWaitNotice each time the write polls a lock it waits for, so that the user sees who
    // holds it and may give the write up; the notice goes once the write reports progress. Time
    // spent waiting does not count for the progress dialog: that shows once the write itself has
    // taken `showAfter`.
    WorkFeedback(QWidget* parent, QString label, DocumentWrite write,
                 std::chrono::milliseconds showAfter = std::chrono::seconds(1));
    ~WorkFeedback();
    WorkFeedback(const WorkFeedback&) = delete;
    WorkFeedback& operator=(const WorkFeedback&) = delete;

    // The progress dialog once it is shown, else null.
    QProgressDialog* Dialog() const { return m_dialog.get(); }

private:
    void OnProgress(std::size_t done, std::size_t total);
    bool OnLockWait(const LockHolder& holder, std::chrono::milliseconds waited);

    QWidget* m_parent;
    QString m_label;
    std::chrono::milliseconds m_showAfter;
    QElapsedTimer m_clock;
    std::unique_ptr<QProgressDialog> m_dialog;
    ProgressReport m_report;
    std::optional<LockWaitNotice> m_lockNotice;
    std::optional<LockWaitReport> m_lockReport;
};

}  // namespace tav
