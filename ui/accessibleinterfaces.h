// What screen readers are told where Qt's own account of a control misleads: the main window is
// announced as a window (Qt announces every QDialog as a dialog), and a True/False box by the
// name of the setting it edits (Qt on Linux announces a combo box by its current entry and drops
// its accessible name).
#pragma once

namespace tav {

// Installs these accounts for the whole application, once; later calls do nothing. Needs the
// QApplication. Combo boxes without an accessible name, and editable ones, keep Qt's account.
void InstallAccessibleInterfaces();

}  // namespace tav
