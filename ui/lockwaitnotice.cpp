#include "ui/lockwaitnotice.h"

#include <QCoreApplication>
#include <QEvent>
#include <QGuiApplication>
#include <QProgressDialog>

#include "qtbridge/textconv.h"
#include "storage/filelock.h"
#include "ui/messagereporter.h"

namespace tav {

namespace {

// Whether `type` is something a user does to a widget: a key, a shortcut, the mouse, a drop, a
// close.
bool IsInput(QEvent::Type type) {
    switch (type) {
        case QEvent::KeyPress:
        case QEvent::KeyRelease:
        case QEvent::ShortcutOverride:
        case QEvent::Shortcut:
        case QEvent::MouseButtonPress:
        case QEvent::MouseButtonRelease:
        case QEvent::MouseButtonDblClick:
        case QEvent::Wheel:
        case QEvent::ContextMenu:
        case QEvent::DragEnter:
        case QEvent::DragMove:
        case QEvent::Drop:
        case QEvent::Close:
            return true;
        default:
            return false;
    }
}

// Lets input reach the notice (its buttons, its Escape shortcut) and drops the rest. Window
// modality alone is not enough: a shortcut of the main window's actions is matched against the
// active window, which is still the main window until the window system activates the notice.
// Input reaches a native window (QWindow) before its widgets: that is let through, to be judged
// when it is handed on to a widget.
class InputGate final : public QObject {
public:
    explicit InputGate(const QObject* notice) : m_notice(notice) {}

    bool eventFilter(QObject* receiver, QEvent* event) override {
        if (receiver->isWindowType() || !IsInput(event->type())) {
            return false;
        }
        for (const QObject* o = receiver; o != nullptr; o = o->parent()) {
            if (o == m_notice) {
                return false;
            }
        }
        return true;
    }

private:
    const QObject* m_notice;
};

}  // namespace

LockWaitNotice::LockWaitNotice(QWidget* parent, QString documentName,
                               std::chrono::milliseconds showAfter)
    : m_parent(parent), m_documentName(std::move(documentName)), m_showAfter(showAfter) {}

LockWaitNotice::~LockWaitNotice() {
    Close();
}

void LockWaitNotice::Close() {
    if (m_dialog) {
        m_inputGate.reset();
        m_dialog.reset();
        QGuiApplication::restoreOverrideCursor();
    }
}

bool LockWaitNotice::Waiting(const LockHolder& holder, std::chrono::milliseconds waited) {
    if (waited < m_showAfter) {
        return true;
    }
    const QString text = QCoreApplication::translate("LockWaitNotice",
                                                     "Waiting for %1 to release %2…\n\n"
                                                     "Cancel gives up: nothing will be written.")
                             .arg(ToQt(holder.Describe()), m_documentName);
    if (!m_dialog) {
        Show(text);
    } else if (m_dialog->labelText() != text) {
        m_dialog->setLabelText(text);
    }
    QCoreApplication::processEvents(QEventLoop::ExcludeSocketNotifiers);
    return !m_dialog->wasCanceled();
}

void LockWaitNotice::Show(const QString& text) {
    m_dialog = std::make_unique<QProgressDialog>(
        text, QCoreApplication::translate("LockWaitNotice", "Cancel"), 0, 0, m_parent);
    m_dialog->setObjectName(QStringLiteral("lockWaitNotice"));
    m_dialog->setWindowTitle(ProgramTitle());
    m_dialog->setWindowModality(Qt::WindowModal);
    m_dialog->setAutoClose(false);
    m_dialog->setAutoReset(false);
    // Escape or the close box may reject the dialog without its canceled signal.
    QObject::connect(m_dialog.get(), &QDialog::rejected, m_dialog.get(), &QProgressDialog::cancel);
    m_inputGate = std::make_unique<InputGate>(m_dialog.get());
    QCoreApplication::instance()->installEventFilter(m_inputGate.get());
    // The save's wait cursor would say the Cancel button cannot be clicked.
    QGuiApplication::setOverrideCursor(Qt::ArrowCursor);
    m_dialog->show();
}

}  // namespace tav
