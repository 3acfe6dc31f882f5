#pragma once

#include <QAbstractSpinBox>
#include <cstdint>
#include <optional>

// A number field with arrow buttons. It takes only digits, plus and minus
// signs and the decimal separator, and keeps its text as typed. Its value is
// the text read as a whole number, or the fallback when the text is none. A
// bounded field holds a value set into it within its bounds, and when the
// focus leaves it a number outside them is replaced by the nearer bound.
class TNumberField final : public QAbstractSpinBox {
    Q_OBJECT

public:
    struct Bounds {
        std::int32_t lowest;
        std::int32_t highest;
    };

    TNumberField(std::optional<Bounds> bounds, std::int32_t step, std::int32_t fallback,
                 QWidget* parent = nullptr);

    // The text read as a whole number, within the bounds; the fallback when
    // the text is no number.
    std::int32_t Value() const;
    void SetValue(std::int32_t value);

    // The text as a whole number, unbounded; nullopt when it is none.
    std::optional<std::int32_t> TypedNumber() const;

    std::optional<Bounds> Limits() const { return bounds_; }
    std::int32_t Step() const { return step_; }
    std::int32_t Fallback() const { return fallback_; }

    QValidator::State validate(QString& input, int& pos) const override;
    void stepBy(int steps) override;

protected:
    StepEnabled stepEnabled() const override;
    void focusOutEvent(QFocusEvent* event) override;

private:
    std::int64_t Held(std::int64_t value) const;

    std::optional<Bounds> bounds_;
    std::int32_t step_;
    std::int32_t fallback_;
};
