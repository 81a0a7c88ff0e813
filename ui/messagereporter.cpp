#include "ui/messagereporter.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>

#include "base/fileerror.h"
#include "qtbridge/textconv.h"

namespace tav {

QString ProgramTitle() {
    return QCoreApplication::translate("MessageBoxReporter", "TAV Configuration Manager");
}

void MessageBoxReporter::ShowWarning(QWidget* owner, const QString& text) {
    QMessageBox::warning(owner, ProgramTitle(), text);
}

namespace {

std::unique_ptr<QMessageBox> WarningBox(QWidget* owner, const QString& text) {
    return std::make_unique<QMessageBox>(QMessageBox::Warning, ProgramTitle(), text,
                                         QMessageBox::NoButton, owner);
}

// A standard button with `text` (which marks its Alt letter) instead of the platform's own text,
// which on most desktops has none.
QPushButton* AddButton(QMessageBox& box, QMessageBox::StandardButton button, const QString& text) {
    QPushButton* added = box.addButton(button);
    added->setText(text);
    return added;
}

}  // namespace

std::unique_ptr<QMessageBox> SaveChangesBox(QWidget* owner, const QString& documentName) {
    const QString document = documentName.isEmpty() ? QCoreApplication::translate(
                                                          "MessageBoxReporter", "the new document")
                                                    : documentName;
    std::unique_ptr<QMessageBox> box = WarningBox(
        owner,
        QCoreApplication::translate("MessageBoxReporter", "Save the changes to %1?").arg(document));
    box->setDefaultButton(AddButton(*box, QMessageBox::Save,
                                    QCoreApplication::translate("MessageBoxReporter", "&Save")));
    AddButton(*box, QMessageBox::Discard,
              QCoreApplication::translate("MessageBoxReporter", "&Discard"));
    AddButton(*box, QMessageBox::Cancel,
              QCoreApplication::translate("MessageBoxReporter", "&Cancel"));
    return box;
}

std::unique_ptr<QMessageBox> UnfinishedSaveBox(QWidget* owner, const QString& documentName,
                                               const QString& copyPath) {
    std::unique_ptr<QMessageBox> box =
        WarningBox(owner, QCoreApplication::translate(
                              "MessageBoxReporter",
                              "An earlier save of %1 did not finish: the file may be incomplete. "
                              "The complete content of that save is in\n%2")
                              .arg(documentName, copyPath));
    box->setInformativeText(QCoreApplication::translate(
        "MessageBoxReporter",
        "Restore puts that content into the file; keeping the file as it is removes the "
        "copy."));
    box->setDefaultButton(box->addButton(
        QCoreApplication::translate("MessageBoxReporter", "&Restore"), QMessageBox::AcceptRole));
    box->addButton(QCoreApplication::translate("MessageBoxReporter", "&Keep the file as it is"),
                   QMessageBox::DestructiveRole);
    AddButton(*box, QMessageBox::Cancel,
              QCoreApplication::translate("MessageBoxReporter", "&Cancel"));
    return box;
}

std::unique_ptr<QMessageBox> MissingFileBox(QWidget* owner, const QString& path) {
    std::unique_ptr<QMessageBox> box = WarningBox(
        owner,
        QCoreApplication::translate("MessageBoxReporter", "%1 is no longer there.").arg(path));
    box->setInformativeText(QCoreApplication::translate(
        "MessageBoxReporter", "Remove it from the list of recent files?"));
    box->setDefaultButton(AddButton(*box, QMessageBox::Yes,
                                    QCoreApplication::translate("MessageBoxReporter", "&Remove")));
    AddButton(*box, QMessageBox::No, QCoreApplication::translate("MessageBoxReporter", "&Keep"));
    return box;
}

std::unique_ptr<QMessageBox> CataloguesBox(QWidget* owner, const CatalogueQuestion& question) {
    auto box = std::make_unique<QMessageBox>(QMessageBox::Question, ProgramTitle(), question.text,
                                             QMessageBox::NoButton, owner);
    box->setInformativeText(question.atStart
                                ? QCoreApplication::translate(
                                      "MessageBoxReporter",
                                      "Without catalogues the editor opens, but shows no settings.")
                                : QCoreApplication::translate(
                                      "MessageBoxReporter", "Cancel keeps the catalogues in use."));
    box->setDefaultButton(
        box->addButton(QCoreApplication::translate("MessageBoxReporter", "&Choose folder..."),
                       QMessageBox::AcceptRole));
    if (question.offerExamples) {
        box->addButton(
            QCoreApplication::translate("MessageBoxReporter", "&Use the example catalogues"),
            QMessageBox::ActionRole);
    }
    QPushButton* cancel =
        question.atStart
            ? box->addButton(QCoreApplication::translate("MessageBoxReporter", "Go on &without"),
                             QMessageBox::RejectRole)
            : AddButton(*box, QMessageBox::Cancel,
                        QCoreApplication::translate("MessageBoxReporter", "&Cancel"));
    box->setEscapeButton(cancel);
    return box;
}

SaveAnswer MessageBoxReporter::AskToSaveChanges(QWidget* owner, const QString& documentName) {
    const std::unique_ptr<QMessageBox> box = SaveChangesBox(owner, documentName);
    switch (box->exec()) {
        case QMessageBox::Save:
            return SaveAnswer::Save;
        case QMessageBox::Discard:
            return SaveAnswer::Discard;
        default:
            return SaveAnswer::Cancel;
    }
}

LeftoverAnswer MessageReporter::AskAboutUnfinishedSave(QWidget*, const QString&, const QString&) {
    return LeftoverAnswer::Cancel;
}

LeftoverAnswer MessageBoxReporter::AskAboutUnfinishedSave(QWidget* owner,
                                                          const QString& documentName,
                                                          const QString& copyPath) {
    const std::unique_ptr<QMessageBox> box = UnfinishedSaveBox(owner, documentName, copyPath);
    box->exec();
    switch (box->buttonRole(box->clickedButton())) {
        case QMessageBox::AcceptRole:
            return LeftoverAnswer::Restore;
        case QMessageBox::DestructiveRole:
            return LeftoverAnswer::Keep;
        default:
            return LeftoverAnswer::Cancel;
    }
}

bool MessageReporter::AskToForgetMissingFile(QWidget* owner, const QString& path) {
    ShowWarning(
        owner,
        QCoreApplication::translate("MessageBoxReporter", "%1 is no longer there.").arg(path));
    return false;
}

bool MessageBoxReporter::AskToForgetMissingFile(QWidget* owner, const QString& path) {
    const std::unique_ptr<QMessageBox> box = MissingFileBox(owner, path);
    return box->exec() == QMessageBox::Yes;
}

CatalogueAnswer MessageReporter::AskForCatalogues(QWidget* owner,
                                                  const CatalogueQuestion& question) {
    ShowWarning(owner, question.text);
    return CatalogueAnswer::Cancel;
}

CatalogueAnswer MessageBoxReporter::AskForCatalogues(QWidget* owner,
                                                     const CatalogueQuestion& question) {
    const std::unique_ptr<QMessageBox> box = CataloguesBox(owner, question);
    box->exec();
    switch (box->buttonRole(box->clickedButton())) {
        case QMessageBox::AcceptRole:
            return CatalogueAnswer::ChooseFolder;
        case QMessageBox::ActionRole:
            return CatalogueAnswer::UseExamples;
        default:
            return CatalogueAnswer::Cancel;
    }
}

QString FileErrorText(const QString& what, const FileError& error) {
    FileError shown = error;
    shown.file = FromQt(QDir::toNativeSeparators(ToQt(error.file)));
    shown.copy = FromQt(QDir::toNativeSeparators(ToQt(error.copy)));
    return what + QStringLiteral("\n\n") + ToQt(shown.Message());
}

}  // namespace tav
