// The band the window shows when the open document's file was changed or removed by someone else:
// it says so and offers Reload and Keep mine, without taking the focus from what the user types.
#pragma once

#include <QFrame>

class QLabel;
class QPushButton;

namespace tav {

class DiskNotice final : public QFrame {
    Q_OBJECT

public:
    explicit DiskNotice(QWidget* parent = nullptr);

    // Shows the notice for a file that was changed (`removed` false) or removed.
    void ShowFor(const QString& name, bool removed);

    QPushButton* ReloadButton() const { return m_reload; }
    QPushButton* KeepButton() const { return m_keep; }
    QString Text() const;

signals:
    void reloadRequested();
    void keepRequested();

private:
    QLabel* m_text = nullptr;
    QPushButton* m_reload = nullptr;
    QPushButton* m_keep = nullptr;
};

}  // namespace tav
