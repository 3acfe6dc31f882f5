#include "enter_key.h"

#include <QKeyEvent>
#include <QWidget>

EnterKey::EnterKey(QWidget& widget, std::function<void()> action)
    : QObject(&widget), action_(std::move(action)) {
    widget.installEventFilter(this);
}

bool EnterKey::eventFilter(QObject* watched, QEvent* event) {
    if (event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if (key == Qt::Key_Return || key == Qt::Key_Enter) {
            action_();
            return true;
        }
    }
    return QObject::eventFilter(watched, event);
}
