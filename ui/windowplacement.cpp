// Where the main window and its controls go: the window's first place on the screen, the menu bar
// and client area, and the layout table of the controls in client pixels.
#include <QMenuBar>
#include <QResizeEvent>
#include <QShowEvent>
#include <algorithm>
#include <array>

#include "maindialog.h"

namespace tav {

namespace {

constexpr QPoint kStartPosition(50, 50);
constexpr QSize kStartOuterSize(400, 450);

// Where a control goes, in client pixels. A width or height that follows the client area is the
// client's width or height plus the (negative) amount given.
struct Placement {
    ControlId id;
    int x;
    int y;
    int width;
    int height;
    bool widthFollows;
    bool heightFollows;
};

// The value edit, the combo and the replacement row share the band at y = 60; at most one of
// them is visible. Add and Delete share one rectangle.
constexpr std::array kLayout = {
    Placement{ControlId::PathDisplay, 10, 30, -20, 25, true, false},
    Placement{ControlId::ValueEdit, 10, 60, -20, 30, true, false},
    Placement{ControlId::ValueCombo, 10, 60, -20, 60, true, false},
    Placement{ControlId::Tree, 10, 95, -20, -105, true, true},
    Placement{ControlId::ReplaceLabel, 10, 60, 50, 20, false, false},
    Placement{ControlId::ReplaceEdit, 60, 60, 100, 20, false, false},
    Placement{ControlId::ByLabel, 170, 60, 20, 20, false, false},
    Placement{ControlId::ByEdit, 190, 60, 100, 20, false, false},
    Placement{ControlId::AddButton, 300, 60, 60, 20, false, false},
    Placement{ControlId::DeleteButton, 300, 60, 60, 20, false, false},
};

}  // namespace

// The requested outer size holds the frame; the frame's size is known once the window is shown.
void MainDialog::PlaceOnScreen() {
    move(kStartPosition);
    resize(kStartOuterSize);
    PlaceClientArea();
}

void MainDialog::showEvent(QShowEvent* event) {
    QDialog::showEvent(event);
    if (!m_placedOnScreen) {
        m_placedOnScreen = true;
        const QSize frame = frameGeometry().size() - geometry().size();
        resize(kStartOuterSize - frame);
        move(kStartPosition);
    }
}

void MainDialog::resizeEvent(QResizeEvent* event) {
    QDialog::resizeEvent(event);
    PlaceClientArea();
}

void MainDialog::PlaceClientArea() {
    const int menuHeight = m_menuBar->isNativeMenuBar() ? 0 : m_menuBar->sizeHint().height();
    m_menuBar->setGeometry(0, 0, width(), menuHeight);
    m_client->setGeometry(0, menuHeight, width(), std::max(0, height() - menuHeight));
    LayoutControls();
}

void MainDialog::LayoutControls() {
    const int clientWidth = m_client->width();
    const int clientHeight = m_client->height();
    for (const Placement& place : kLayout) {
        QWidget* control = Control(place.id);
        if (control == nullptr) {
            continue;
        }
        const int width = std::max(0, place.width + (place.widthFollows ? clientWidth : 0));
        int height = std::max(0, place.height + (place.heightFollows ? clientHeight : 0));
        if (place.id == ControlId::ValueCombo) {
            // The table's height includes the drop-down list, which Qt shows as a popup.
            height = std::min(height, control->sizeHint().height());
        }
        control->setGeometry(place.x, place.y, width, height);
    }
}

}  // namespace tav
