#include "messagereporter.h"

#include <QDir>
#include <QMessageBox>

#include "catalog/fileerror.h"
#include "tree/textconv.h"

namespace tav {

void MessageBoxReporter::ShowWarning(QWidget* owner, const QString& text) {
    QMessageBox::warning(owner, QStringLiteral("TAV Configuration Manager"), text);
}

QString FileErrorText(const QString& what, const FileError& error) {
    return what + QStringLiteral("\n\n") + QDir::toNativeSeparators(ToQt(error.file)) +
           QStringLiteral(": ") + ToQt(error.reason);
}

}  // namespace tav
