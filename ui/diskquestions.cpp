#include "diskquestions.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace tav {

namespace {

QTreeWidget* ConflictList(const std::vector<DiskConflict>& conflicts, QWidget* parent) {
    auto* list = new QTreeWidget(parent);
    list->setColumnCount(3);
    list->setHeaderLabels({QObject::tr("Setting"), QObject::tr("Mine"),
                           QObject::tr("In the file (checked: use it)")});
    list->setRootIsDecorated(false);
    for (const DiskConflict& conflict : conflicts) {
        auto* item = new QTreeWidgetItem(list, {conflict.what, conflict.mine, conflict.theirs});
        item->setCheckState(2, Qt::Unchecked);
    }
    list->header()->setSectionResizeMode(QHeaderView::ResizeToContents);
    return list;
}

}  // namespace

DiskDecision DialogDiskQuestions::AskHowToSave(QWidget* owner, const QString& name,
                                               const std::vector<DiskConflict>& conflicts) {
    QDialog dialog(owner);
    dialog.setWindowTitle(QObject::tr("The file was changed"));
    auto* layout = new QVBoxLayout(&dialog);
    const QString text =
        conflicts.empty()
            ? QObject::tr(
                  "%1 was changed on the disk since you opened or saved it. Merge keeps "
                  "your edits and the other changes.")
                  .arg(name)
            : QObject::tr(
                  "%1 was changed on the disk since you opened or saved it, and these "
                  "settings were changed on both sides. Check the ones whose value in "
                  "the file should win, then Merge.")
                  .arg(name);
    auto* label = new QLabel(text, &dialog);
    label->setWordWrap(true);
    layout->addWidget(label);
    QTreeWidget* list = conflicts.empty() ? nullptr : ConflictList(conflicts, &dialog);
    if (list != nullptr) {
        layout->addWidget(list);
    }
    auto* buttons = new QDialogButtonBox(&dialog);
    DiskDecision decision;
    const auto add = [&](const QString& label, DiskDecision::Answer answer) {
        QPushButton* button = buttons->addButton(label, QDialogButtonBox::ActionRole);
        QObject::connect(button, &QPushButton::clicked, &dialog, [&dialog, &decision, answer] {
            decision.answer = answer;
            dialog.accept();
        });
        return button;
    };
    add(QObject::tr("&Merge"), DiskDecision::Answer::Merge)->setDefault(true);
    add(QObject::tr("&Overwrite"), DiskDecision::Answer::Overwrite);
    add(QObject::tr("&Reload"), DiskDecision::Answer::Reload);
    add(QObject::tr("Cancel"), DiskDecision::Answer::Cancel);
    layout->addWidget(buttons);
    if (dialog.exec() != QDialog::Accepted) {
        return DiskDecision{};
    }
    for (int i = 0; list != nullptr && i < list->topLevelItemCount(); ++i) {
        decision.takeTheirs.push_back(list->topLevelItem(i)->checkState(2) == Qt::Checked);
    }
    return decision;
}

}  // namespace tav
