#include "help/screenfit.h"

#include <QEvent>
#include <QGuiApplication>
#include <QScreen>
#include <QWidget>
#include <algorithm>

namespace tav {

QRect FitInto(const QRect& frame, const QRect& area) {
    QRect fitted(frame.topLeft(), frame.size().boundedTo(area.size()));
    fitted.moveLeft(std::clamp(fitted.left(), area.left(), area.right() - fitted.width() + 1));
    fitted.moveTop(std::clamp(fitted.top(), area.top(), area.bottom() - fitted.height() + 1));
    return fitted;
}

QRect AvailableArea(const QWidget& widget) {
    const QScreen* screen = widget.window()->screen();
    if (screen == nullptr) {
        screen = QGuiApplication::primaryScreen();
    }
    return screen == nullptr ? QRect() : screen->availableGeometry();
}

bool FitsAScreen(const QRect& frame) {
    const QList<QScreen*> screens = QGuiApplication::screens();
    return frame.isValid() && std::any_of(screens.begin(), screens.end(), [&frame](QScreen* s) {
               return s->availableGeometry().contains(frame);
           });
}

namespace {

const QString kWatchName = QStringLiteral("tavDecorationWatch");

bool IsDecorated(const QWidget& window) {
    return window.frameGeometry().size() != window.size();
}

// The size the decorations add to `window`'s client area, or `decorated`'s while `window` has none
// yet.
QSize Decorations(const QWidget& window, const QWidget& decorated) {
    const QWidget& known = IsDecorated(window) ? window : decorated;
    return known.frameGeometry().size() - known.size();
}

void MoveAndResize(QWidget& window, const QRect& frame, const QWidget& decorated) {
    // move() places the frame's corner; resize() sizes the client area inside the decorations.
    window.move(frame.topLeft());
    window.resize(frame.size() - Decorations(window, decorated));
}

// Places its window at `frame` again once the window's own decorations are known, then goes.
class DecorationWatch final : public QObject {
public:
    DecorationWatch(QWidget& window, const QRect& frame)
        : QObject(&window), m_window(window), m_frame(frame) {
        setObjectName(kWatchName);
        window.installEventFilter(this);
    }

    bool eventFilter(QObject* watched, QEvent* event) override {
        const bool placed = event->type() == QEvent::Move || event->type() == QEvent::Resize;
        if (watched == &m_window && placed && IsDecorated(m_window)) {
            m_window.removeEventFilter(this);
            if (m_window.frameGeometry() != m_frame) {
                MoveAndResize(m_window, m_frame, m_window);
            }
            deleteLater();
        }
        return false;
    }

private:
    QWidget& m_window;
    QRect m_frame;
};

}  // namespace

void PlaceFrame(QWidget& window, const QRect& frame, const QWidget& decorated) {
    delete window.findChild<QObject*>(kWatchName, Qt::FindDirectChildrenOnly);
    MoveAndResize(window, frame, decorated);
    if (!IsDecorated(window)) {
        new DecorationWatch(window, frame);
    }
}

void PlaceOver(QWidget& dialog, const QWidget& owner) {
    const QWidget& ownerWindow = *owner.window();
    QRect frame(QPoint(), dialog.size() + Decorations(dialog, ownerWindow));
    frame.moveCenter(ownerWindow.frameGeometry().center());
    PlaceFrame(dialog, FitInto(frame, AvailableArea(ownerWindow)), ownerWindow);
}

}  // namespace tav
