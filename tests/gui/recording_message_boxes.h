#pragma once

#include <QMessageBox>
#include <QString>
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

    std::vector<Box> shown;
    // The answer to every question.
    bool answerYes = false;
    // The answer to every overwrite question.
    olmira::OverwriteAnswer overwriteAnswer = olmira::OverwriteAnswer::No;
};
