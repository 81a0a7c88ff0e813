#include "app/commandline.h"

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>

#include "qtbridge/textconv.h"

namespace tav {

QString ProgramVersion() {
    return QStringLiteral(TAV_VERSION);
}

StartRequest ReadCommandLine(const QStringList& arguments, const QString& workingFolder) {
    QCommandLineParser parser;
    parser.setApplicationDescription(QCoreApplication::translate(
        "CommandLine", "TAV Configuration Manager: edits .tac documents."));
    const QCommandLineOption help = parser.addHelpOption();
    const QCommandLineOption version = parser.addVersionOption();
    // Read by EditorCatalogueFolder; declared here so that its folder is not taken for FILE.
    parser.addOption(QCommandLineOption(
        QStringLiteral("catalogues"),
        QCoreApplication::translate(
            "CommandLine",
            "Read Sections.txt and Fields.txt from DIR (no other folder is searched)."),
        QStringLiteral("DIR")));
    parser.addPositionalArgument(
        QStringLiteral("FILE"),
        QCoreApplication::translate(
            "CommandLine",
            "The document to open; one that does not exist opens as a new document."),
        QStringLiteral("[FILE]"));
    StartRequest request;
    if (!parser.parse(arguments)) {
        request.action = StartRequest::Action::Refuse;
        request.text = parser.errorText() + u'\n' + parser.helpText();
        return request;
    }
    if (parser.isSet(help)) {
        request.action = StartRequest::Action::ShowHelp;
        request.text = parser.helpText();
    } else if (parser.isSet(version)) {
        request.action = StartRequest::Action::ShowVersion;
        request.text = QStringLiteral("tavmanager ") + ProgramVersion() + u'\n';
    } else if (const QStringList files = parser.positionalArguments(); files.size() > 1) {
        request.action = StartRequest::Action::Refuse;
        request.text = QCoreApplication::translate("CommandLine", "Only one file can be opened.") +
                       u'\n' + parser.helpText();
    } else if (files.size() == 1) {
        request.file = FromQt(QDir::cleanPath(QDir(workingFolder).absoluteFilePath(files[0])));
    }
    return request;
}

}  // namespace tav
