#include "app/installedfiles.h"

#include <QDir>
#include <QFileInfo>
#include <optional>

#include "qtbridge/textconv.h"
#include "ui/cataloguechoice.h"

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

}  // namespace

StartCatalogues EditorCatalogueFolder(const QStringList& arguments, const QString& programFolder,
                                      const CatalogueEnvironment& env, CatalogueChoice& choice) {
    if (const std::optional<QString> given = GivenCatalogueFolder(arguments)) {
        return {FromQt(QFileInfo(*given).absoluteFilePath())};
    }
    const CatalogueSearch search = FindCatalogueFolder({}, FromQt(programFolder), env);
    if (search.Found()) {
        return {search.folder};
    }
    if (std::optional<std::string> chosen = choice.ChooseAtStart(search.searched)) {
        return {std::move(*chosen), true};
    }
    return {};
}

std::string ExampleCatalogueFolder(const QString& programFolder) {
    const std::string data = InstalledDataFolder(FromQt(programFolder));
    if (data.empty()) {
        return {};
    }
    const std::string examples = data + "/examples";
    return MissingCatalogueFiles(examples).empty() ? examples : std::string();
}

QString HelpFolder(const QString& programFolder) {
    const QDir beside(programFolder);
    if (beside.exists(QStringLiteral("taca.chm")) || beside.exists(QStringLiteral("taca.hlp"))) {
        return programFolder;
    }
    return ToQt(InstalledDataFolder(FromQt(programFolder)));
}

}  // namespace tav
