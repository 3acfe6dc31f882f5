#pragma once

#include <QObject>
#include <functional>

class QWidget;

// Runs action for Enter and Return in a widget and takes the key: an
// editable combo box would otherwise hand the same key on to its line edit
// a second time. Owned by the widget.
class EnterKey final : public QObject {
public:
    EnterKey(QWidget& widget, std::function<void()> action);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    std::function<void()> action_;
};
