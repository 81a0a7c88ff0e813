// Where the main window and its controls go: the window's first place on the screen, the menu bar
// and client area, and the layout table of the controls in client pixels.
#include <QMenuBar>
#include <QMoveEvent>
#include <QResizeEvent>
#include <QShowEvent>
#include <algorithm>
#include <array>
#include <utility>
#include <vector>

#include "ui/maindialog.h"

namespace tav {

namespace {

constexpr QPoint kStartPosition(50, 50);
constexpr QSize kStartOuterSize(400, 450);
// The smallest client area at which every control still has room to be used.
constexpr QSize kMinimumClientSize(300, 200);

// The replacement row is placed as written for client widths from kRowFitsWidth (its right edge
// plus the margin) to kRowWrittenWidth (the client width of the window at its start size without
// a frame): the window's start size keeps it on every platform. A wider client gives the extra
// width to the Replace and By edits in halves; a narrower one takes it from them.
constexpr int kRowFitsWidth = 370;
constexpr int kRowWrittenWidth = 400;

// What part of the replacement row's growth a position or width gets.
enum class Growth { None, FirstHalf, SecondHalf, Whole };

// Where a control goes, in client pixels. A width or height that follows the client area is the
// client's width or height plus the (negative) amount given; x and width also take their part of
// the replacement row's growth.
struct Placement {
    ControlId id;
    int x;
    int y;
    int width;
    int height;
    bool widthFollows;
    bool heightFollows;
    Growth xGrowth = Growth::None;
    Growth widthGrowth = Growth::None;
};

// The value edit, the combo and the replacement row share the band at y = 60; at most one of
// them is visible. Add and Delete share one rectangle. The status note and the find field share
// the toolbar's band right of the buttons (FilterField places both).
constexpr std::array kLayout = {
    Placement{ControlId::PathDisplay, 10, 30, -20, 25, true, false},
    Placement{ControlId::ValueEdit, 10, 60, -20, 30, true, false},
    Placement{ControlId::ValueCombo, 10, 60, -20, 60, true, false},
    Placement{ControlId::Tree, 10, 95, -20, -105, true, true},
    Placement{ControlId::ReplaceLabel, 10, 60, 50, 20, false, false},
    Placement{ControlId::ReplaceEdit, 60, 60, 100, 20, false, false, Growth::None,
              Growth::FirstHalf},
    Placement{ControlId::ByLabel, 170, 60, 20, 20, false, false, Growth::FirstHalf},
    Placement{ControlId::ByEdit, 190, 60, 100, 20, false, false, Growth::FirstHalf,
              Growth::SecondHalf},
    Placement{ControlId::AddButton, 300, 60, 60, 20, false, false, Growth::Whole},
    Placement{ControlId::DeleteButton, 300, 60, 60, 20, false, false, Growth::Whole},
};

int RowGrowth(int clientWidth) {
    if (clientWidth > kRowWrittenWidth) {
        return clientWidth - kRowWrittenWidth;
    }
    return clientWidth < kRowFitsWidth ? clientWidth - kRowFitsWidth : 0;
}

int PartOf(int growth, Growth part) {
    switch (part) {
        case Growth::FirstHalf:
            return growth / 2;
        case Growth::SecondHalf:
            return growth - growth / 2;
        case Growth::Whole:
            return growth;
        case Growth::None:
            break;
    }
    return 0;
}

}  // namespace

// The requested outer size holds the frame; the frame's size is known once the window is shown.
void MainDialog::PlaceOnScreen() {
    move(kStartPosition);
    resize(kStartOuterSize);
    PlaceClientArea();
}

void MainDialog::SetMinimumWindowSize() {
    const int menuHeight = m_menuBar->isNativeMenuBar() ? 0 : m_menuBar->sizeHint().height();
    setMinimumSize(kMinimumClientSize.width(), kMinimumClientSize.height() + menuHeight);
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
    PlaceClientArea();
    PlaceOnceFrameIsKnown();
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
    const int growth = RowGrowth(clientWidth);
    // Each control's id is read once: a property lookup walks its class's whole meta-object.
    std::vector<std::pair<ControlId, QWidget*>> controls;
    for (QWidget* child : m_client->findChildren<QWidget*>(Qt::FindDirectChildrenOnly)) {
        controls.emplace_back(static_cast<ControlId>(child->property(kControlIdProperty).toInt()),
                              child);
    }
    for (const Placement& place : kLayout) {
        const auto found = std::find_if(controls.begin(), controls.end(),
                                        [&place](const auto& c) { return c.first == place.id; });
        if (found == controls.end()) {
            continue;
        }
        QWidget* control = found->second;
        const int x = place.x + PartOf(growth, place.xGrowth);
        const int width = std::max(0, place.width + (place.widthFollows ? clientWidth : 0) +
                                          PartOf(growth, place.widthGrowth));
        int height = std::max(0, place.height + (place.heightFollows ? clientHeight : 0));
        if (place.id == ControlId::ValueCombo) {
            // The table's height includes the drop-down list, which Qt shows as a popup.
            height = std::min(height, control->sizeHint().height());
        }
        control->setGeometry(x, place.y, width, height);
    }
    PlaceDiskNotice();
}

}  // namespace tav
