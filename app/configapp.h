// The application: reads the remembered folder, runs the main window for the whole interactive
// life of the program, and writes the folder back at exit.
#pragma once

#include <QSettings>
#include <memory>
#include <string>

#include "ui/maindialog.h"

namespace tav {

class ConfigApp final {
public:
    // `settings` holds the remembered folder (group "Init", key "OpenFolder"); `services` go to
    // the main window, and the messages also report settings that cannot be read or written.
    ConfigApp(std::unique_ptr<QSettings> settings, MainDialogServices services);
    ~ConfigApp();
    ConfigApp(const ConfigApp&) = delete;
    ConfigApp& operator=(const ConfigApp&) = delete;

    // Reads the remembered folder (missing: empty), then builds the main window over the
    // catalogues in `catalogueFolder` and runs it modally until it closes; finally writes the
    // folder, only when it is not empty. Returns the window's result.
    int Run(const std::string& catalogueFolder);

    // Empty until Run has read it; afterwards the folder Run wrote (or would have written).
    const std::string& OpenFolder() const { return m_openFolder; }

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
};

}  // namespace tav
