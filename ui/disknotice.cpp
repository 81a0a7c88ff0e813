#include "ui/disknotice.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>

namespace tav {

DiskNotice::DiskNotice(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::StyledPanel | QFrame::Raised);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::ToolTipBase);
    m_text = new QLabel(this);
    m_text->setWordWrap(true);
    m_reload = new QPushButton(tr("&Reload"), this);
    m_keep = new QPushButton(tr("&Keep mine"), this);
    for (QPushButton* button : {m_reload, m_keep}) {
        button->setAutoDefault(false);
        button->setFocusPolicy(Qt::NoFocus);  // never takes the focus from the user's typing
    }
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(6, 2, 6, 2);
    layout->addWidget(m_text, 1);
    layout->addWidget(m_reload);
    layout->addWidget(m_keep);
    connect(m_reload, &QPushButton::clicked, this, [this] {
        hide();
        emit reloadRequested();
    });
    connect(m_keep, &QPushButton::clicked, this, [this] {
        hide();
        emit keepRequested();
    });
    hide();
}

void DiskNotice::ShowFor(const QString& name, bool removed) {
    m_text->setText(removed ? tr("%1 was removed from the disk. Save writes it again.").arg(name)
                            : tr("%1 was changed on the disk by someone else.").arg(name));
    m_reload->setVisible(!removed);
    show();
    raise();
}

QString DiskNotice::Text() const {
    return m_text->text();
}

}  // namespace tav
