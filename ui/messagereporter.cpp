#include "messagereporter.h"

#include <QCoreApplication>
#include <QDir>
#include <QMessageBox>

#include "catalog/fileerror.h"
#include "tree/textconv.h"

namespace tav {

namespace {

const QString kTitle = QStringLiteral("TAV Configuration Manager");

}  // namespace

void MessageBoxReporter::ShowWarning(QWidget* owner, const QString& text) {
    QMessageBox::warning(owner, kTitle, text);
}

SaveAnswer MessageBoxReporter::AskToSaveChanges(QWidget* owner, const QString& documentName) {
    const QString document = documentName.isEmpty() ? QCoreApplication::translate(
                                                          "MessageBoxReporter", "the new document")
                                                    : documentName;
    const QMessageBox::StandardButton answer = QMessageBox::warning(
        owner, kTitle,
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

QString FileErrorText(const QString& what, const FileError& error) {
    return what + QStringLiteral("\n\n") + QDir::toNativeSeparators(ToQt(error.file)) +
           QStringLiteral(": ") + ToQt(error.reason);
}

}  // namespace tav
