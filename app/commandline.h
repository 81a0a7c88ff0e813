// The program's command line: tavmanager [--help] [--help-all] [--version] [--catalogues DIR]
// [Qt's options] [FILE].
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
        ShowHelpAll,  // print the usage with Qt's own options (ShowHelpWithQtOptions) and end
        ShowVersion,  // print `text` ("tavmanager VERSION") to standard output and end
        Refuse,       // print `text` (what is wrong, then the usage) to standard error and end
    };
    Action action = Action::Run;
    std::string file;  // Run: the document to open, absolute; empty: none
    QString text;
};

// The program's version, the project's version at build time (e.g. "1.0").
QString ProgramVersion();

// What the program has to make before it reads its command line. Help and the version are
// answered without a window system, so that they work where there is no display (a terminal
// over ssh, a package check); help with Qt's options needs Qt's GUI application object, which
// alone knows them, and is made on the offscreen platform; anything else is read after the
// GUI application object has taken out Qt's own options (-style, -platform, -reverse, ...).
enum class CommandLineReader {
    Gui,       // the QApplication the window needs
    Core,      // a QCoreApplication: help or the version is asked
    Offscreen  // a QApplication on the offscreen platform: help with Qt's options is asked
};

// Which reader `arguments` (the program's name first, before any application object takes Qt's
// options out) need: help ("-h", "-?", "--help"), help with Qt's options ("--help-all") or the
// version ("-v", "--version") anywhere before a "--". Needs no application object.
CommandLineReader ReaderFor(const QStringList& arguments);

// Reads `arguments` (the program's name first, Qt's own options already taken out). A relative
// FILE is taken against `workingFolder`; it need not exist (the window opens a missing file as a
// new document of that name). Help, help with Qt's options and the version are answered even
// when something else on the line is wrong; otherwise unknown options and more than one file
// are refused. Needs a QCoreApplication.
StartRequest ReadCommandLine(const QStringList& arguments, const QString& workingFolder);

// Prints the usage with Qt's own options to standard output and ends the program with exit code
// 0. Needs a QApplication, which is what knows Qt's options.
[[noreturn]] void ShowHelpWithQtOptions();

}  // namespace tav
