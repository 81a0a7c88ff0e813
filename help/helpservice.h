// Showing the help file: the window asks, an implementation decides how (the program's own
// viewer, the desktop's handler) and tests stand in for it.
#pragma once

class QWidget;

namespace tav {

class HelpService {
public:
    virtual ~HelpService() = default;
    // Shows the help file for the main window `owner` (a viewer is placed against its right edge).
    virtual void ShowHelp(QWidget* owner) = 0;
};

}  // namespace tav
