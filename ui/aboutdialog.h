// The About box, and the rule that routes system-menu commands to it.
#pragma once

#include <QDialog>

namespace tav {

// Command id of the About entry appended to the window's system menu, where the platform has one
// (Windows: win32/systemmenu.cpp).
constexpr unsigned kAboutSysCommand = 16;

// True when the system command `id` is the About entry: its low four bits are the system's own,
// so 16 to 31 are About, 15 and 32 are not.
bool IsAboutSysCommand(unsigned id);

// Caption "About": the program icon, "TAV Configuration Manager", a one-line maker's notice and an
// OK button that is the default. Run it modally over the main window: shown, it lies in the middle
// of its parent's window, moved wholly onto that window's screen where it would not be.
class AboutDialog final : public QDialog {
    Q_OBJECT

public:
    explicit AboutDialog(QWidget* parent = nullptr);

    void setVisible(bool visible) override;
};

}  // namespace tav
