// tavmanager: the TAV Configuration Manager, a single-window editor of .tac documents.
#include <QApplication>
#include <QDir>
#include <cstdio>

#include "app/commandline.h"
#include "app/configapp.h"
#include "app/installedfiles.h"
#include "app/startupprobe.h"
#include "help/chmhelpservice.h"
#include "qtbridge/textconv.h"
#include "translations/programtranslations.h"
#include "ui/cataloguechoice.h"
#include "ui/diskquestions.h"
#include "ui/filechooser.h"
#include "ui/filewatcher.h"
#include "ui/messagereporter.h"
#include "ui/programstyle.h"

namespace {

// The user's language for the window, Qt's own dialogs, the command line's help and the core's
// messages, with this installation's translations (an application object must exist).
tav::ProgramTranslations Translations() {
    return tav::ProgramTranslations(
        tav::ProgramTranslations::Use::Application,
        tav::InstalledDataFolder(tav::FromQt(QCoreApplication::applicationDirPath())));
}

QStringList ArgumentsOf(int argc, char** argv) {
    QStringList arguments;
    for (int i = 0; i < argc; ++i) {
        arguments << QString::fromLocal8Bit(argv[i]);
    }
    return arguments;
}

// Prints what the command line asks to be printed; false when the program is to run.
bool Answered(const tav::StartRequest& request, int& exitCode) {
    switch (request.action) {
        case tav::StartRequest::Action::ShowHelpAll:
            tav::ShowHelpWithQtOptions();
        case tav::StartRequest::Action::ShowHelp:
        case tav::StartRequest::Action::ShowVersion:
            std::fputs(request.text.toLocal8Bit().constData(), stdout);
            exitCode = 0;
            return true;
        case tav::StartRequest::Action::Refuse:
            std::fputs(request.text.toLocal8Bit().constData(), stderr);
            exitCode = 1;
            return true;
        case tav::StartRequest::Action::Run:
            break;
    }
    return false;
}

}  // namespace

int main(int argc, char** argv) {
    int exitCode = 0;
    switch (tav::ReaderFor(ArgumentsOf(argc, argv))) {
        case tav::CommandLineReader::Core: {
            const QCoreApplication reader(argc, argv);
            const tav::ProgramTranslations translations = Translations();
            Answered(tav::ReadCommandLine(QCoreApplication::arguments(), QDir::currentPath()),
                     exitCode);
            return exitCode;
        }
        case tav::CommandLineReader::Offscreen:
            // Qt's GUI options are known only to the GUI application object; no display is
            // needed to list them.
            qputenv("QT_QPA_PLATFORM", "offscreen");
            break;
        case tav::CommandLineReader::Gui:
            break;
    }
    // Made before the command line is read: it takes Qt's own options (-style, -platform,
    // -reverse, ...) out of it.
    QApplication application(argc, argv);
    const tav::ProgramTranslations translations = Translations();
    const tav::StartRequest request =
        tav::ReadCommandLine(QCoreApplication::arguments(), QDir::currentPath());
    if (Answered(request, exitCode)) {
        return exitCode;
    }
    QApplication::setApplicationVersion(tav::ProgramVersion());
    // The desktop entry the window belongs to: Wayland shells match its app id to the entry, and
    // X11 ones match the window class ("tavmanager", the program's name) to its StartupWMClass.
    QGuiApplication::setDesktopFileName(QStringLiteral(TAV_APP_ID));
    // Before any widget: the first window then reads no image file and loads no image plugin.
    QApplication::setStyle(new tav::ProgramStyle);
    tav::StartupProbe::InstallIfAsked();
    // The catalogues and the help file: beside the executable, or where the installation put them.
    const QString programFolder = QCoreApplication::applicationDirPath();
    tav::DialogFileChooser files;
    tav::MessageBoxReporter messages;
    tav::DesktopHelpLauncher launcher;
    // The help window's place is kept in the program's settings too.
    const std::unique_ptr<QSettings> helpSettings = tav::ConfigApp::ProgramSettings();
    tav::ChmHelpService help(tav::HelpFolder(programFolder), launcher, helpSettings.get());
    tav::DialogDiskQuestions disk;
    tav::SystemFileWatcher watcher;
    tav::CatalogueChoice choice(files, messages, tav::ExampleCatalogueFolder(programFolder));
    tav::ConfigApp app(tav::ConfigApp::ProgramSettings(),
                       {files, messages, help, &disk, &watcher, &choice});
    tav::CatalogueEnvironment env = tav::ProcessCatalogueEnvironment(tav::FromQt(programFolder));
    env.remembered = app.RememberedCatalogueFolder();
    const tav::StartCatalogues start =
        tav::EditorCatalogueFolder(application.arguments(), programFolder, env, choice);
    if (start.chosen) {
        app.RememberCatalogueFolder(start.folder);
    }
    app.Run(start.folder, request.file);
    return 0;  // the program gives its exit code no meaning
}
