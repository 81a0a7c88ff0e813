#include "app/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <cstdlib>

#include "qtbridge/textconv.h"

namespace tav {

namespace {

QString Translated(const char* text) {
    return QCoreApplication::translate("CommandLine", text);
}

struct Options {
    QCommandLineOption help;
    QCommandLineOption version;
};

// The program's options and its FILE, the same for every reading and for the usage.
Options Declare(QCommandLineParser& parser) {
    // Qt's own options are single-dash words (-style, -reverse): one that reaches this parser is
    // named as typed, not taken apart into letters.
    parser.setSingleDashWordOptionMode(QCommandLineParser::ParseAsLongOptions);
    parser.setApplicationDescription(
        Translated("TAV Configuration Manager: edits .tac documents."));
    Options options{parser.addHelpOption(), parser.addVersionOption()};
    // Read by EditorCatalogueFolder; declared here so that its folder is not taken for FILE.
    parser.addOption(QCommandLineOption(
        QStringLiteral("catalogues"),
        Translated("Read Sections.txt and Fields.txt from DIR (no other folder is searched)."),
        QStringLiteral("DIR")));
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        Translated("The document to open; one that does not exist opens as a new document."),
        QStringLiteral("[FILE]"));
    return options;
}

}  // namespace

QString ProgramVersion() {
    return QStringLiteral(TAV_VERSION);
}

CommandLineReader ReaderFor(const QStringList& arguments) {
    CommandLineReader reader = CommandLineReader::Gui;
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        if (word == u"--") {
            break;
        }
        if (word == u"--help-all") {
            return CommandLineReader::Offscreen;
        }
        if (word == u"-h" || word == u"-?" || word == u"--help" || word == u"-v" ||
            word == u"--version") {
            reader = CommandLineReader::Core;
        }
    }
    return reader;
}

StartRequest ReadCommandLine(const QStringList& arguments, const QString& workingFolder) {
    QCommandLineParser parser;
    const Options options = Declare(parser);
    // parse() goes on past a word it does not know, so help and the version are still seen.
    const bool parsed = parser.parse(arguments);
    StartRequest request;
    if (parser.isSet(QStringLiteral("help-all"))) {
        request.action = StartRequest::Action::ShowHelpAll;
    } else if (parser.isSet(options.help)) {
        request.action = StartRequest::Action::ShowHelp;
        request.text = parser.helpText();
    } else if (parser.isSet(options.version)) {
        request.action = StartRequest::Action::ShowVersion;
        request.text = QStringLiteral("tavmanager ") + ProgramVersion() + u'\n';
    } else if (!parsed) {
        request.action = StartRequest::Action::Refuse;
        request.text = parser.errorText() + u'\n' + parser.helpText();
    } else if (const QStringList files = parser.positionalArguments(); files.size() > 1) {
        request.action = StartRequest::Action::Refuse;
        request.text = Translated("Only one file can be opened.") + u'\n' + parser.helpText();
    } else if (files.size() == 1) {
        request.file = FromQt(QDir::cleanPath(QDir(workingFolder).absoluteFilePath(files[0])));
    }
    return request;
}

void ShowHelpWithQtOptions() {
    QCommandLineParser parser;
    Declare(parser);
    // Only process() prints Qt's options: it answers --help-all and ends the program itself.
    parser.process(
        QStringList{QCoreApplication::arguments().value(0), QStringLiteral("--help-all")});
    std::exit(EXIT_SUCCESS);  // not reached
}

}  // namespace tav
