// Sends the undo and redo keys to the line edit that has them focused while that edit can undo
// or redo its own keystrokes, and to the window's Undo and Redo actions otherwise.
#pragma once

#include <QObject>

class QAction;
class QKeyEvent;
class QLineEdit;

namespace tav {

class UndoKeyRouter final : public QObject {
    Q_OBJECT

public:
    // `undo` and `redo` are the window's actions; their shortcuts are the keys routed. Both must
    // outlive the router, which belongs to `parent`.
    UndoKeyRouter(QAction* undo, QAction* redo, QObject* parent);

    // Routes the keys pressed in `edit` from now on.
    void Watch(QLineEdit* edit);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    enum class Key { Other, Undo, Redo };
    Key Classify(const QKeyEvent& event) const;

    QAction* m_undo;
    QAction* m_redo;
};

}  // namespace tav
