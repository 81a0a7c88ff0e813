// tavmanager: the TAV Configuration Manager, a single-window editor of .tac documents.
#include <QApplication>

#include "app/configapp.h"
#include "app/installedfiles.h"
#include "app/startupprobe.h"
#include "help/chmhelpservice.h"
#include "tree/textconv.h"
#include "ui/filechooser.h"
#include "ui/messagereporter.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    tav::StartupProbe::InstallIfAsked();
    // The catalogues and the help file: beside the executable, or where the installation put them.
    const QString programFolder = QCoreApplication::applicationDirPath();
    tav::DialogFileChooser files;
    tav::MessageBoxReporter messages;
    tav::DesktopHelpLauncher launcher;
    tav::ChmHelpService help(tav::HelpFolder(programFolder), launcher);
    tav::ConfigApp app(tav::ConfigApp::ProgramSettings(), {files, messages, help});
    app.Run(tav::EditorCatalogueFolder(application.arguments(), programFolder, messages));
    return 0;  // the program gives its exit code no meaning
}
