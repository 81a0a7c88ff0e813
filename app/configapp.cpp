#include "configapp.h"

#include <QCoreApplication>
#include <QFileInfo>
#include <QSettings>

#include "catalog/fileerror.h"
#include "tree/textconv.h"
#include "ui/messagereporter.h"

namespace tav {

namespace {

constexpr const char* kOrganisation = "Wrn.Applications";
constexpr const char* kFolderKey = "Init/OpenFolder";

}  // namespace

ConfigApp::ConfigApp(std::unique_ptr<QSettings> settings, MainDialogServices services)
    : m_settings(std::move(settings)), m_services(services) {}

ConfigApp::~ConfigApp() = default;

std::unique_ptr<QSettings> ConfigApp::ProgramSettings() {
    const QString program = QFileInfo(QCoreApplication::applicationFilePath()).completeBaseName();
    return std::make_unique<QSettings>(QSettings::NativeFormat, QSettings::UserScope,
                                       QLatin1String(kOrganisation), program);
}

int ConfigApp::Run(const std::string& catalogueFolder) {
    // The folder is read before the window, and with it the catalogues, is built.
    ReadSettings();
    int result = 0;
    {
        MainDialog window(catalogueFolder, m_openFolder, m_services);
        result = window.exec();
        m_openFolder = window.OpenFolder();
    }
    WriteSettings();
    return result;
}

void ConfigApp::ReadSettings() {
    m_openFolder = FromQt(m_settings->value(QLatin1String(kFolderKey)).toString());
    if (m_settings->status() != QSettings::NoError) {
        ReportSettingsError(QCoreApplication::translate(
            "ConfigApp", "The last folder used could not be read from the settings."));
    }
}

// An empty folder never erases or overwrites a stored one.
void ConfigApp::WriteSettings() {
    if (m_openFolder.empty()) {
        return;
    }
    m_settings->setValue(QLatin1String(kFolderKey), ToQt(m_openFolder));
    m_settings->sync();
    if (m_settings->status() != QSettings::NoError) {
        ReportSettingsError(QCoreApplication::translate(
            "ConfigApp", "The last folder used could not be stored in the settings."));
    }
}

void ConfigApp::ReportSettingsError(const QString& what) {
    const std::string reason = m_settings->status() == QSettings::FormatError
                                   ? "the settings file is not in a readable form"
                                   : "the settings file cannot be accessed";
    m_services.messages.ShowWarning(nullptr,
                                    FileErrorText(what, {FromQt(m_settings->fileName()), reason}));
}

}  // namespace tav
