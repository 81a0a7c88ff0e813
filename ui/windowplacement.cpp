// Where the main window goes on the screen: its first place and size, kept once the window manager
// has put its frame around it.
#include <QMoveEvent>
#include <QResizeEvent>
#include <QShowEvent>

#include "ui/maindialog.h"

namespace tav {

namespace {

constexpr QPoint kStartPosition(50, 50);
constexpr QSize kStartOuterSize(400, 450);

}  // namespace

// The requested outer size holds the frame; the frame's size is known once the window is shown.
// Where the controls need more room (larger fonts, longer texts), the layout's minimum wins.
void MainDialog::PlaceOnScreen() {
    move(kStartPosition);
    resize(kStartOuterSize);
}

void MainDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_placedOnScreen) {
        m_placedOnScreen = true;
        PlaceOnceFrameIsKnown();
    }
}

// Some window systems report the frame only after the first show (a window manager decorates
// the window a moment later, and moves it while doing so): the frame is then taken from the first
// move or resize that shows it. A window the user has resized meanwhile keeps its size.
void MainDialog::PlaceOnceFrameIsKnown() {
    if (!m_placedOnScreen || m_frameKnown) {
        return;
    }
    const QSize frame = frameGeometry().size() - geometry().size();
    if (frame.isNull()) {
        return;
    }
    m_frameKnown = true;
    if (size() == kStartOuterSize) {
        resize(kStartOuterSize - frame);
        move(kStartPosition);
    }
}

void MainDialog::moveEvent(QMoveEvent* event) {
    QDialog::moveEvent(event);
    PlaceOnceFrameIsKnown();
}

void MainDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    PlaceOnceFrameIsKnown();
}

}  // namespace tav
