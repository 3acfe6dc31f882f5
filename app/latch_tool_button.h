#pragma once

#include <QToolButton>

// A tool button with a pressed look that only its click handler changes: a
// click does not toggle it, so the handler sees the look as it was.
class LatchToolButton final : public QToolButton {
public:
    explicit LatchToolButton(QWidget* parent = nullptr) : QToolButton(parent) {
        setCheckable(true);
    }

protected:
    void nextCheckState() override {}
};
