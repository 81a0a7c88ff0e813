#include "ui/diskquestions.h"

#include <QDialog>
#include <QDialogButtonBox>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include "help/screenfit.h"

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
    // Each column as wide as its header and values (the user may still widen one), and the list
    // asks for room for all of them and every row: the dialog is sized from it.
    for (int column = 0; column < list->columnCount(); ++column) {
        list->resizeColumnToContents(column);
    }
    list->setSizeAdjustPolicy(QAbstractScrollArea::AdjustToContents);
    return list;
}

// The dialog at the size its contents ask for, as far as the owner's screen has room, over the
// owner. The list scrolls when the screen is too small for it.
void PlaceDialog(QDialog& dialog, QWidget* owner) {
    if (owner == nullptr) {
        return;  // Qt places a dialog without an owner in the middle of the screen
    }
    const QSize decorations = owner->window()->frameGeometry().size() - owner->window()->size();
    dialog.resize(dialog.sizeHint().boundedTo(AvailableArea(*owner).size() - decorations));
    PlaceOver(dialog, *owner);
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
    PlaceDialog(dialog, owner);
    if (dialog.exec() != QDialog::Accepted) {
        return DiskDecision{};
    }
    for (int i = 0; list != nullptr && i < list->topLevelItemCount(); ++i) {
        decision.takeTheirs.push_back(list->topLevelItem(i)->checkState(2) == Qt::Checked);
    }
    return decision;
}

}  // namespace tav
