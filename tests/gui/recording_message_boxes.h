#pragma once

#include <QMessageBox>
#include <QString>
#include <QStringList>
#include <optional>
#include <vector>

#include "message_boxes.h"

// Answers every message box and question at once and keeps what it would
// have shown.
class RecordingMessageBoxes final : public MessageBoxes {
public:
    struct Box {
        QString title;
        QMessageBox::Icon icon;
        QString text;
    };

    void Show(QWidget*, const QString& title, QMessageBox::Icon icon,
              const QString& text) override {
        shown.push_back({title, icon, text});
    }
    bool Ask(QWidget*, const QString& title, const QString& text) override {
        shown.push_back({title, QMessageBox::Question, text});
        return answerYes;
    }
    olmira::OverwriteAnswer AskOverwrite(QWidget*, const QString& title,
                                         const QString& text) override {
        shown.push_back({title, QMessageBox::Question, text});
        return overwriteAnswer;
    }

    bool AskDelete(QWidget*, const QString& title, const QString& text) override {
        shown.push_back({title, QMessageBox::Warning, text});
        return answerDelete;
    }
    std::optional<QString> AskName(QWidget*, const QString& title, const QString& prompt,
                                   const QString& preset) override {
        shown.push_back({title, QMessageBox::Question, prompt});
        presets.push_back(preset);
        if (names.empty()) {
            return std::nullopt;
        }
        const QString name = names.takeFirst();
        return name;
    }

    std::vector<Box> shown;
    // The answer to every question.
    bool answerYes = false;
    // The answer to every overwrite question.
    olmira::OverwriteAnswer overwriteAnswer = olmira::OverwriteAnswer::No;
    // The answer to every delete question.
    bool answerDelete = false;
    // The answers of the input boxes, in turn; cancelled once none is left.
    QStringList names;
    // What each input box was preset with.
    QStringList presets;
};
