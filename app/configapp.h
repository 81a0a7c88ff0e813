// The application: reads the remembered folder and the recent files, runs the main window for the
// whole interactive life of the program, and writes them back at exit.
#pragma once

#include <QSettings>
#include <memory>
#include <string>
#include <vector>

#include "ui/maindialog.h"

namespace tav {

class ConfigApp final {
public:
    // `settings` holds the remembered folder (group "Init", key "OpenFolder") and the recent files
    // (group "Recent", key "Files": a list of paths, most recent first); `services` go to the main
    // window, and the messages also report settings that cannot be read or written.
    ConfigApp(std::unique_ptr<QSettings> settings, MainDialogServices services);
    ~ConfigApp();
    ConfigApp(const ConfigApp&) = delete;
    ConfigApp& operator=(const ConfigApp&) = delete;

    // Reads the remembered folder and the recent files (missing: empty), loads the catalogues in
    // `catalogueFolder` (empty: none was found, the window gets none and nothing is said; every
    // problem of the files is shown over the window, with the file and the reason), then builds
    // the main window over them, opens `startFile` in it unless that is
    // empty (see MainDialog::OpenFile) and runs it modally until it closes; finally writes the
    // folder, only when it is not empty, and the recent files, only when they changed. Returns
    // the window's result.
    int Run(const std::string& catalogueFolder, const std::string& startFile = {});

    // Empty until Run has read it; afterwards the folder Run wrote (or would have written).
    const std::string& OpenFolder() const { return m_openFolder; }
    // Empty until Run has read them; afterwards the recent files as the window left them.
    const std::vector<std::string>& RecentFiles() const { return m_recentFiles; }

    // The program's own store: native format, per user, organisation "Wrn.Applications",
    // application the executable's file name without its extension.
    static std::unique_ptr<QSettings> ProgramSettings();

private:
    void ReadSettings();
    void WriteSettings();
    void ReportSettingsError(const QString& what);

    std::unique_ptr<QSettings> m_settings;
    MainDialogServices m_services;
    std::string m_openFolder;
    std::vector<std::string> m_recentFiles;
    std::vector<std::string> m_recentFilesRead;
};

}  // namespace tav
