#include "ui/cataloguechoice.h"

#include <QCoreApplication>
#include <QDir>
#include <QStringList>

#include "catalog/cataloguefolder.h"
#include "qtbridge/textconv.h"
#include "ui/filechooser.h"
#include "ui/messagereporter.h"

namespace tav {

namespace {

QString Native(const std::string& folder) {
    return QDir::toNativeSeparators(ToQt(folder));
}

}  // namespace

CatalogueChoice::CatalogueChoice(FileChooser& files, MessageReporter& messages,
                                 std::string examplesFolder)
    : m_files(files), m_messages(messages), m_examplesFolder(std::move(examplesFolder)) {}

std::optional<std::string> CatalogueChoice::ChooseAtStart(
    const std::vector<std::string>& searched) {
    QStringList folders;
    for (const std::string& folder : searched) {
        folders.append(Native(folder));
    }
    const QString situation =
        QCoreApplication::translate(
            "CatalogueChoice",
            "The catalogues Sections.txt and Fields.txt were found in none of these folders:\n\n"
            "%1\n\nChoose the folder that holds them; the editor remembers it.")
            .arg(folders.join(QLatin1Char('\n')));
    return Ask(nullptr, situation, true, {});
}

std::optional<std::string> CatalogueChoice::ChooseInstead(QWidget* owner,
                                                          const std::string& current) {
    const QString situation =
        current.empty()
            ? QCoreApplication::translate(
                  "CatalogueChoice",
                  "No catalogues are in use. Choose the folder that holds Sections.txt and "
                  "Fields.txt; the editor remembers it.")
            : QCoreApplication::translate(
                  "CatalogueChoice",
                  "The catalogues in use are in\n\n%1\n\nChoose another folder that holds "
                  "Sections.txt and Fields.txt; the editor remembers it.")
                  .arg(Native(current));
    return Ask(owner, situation, false, current);
}

std::optional<std::string> CatalogueChoice::Ask(QWidget* owner, const QString& situation,
                                                bool atStart, const std::string& start) {
    QString problem;
    std::string folder = start;
    for (;;) {
        const CatalogueQuestion question{
            problem.isEmpty() ? situation : problem + QStringLiteral("\n\n") + situation,
            !m_examplesFolder.empty(), atStart};
        switch (m_messages.AskForCatalogues(owner, question)) {
            case CatalogueAnswer::Cancel:
                return std::nullopt;
            case CatalogueAnswer::UseExamples:
                if (!m_examplesFolder.empty()) {
                    return m_examplesFolder;
                }
                continue;
            case CatalogueAnswer::ChooseFolder:
                break;
        }
        const std::optional<std::string> chosen = m_files.ChooseFolder(owner, ToQt(folder));
        if (!chosen) {
            problem.clear();
            continue;
        }
        folder = *chosen;
        const std::vector<std::string> missing = MissingCatalogueFiles(folder);
        if (missing.empty()) {
            return folder;
        }
        problem = missing.size() == 2
                      ? QCoreApplication::translate("CatalogueChoice",
                                                    "%1 holds neither Sections.txt nor Fields.txt.")
                            .arg(Native(folder))
                      : QCoreApplication::translate("CatalogueChoice", "%1 holds no %2.")
                            .arg(Native(folder), ToQt(missing.front()));
    }
}

}  // namespace tav
