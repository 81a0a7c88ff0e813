#include "messagereporter.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>
#include <QPushButton>

#include "catalog/fileerror.h"
#include "tree/textconv.h"

namespace tav {

QString ProgramTitle() {
    return QStringLiteral("TAV Configuration Manager");
}

void MessageBoxReporter::ShowWarning(QWidget* owner, const QString& text) {
    QMessageBox::warning(owner, ProgramTitle(), text);
}

SaveAnswer MessageBoxReporter::AskToSaveChanges(QWidget* owner, const QString& documentName) {
    const QString document = documentName.isEmpty() ? QCoreApplication::translate(
                                                          "MessageBoxReporter", "the new document")
                                                    : documentName;
    const QMessageBox::StandardButton answer = QMessageBox::warning(
        owner, ProgramTitle(),
        QCoreApplication::translate("MessageBoxReporter", "Save the changes to %1?").arg(document),
        QMessageBox::Save | QMessageBox::Discard | QMessageBox::Cancel, QMessageBox::Save);
    switch (answer) {
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
    const auto tr = [](const char* text) {
        return QCoreApplication::translate("MessageBoxReporter", text);
    };
    QMessageBox box(QMessageBox::Warning, ProgramTitle(),
                    tr("An earlier save of %1 did not finish: the file may be incomplete. The "
                       "complete content of that save is in\n%2")
                        .arg(documentName, copyPath),
                    QMessageBox::NoButton, owner);
    box.setInformativeText(
        tr("Restore puts that content into the file; keeping the file as it "
           "is removes the copy."));
    QPushButton* restore = box.addButton(tr("Restore"), QMessageBox::AcceptRole);
    QPushButton* keep = box.addButton(tr("Keep the file as it is"), QMessageBox::DestructiveRole);
    box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(restore);
    box.exec();
    if (box.clickedButton() == restore) {
        return LeftoverAnswer::Restore;
    }
    return box.clickedButton() == keep ? LeftoverAnswer::Keep : LeftoverAnswer::Cancel;
}

QString FileErrorText(const QString& what, const FileError& error) {
    FileError shown = error;
    shown.file = FromQt(QDir::toNativeSeparators(ToQt(error.file)));
    shown.copy = FromQt(QDir::toNativeSeparators(ToQt(error.copy)));
    return what + QStringLiteral("\n\n") + ToQt(shown.Message());
}

}  // namespace tav
