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
#include "ui/cataloguechoice.h"
#include "ui/diskquestions.h"
#include "ui/filechooser.h"
#include "ui/filewatcher.h"
#include "ui/messagereporter.h"
#include "ui/programstyle.h"

namespace {

// --help and --version need no display: the command line is read before the window system is.
// Without arguments there is nothing to read, and no application object is made for it.
tav::StartRequest ReadRequest(int& argc, char** argv) {
    if (argc <= 1) {
        return {};
    }
    const QCoreApplication reader(argc, argv);
    return tav::ReadCommandLine(QCoreApplication::arguments(), QDir::currentPath());
}

}  // namespace

int main(int argc, char** argv) {
    const tav::StartRequest request = ReadRequest(argc, argv);
    switch (request.action) {
        case tav::StartRequest::Action::ShowHelp:
        case tav::StartRequest::Action::ShowVersion:
            std::fputs(request.text.toLocal8Bit().constData(), stdout);
            return 0;
        case tav::StartRequest::Action::Refuse:
            std::fputs(request.text.toLocal8Bit().constData(), stderr);
            return 1;
        case tav::StartRequest::Action::Run:
            break;
    }
    QApplication application(argc, argv);
    QApplication::setApplicationVersion(tav::ProgramVersion());
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
