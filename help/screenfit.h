// Keeping top-level windows wholly on a screen: the rules the help viewer and the main window's
// dialogs share. Rectangles are frames (decorations included) in global pixels.
#pragma once

#include <QRect>

class QWidget;

namespace tav {

// `frame` moved, after shrinking it to `area`'s size where it is larger, so that it lies wholly
// inside `area`; a frame inside `area` already is returned as it is.
QRect FitInto(const QRect& frame, const QRect& area);

// The available geometry (the screen without its task bars and docks) of the screen that holds
// `widget`'s window; the primary screen's while it has none.
QRect AvailableArea(const QWidget& widget);

// True when `frame` lies wholly inside the available geometry of one of the screens there are now.
bool FitsAScreen(const QRect& frame);

// Moves and resizes the top-level `window` so that its frame is `frame`: the decorations stay
// outside the client size. While `window` reports no frame yet (not shown, or not decorated yet),
// it is taken to have the decorations of `decorated`, a shown window of the same window system,
// and it is placed again by the first move or resize that shows its own (a window manager adds
// them a moment after the window is shown, and they may differ: a maximised window has no borders).
void PlaceFrame(QWidget& window, const QRect& frame, const QWidget& decorated);

// Moves the top-level `dialog`, not shown yet, to the middle of `owner`'s window, then into the
// available area of that window's screen, shrinking it where it is larger. Its frame is taken to
// have the owner's decorations. Placed so, a QDialog no longer centres itself when shown.
void PlaceOver(QWidget& dialog, const QWidget& owner);

}  // namespace tav
