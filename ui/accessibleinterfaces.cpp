#include "ui/accessibleinterfaces.h"

#include <QAbstractItemView>
#include <QAccessible>
#include <QAccessibleWidget>
#include <QComboBox>

#include "ui/maindialog.h"

namespace tav {

namespace {

// A non-editable combo box with an accessible name says that name, with its current entry as its
// value; like Qt's own account it has the list of entries as its child and opens it as its
// action, so a screen reader still reads the entries.
class NamedComboAccessible final : public QAccessibleWidget {
public:
    explicit NamedComboAccessible(QComboBox* box) : QAccessibleWidget(box, QAccessible::ComboBox) {}

    QString text(QAccessible::Text kind) const override {
        if (kind == QAccessible::Name && !Box()->accessibleName().isEmpty()) {
            return Box()->accessibleName();
        }
        if (kind == QAccessible::Name || kind == QAccessible::Value) {
            return Box()->currentText();
        }
        return QAccessibleWidget::text(kind);
    }
    int childCount() const override { return Box()->view() != nullptr ? 1 : 0; }
    QAccessibleInterface* child(int index) const override {
        return index == 0 && Box()->view() != nullptr
                   ? QAccessible::queryAccessibleInterface(Box()->view())
                   : nullptr;
    }
    int indexOfChild(const QAccessibleInterface* child) const override {
        return child != nullptr && child->object() == Box()->view() ? 0 : -1;
    }
    QAccessible::State state() const override {
        QAccessible::State state = QAccessibleWidget::state();
        state.expandable = true;
        state.expanded = Box()->view() != nullptr && Box()->view()->isVisible();
        return state;
    }
    QStringList actionNames() const override {
        return QStringList{showMenuAction(), pressAction()} + QAccessibleWidget::actionNames();
    }
    void doAction(const QString& action) override {
        if (action != showMenuAction() && action != pressAction()) {
            QAccessibleWidget::doAction(action);
        } else if (Box()->view() != nullptr && Box()->view()->isVisible()) {
            Box()->hidePopup();
        } else {
            Box()->showPopup();
        }
    }

private:
    QComboBox* Box() const { return static_cast<QComboBox*>(widget()); }
};

// Asked for each class of an object's class chain, most derived first; null leaves the object to
// the next account (Qt's own).
QAccessibleInterface* AccountOf(const QString& className, QObject* object) {
    if (className == QLatin1String(MainDialog::staticMetaObject.className())) {
        return new QAccessibleWidget(static_cast<QWidget*>(object), QAccessible::Window);
    }
    if (className == QLatin1String(QComboBox::staticMetaObject.className())) {
        auto* box = static_cast<QComboBox*>(object);
        if (!box->isEditable()) {
            return new NamedComboAccessible(box);
        }
    }
    return nullptr;
}

}  // namespace

void InstallAccessibleInterfaces() {
    static const bool installed = [] {
        QAccessible::installFactory(AccountOf);
        return true;
    }();
    static_cast<void>(installed);
}

}  // namespace tav
