// The program's command line: tavmanager [--help] [--version] [FILE].
#pragma once

#include <QString>
#include <QStringList>
#include <string>

namespace tav {

// What the command line asks of the program.
struct StartRequest {
    enum class Action {
        Run,          // show the window, with `file` open when it is not empty
        ShowHelp,     // print `text` (the usage) to standard output and end
        ShowVersion,  // print `text` ("tavmanager VERSION") to standard output and end
        Refuse,       // print `text` (what is wrong, then the usage) to standard error and end
    };
    Action action = Action::Run;
    std::string file;  // Run: the document to open, absolute; empty: none
    QString text;
};

// The program's version, the project's version at build time (e.g. "1.0").
QString ProgramVersion();

// Reads `arguments` (the program's name first). A relative FILE is taken against
// `workingFolder`; it need not exist (the window opens a missing file as a new document of that
// name). Unknown options and more than one file are refused. Needs a QCoreApplication.
StartRequest ReadCommandLine(const QStringList& arguments, const QString& workingFolder);

}  // namespace tav
