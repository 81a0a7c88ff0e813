#include "ui/aboutdialog.h"

#include <QCoreApplication>
#include <QGridLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>

#include "help/screenfit.h"
#include "resources/images.h"
#include "ui/messagereporter.h"

namespace tav {

namespace {

constexpr unsigned kSystemCommandMask = 0xFFF0;  // the low four bits belong to the system
constexpr int kIconSize = 32;

}  // namespace

bool IsAboutSysCommand(unsigned id) {
    return (id & kSystemCommandMask) == kAboutSysCommand;
}

AboutDialog::AboutDialog(QWidget* parent) : QDialog(parent) {
    setWindowTitle(tr("About"));
    setModal(true);

    auto* icon = new QLabel(this);
    icon->setObjectName(QStringLiteral("icon"));
    icon->setPixmap(ProgramImage("appicon").pixmap(kIconSize, kIconSize));

    auto* title = new QLabel(ProgramTitle(), this);
    title->setObjectName(QStringLiteral("title"));
    title->setTextFormat(Qt::PlainText);

    // The version the program declared at start (QCoreApplication::applicationVersion).
    auto* version = new QLabel(tr("Version %1").arg(QCoreApplication::applicationVersion()), this);
    version->setObjectName(QStringLiteral("version"));
    version->setTextFormat(Qt::PlainText);
    version->setVisible(!QCoreApplication::applicationVersion().isEmpty());

    auto* notice = new QLabel(tr("Made by the TAV Configuration Manager developers."), this);
    notice->setObjectName(QStringLiteral("notice"));
    notice->setTextFormat(Qt::PlainText);

    auto* ok = new QPushButton(tr("OK"), this);
    ok->setObjectName(QStringLiteral("ok"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);

    auto* layout = new QGridLayout(this);
    layout->addWidget(icon, 0, 0, 3, 1, Qt::AlignTop);
    layout->addWidget(title, 0, 1);
    layout->addWidget(version, 1, 1);
    layout->addWidget(notice, 2, 1);
    layout->addWidget(ok, 0, 2, Qt::AlignTop);
    layout->setHorizontalSpacing(12);
    layout->setSizeConstraint(QLayout::SetFixedSize);
}

// Qt centres a dialog over its parent itself, but counts only the decorations left of and above the
// window, and so can leave the dialog's right or bottom edge just off the screen.
void AboutDialog::setVisible(bool visible) {
    if (visible && !isVisible() && parentWidget() != nullptr) {
        adjustSize();
        PlaceOver(*this, *parentWidget());
    }
    QDialog::setVisible(visible);
}

}  // namespace tav
