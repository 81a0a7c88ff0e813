// Showing the help file: the window asks, an implementation decides how (the program's own
// viewer, the desktop's handler) and tests stand in for it.
#pragma once

#include <string>

class QWidget;

namespace tav {

class HelpService {
public:
    virtual ~HelpService() = default;
    // Shows the help file for the main window `owner` (a viewer is placed against its right edge)
    // at `page`, the name of a page in the help file ("tree.html"); at the default topic when
    // `page` is empty or the file has no such page.
    virtual void ShowHelp(QWidget* owner, const std::string& page = {}) = 0;
};

}  // namespace tav
