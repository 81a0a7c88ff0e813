#include "app/installedfiles.h"

#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <optional>

#include "qtbridge/textconv.h"
#include "ui/messagereporter.h"

namespace tav {

namespace {

const QString kCatalogueOption = QStringLiteral("--catalogues");

std::optional<QString> GivenCatalogueFolder(const QStringList& arguments) {
    std::optional<QString> given;
    const QString withValue = kCatalogueOption + QLatin1Char('=');
    for (qsizetype i = 1; i < arguments.size(); ++i) {
        const QString& word = arguments[i];
        if (word == kCatalogueOption && i + 1 < arguments.size()) {
            given = arguments[++i];
        } else if (word.startsWith(withValue) && word.size() > withValue.size()) {
            given = word.mid(withValue.size());
        }
    }
    return given;
}

QString NotFoundText(const CatalogueSearch& search) {
    QStringList folders;
    for (const std::string& folder : search.searched) {
        folders.append(QDir::toNativeSeparators(ToQt(folder)));
    }
    return QCoreApplication::translate("InstalledFiles",
                                       "The catalogues Sections.txt and Fields.txt were found in "
                                       "none of these folders:\n\n%1\n\nPut both into one of them, "
                                       "or start the editor with --catalogues FOLDER. The editor "
                                       "opens without them.")
        .arg(folders.join(QLatin1Char('\n')));
}

}  // namespace

std::string EditorCatalogueFolder(const QStringList& arguments, const QString& programFolder,
                                  const CatalogueEnvironment& env, MessageReporter& messages) {
    if (const std::optional<QString> given = GivenCatalogueFolder(arguments)) {
        return FromQt(QFileInfo(*given).absoluteFilePath());
    }
    const CatalogueSearch search = FindCatalogueFolder({}, FromQt(programFolder), env);
    if (search.Found()) {
        return search.folder;
    }
    messages.ShowWarning(nullptr, NotFoundText(search));
    return {};
}

std::string EditorCatalogueFolder(const QStringList& arguments, const QString& programFolder,
                                  MessageReporter& messages) {
    return EditorCatalogueFolder(arguments, programFolder,
                                 ProcessCatalogueEnvironment(FromQt(programFolder)), messages);
}

QString HelpFolder(const QString& programFolder) {
    const QDir beside(programFolder);
    if (beside.exists(QStringLiteral("taca.chm")) || beside.exists(QStringLiteral("taca.hlp"))) {
        return programFolder;
    }
    return ToQt(InstalledDataFolder(FromQt(programFolder)));
}

}  // namespace tav
