#include "app/configapp.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

#include "base/fileerror.h"
#include "catalog/catalogues.h"
#include "catalog/rememberedfolder.h"
#include "document/configdocument.h"
#include "qtbridge/textconv.h"
#include "ui/messagereporter.h"

namespace tav {

namespace {

constexpr const char* kFolderKey = "Init/OpenFolder";
constexpr const char* kRecentKey = "Recent/Files";

// The catalogues in `folder`, each problem added to `problems`. No folder: none was found, and
// the start-up already said where it looked, so the window has no catalogues and no more to say.
std::shared_ptr<const Catalogues> ReadCatalogues(const std::string& folder,
                                                 std::vector<FileError>& problems) {
    if (folder.empty()) {
        return CataloguesFromText({}, {}, {});
    }
    return LoadCatalogues(folder,
                          [&problems](const FileError& problem) { problems.push_back(problem); });
}

}  // namespace

ConfigApp::ConfigApp(std::unique_ptr<QSettings> settings, MainDialogServices services)
    : m_settings(std::move(settings)), m_services(services) {}

ConfigApp::~ConfigApp() = default;

std::unique_ptr<QSettings> ConfigApp::ProgramSettings() {
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QLatin1String(kSettingsOrganisation), program);
}

int ConfigApp::Run(const std::string& catalogueFolder, const std::string& startFile) {
    // The folder is read, and the catalogues are loaded once, before the window is built.
    ReadSettings();
    std::vector<FileError> problems;
    std::shared_ptr<const Catalogues> catalogues = ReadCatalogues(catalogueFolder, problems);
    std::string file = startFile;
    for (;;) {
        ChosenCatalogues chosen;
        const int result = RunWindow(std::move(catalogues), problems, file, chosen);
        if (result != MainDialog::kCataloguesChanged) {
            WriteSettings();
            return result;
        }
        RememberCatalogueFolder(chosen.folder);
        catalogues = std::move(chosen.catalogues);
        problems = std::move(chosen.problems);
    }
}

int ConfigApp::RunWindow(std::shared_ptr<const Catalogues> catalogues,
                         const std::vector<FileError>& problems, std::string& file,
                         ChosenCatalogues& chosen) {
    MainDialog window(std::move(catalogues), m_openFolder, m_services);
    // Shown over the window, before it opens anything.
    for (const FileError& problem : problems) {
        m_services.messages.ShowWarning(
            &window, FileErrorText(QCoreApplication::translate(
                                       "ConfigApp", "Not everything in this file could be loaded."),
                                   problem));
    }
    window.SetRecentFiles(m_recentFiles);
    if (!file.empty()) {
        window.OpenFile(file);
    }
    const int result = window.exec();
    m_openFolder = window.OpenFolder();
    m_recentFiles = window.RecentFiles();
    chosen = window.NewCatalogues();
    file = window.Document().Path();
    return result;
}

std::string ConfigApp::RememberedCatalogueFolder() const {
    return FromQt(m_settings->value(QLatin1String(kCatalogueFolderKey)).toString());
}

void ConfigApp::RememberCatalogueFolder(const std::string& folder) {
    m_settings->setValue(QLatin1String(kCatalogueFolderKey), ToQt(folder));
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError) {
        ReportSettingsError(QCoreApplication::translate(
            "ConfigApp", "The catalogue folder could not be stored in the settings."));
    }
}

void ConfigApp::ReadSettings() {
    m_openFolder = FromQt(m_settings->value(QLatin1String(kFolderKey)).toString());
    m_recentFilesRead.clear();
    for (const QString& path : m_settings->value(QLatin1String(kRecentKey)).toStringList()) {
        m_recentFilesRead.push_back(FromQt(path));
    }
    m_recentFiles = m_recentFilesRead;
    if (m_settings->status() != QSettings::NoError) {
        ReportSettingsError(QCoreApplication::translate(
            "ConfigApp", "The last folder and files used could not be read from the settings."));
    }
}

// An empty folder never erases or overwrites a stored one; recent files that did not change are
// not written, so a list that could not be read is not erased either.
void ConfigApp::WriteSettings() {
    const bool recentChanged = m_recentFiles != m_recentFilesRead;
    if (m_openFolder.empty() && !recentChanged) {
        return;
    }
    if (!m_openFolder.empty()) {
        m_settings->setValue(QLatin1String(kFolderKey), ToQt(m_openFolder));
    }
    if (recentChanged) {
        QStringList paths;
        for (const std::string& path : m_recentFiles) {
            paths.append(ToQt(path));
        }
        m_settings->setValue(QLatin1String(kRecentKey), paths);
    }
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError) {
        ReportSettingsError(QCoreApplication::translate(
            "ConfigApp", "The last folder and files used could not be stored in the settings."));
    }
}

void ConfigApp::ReportSettingsError(const QString& what) {
    const QString reason =
        m_settings->status() == QSettings::FormatError
            ? QCoreApplication::translate("ConfigApp",
                                          "the settings file is not in a readable form")
            : QCoreApplication::translate("ConfigApp", "the settings file cannot be accessed");
    m_services.messages.ShowWarning(
        nullptr, FileErrorText(what, {FromQt(m_settings->fileName()), FromQt(reason)}));
}

}  // namespace tav
