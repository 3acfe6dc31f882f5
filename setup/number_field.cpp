#include "number_field.h"

#include <QLineEdit>
#include <QLocale>
#include <algorithm>
#include <limits>

TNumberField::TNumberField(std::optional<Bounds> bounds, std::int32_t step, std::int32_t fallback,
                           QWidget* parent)
    : QAbstractSpinBox(parent), bounds_(bounds), step_(step), fallback_(fallback) {
    setCorrectionMode(QAbstractSpinBox::CorrectToPreviousValue);
    setAccelerated(true);
    SetValue(fallback);
}

std::optional<std::int32_t> TNumberField::TypedNumber() const {
    bool isNumber = false;
    const int number = text().toInt(&isNumber, 10);
    if (!isNumber) {
        return std::nullopt;
    }
    return number;
}

std::int64_t TNumberField::Held(std::int64_t value) const {
    const std::int64_t lowest =
        bounds_ ? bounds_->lowest : std::numeric_limits<std::int32_t>::min();
    const std::int64_t highest =
        bounds_ ? bounds_->highest : std::numeric_limits<std::int32_t>::max();
    return std::clamp(value, lowest, highest);
}

std::int32_t TNumberField::Value() const {
    const std::optional<std::int32_t> typed = TypedNumber();
    if (!typed) {
        return fallback_;
    }
    return static_cast<std::int32_t>(Held(*typed));
}

void TNumberField::SetValue(std::int32_t value) {
    lineEdit()->setText(QString::number(Held(value)));
}

QValidator::State TNumberField::validate(QString& input, int& /*pos*/) const {
    const QString separator = locale().decimalPoint();
    for (const QChar c : input) {
        if (!c.isDigit() && c != u'+' && c != u'-' && !separator.contains(c)) {
            return QValidator::Invalid;
        }
    }
    return QValidator::Acceptable;
}

void TNumberField::stepBy(int steps) {
    const std::int64_t stepped =
        static_cast<std::int64_t>(Value()) +
        static_cast<std::int64_t>(steps) * static_cast<std::int64_t>(step_);
    SetValue(static_cast<std::int32_t>(Held(stepped)));
    lineEdit()->selectAll();
}

QAbstractSpinBox::StepEnabled TNumberField::stepEnabled() const {
    return isReadOnly() ? StepNone : (StepUpEnabled | StepDownEnabled);
}

void TNumberField::focusOutEvent(QFocusEvent* event) {
    const std::optional<std::int32_t> typed = TypedNumber();
    if (typed && Held(*typed) != *typed) {
        SetValue(*typed);
    }
    QAbstractSpinBox::focusOutEvent(event);
}
