// tavmanager: the TAV Configuration Manager, a single-window editor of .tac documents.
#include <QApplication>

#include "app/configapp.h"
#include "app/startupprobe.h"
#include "help/chmhelpservice.h"
#include "tree/textconv.h"
#include "ui/filechooser.h"
#include "ui/messagereporter.h"

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    tav::StartupProbe::InstallIfAsked();
    // The catalogues and the help files live beside the executable.
    const QString programFolder = QCoreApplication::applicationDirPath();
    tav::DialogFileChooser files;
    tav::MessageBoxReporter messages;
    tav::DesktopHelpLauncher launcher;
    tav::ChmHelpService help(programFolder, launcher);
    tav::ConfigApp app(tav::ConfigApp::ProgramSettings(), {files, messages, help});
    app.Run(tav::FromQt(programFolder));
    return 0;  // the program gives its exit code no meaning
}
