#include "message_boxes.h"

#include <QInputDialog>
#include <QPushButton>
#include <array>
#include <utility>

namespace {

using Choice = std::pair<const char*, QMessageBox::ButtonRole>;

// A modal question with one button for each choice, choice fallback the
// default and Escape's; returns the index of the button clicked.
template <std::size_t Count>
std::size_t Choose(QWidget* parent, const QString& title, const QString& text,
                   const std::array<Choice, Count>& choices, std::size_t fallback) {
    QMessageBox box(QMessageBox::Question, title, text, QMessageBox::NoButton, parent);
    std::array<QPushButton*, Count> buttons{};
    for (std::size_t i = 0; i < Count; ++i) {
        buttons[i] = box.addButton(QString::fromUtf8(choices[i].first), choices[i].second);
    }
    box.setDefaultButton(buttons[fallback]);
    box.setEscapeButton(buttons[fallback]);
    box.exec();
    for (std::size_t i = 0; i < Count; ++i) {
        if (box.clickedButton() == buttons[i]) {
            return i;
        }
    }
    return fallback;
}

}  // namespace

void QtMessageBoxes::Show(QWidget* parent, const QString& title, QMessageBox::Icon icon,
                          const QString& text) {
    QMessageBox box(icon, title, text, QMessageBox::Ok, parent);
    box.exec();
}

bool QtMessageBoxes::Ask(QWidget* parent, const QString& title, const QString& text) {
    constexpr std::array<Choice, 2> kChoices{{
        {"&Ja", QMessageBox::YesRole},
        {"&Nein", QMessageBox::NoRole},
    }};
    return Choose(parent, title, text, kChoices, 1) == 0;
}

olmira::OverwriteAnswer QtMessageBoxes::AskOverwrite(QWidget* parent, const QString& title,
                                                     const QString& text) {
    constexpr std::array<Choice, 4> kChoices{{
        {"&Ja", QMessageBox::YesRole},
        {"Ja, &alle", QMessageBox::YesRole},
        {"&Nein", QMessageBox::NoRole},
        {"N&ein, alle", QMessageBox::NoRole},
    }};
    constexpr std::array<olmira::OverwriteAnswer, 4> kAnswers{
        olmira::OverwriteAnswer::Yes, olmira::OverwriteAnswer::YesToAll,
        olmira::OverwriteAnswer::No, olmira::OverwriteAnswer::NoToAll};
    return kAnswers[Choose(parent, title, text, kChoices, 2)];
}

bool QtMessageBoxes::AskDelete(QWidget* parent, const QString& title, const QString& text) {
    constexpr std::array<Choice, 2> kChoices{{
        {"&Löschen", QMessageBox::DestructiveRole},
        {"&Abbrechen", QMessageBox::RejectRole},
    }};
    return Choose(parent, title, text, kChoices, 1) == 0;
}

std::optional<QString> QtMessageBoxes::AskName(QWidget* parent, const QString& title,
                                               const QString& prompt, const QString& preset) {
    QInputDialog dialog(parent);
    dialog.setWindowTitle(title);
    dialog.setLabelText(prompt);
    dialog.setTextValue(preset);
    dialog.setOkButtonText(QStringLiteral("OK"));
    dialog.setCancelButtonText(QStringLiteral("Abbrechen"));
    if (dialog.exec() != QDialog::Accepted) {
        return std::nullopt;
    }
    return dialog.textValue();
}
