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
    // `settings` holds the remembered folder (group "Init", key "OpenFolder"), the recent files
    // (group "Recent", key "Files": a list of paths, most recent first) and the catalogue folder
    // the user chose (kCatalogueFolderKey, which tacconf reads too); `services` go to the main
    // window, and the messages also report settings that cannot be read or written.
    ConfigApp(std::unique_ptr<QSettings> settings, MainDialogServices services);
    ~ConfigApp();
    ConfigApp(const ConfigApp&) = delete;
    ConfigApp& operator=(const ConfigApp&) = delete;

    // Reads the remembered folder and the recent files (missing: empty), loads the catalogues in
    // `catalogueFolder` (empty: none was found, the window gets none and nothing is said; every
    // problem of the files is shown over the window, with the file and the reason), then builds
    // the main window over them, opens `startFile` in it unless that is
    // empty (see MainDialog::OpenFile) and runs it modally until it closes. When it closes because
    // File > Catalogue Folder... chose other catalogues, that folder is remembered and a window
    // over them is built at once, with the document's file (if it has one) opened again, and
    // run in its turn. Finally writes the folder, only when it is not empty, and the recent
    // files, only when they changed. Returns the last window's result.
    int Run(const std::string& catalogueFolder, const std::string& startFile = {});

    // The catalogue folder the settings remember (empty: none).
    std::string RememberedCatalogueFolder() const;
    // Remembers `folder` as the catalogue folder at once; a store that cannot be written is
    // reported.
    void RememberCatalogueFolder(const std::string& folder);

    // Empty until Run has read it; afterwards the folder Run wrote (or would have written).
    const std::string& OpenFolder() const { return m_openFolder; }
    // Empty until Run has read them; afterwards the recent files as the window left them.
    const std::vector<std::string>& RecentFiles() const { return m_recentFiles; }

    // The program's own store: native format, per user, organisation "Wrn.Applications",
    // application the executable's file name without its extension.
    static std::unique_ptr<QSettings> ProgramSettings();

private:
    void ReadSettings();
    // Builds the window over `catalogues`, shows `problems` over it, opens `file` (if any), runs
    // it and keeps what it leaves (the folder, the recent files, what File > Catalogue Folder...
    // chose in `chosen`, and the document's path in `file`); returns its result.
    int RunWindow(std::shared_ptr<const Catalogues> catalogues,
                  const std::vector<FileError>& problems, std::string& file,
                  ChosenCatalogues& chosen);
    void WriteSettings();
    void ReportSettingsError(const QString& what);

    std::unique_ptr<QSettings> m_settings;
    MainDialogServices m_services;
    std::string m_openFolder;
    std::vector<std::string> m_recentFiles;
    std::vector<std::string> m_recentFilesRead;
};

}  // namespace tav
