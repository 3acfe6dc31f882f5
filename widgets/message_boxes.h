#pragma once

#include <QMessageBox>
#include <QString>
#include <optional>

#include "copy/copy_window.h"

class QWidget;

// The title of every message box and the name the desktop shows for the
// running program.
inline const QString kApplicationTitle = QStringLiteral("Olmira Remote File Manager");

// Every message box of the program goes through here, so tests can answer
// them without a modal loop.
class MessageBoxes {
public:
    virtual ~MessageBoxes() = default;
    // A modal box with one OK button.
    virtual void Show(QWidget* parent, const QString& title, QMessageBox::Icon icon,
                      const QString& text) = 0;
    // A modal question with "&Ja" and "&Nein", "Nein" the default and
    // Escape's answer; true for "Ja".
    virtual bool Ask(QWidget* parent, const QString& title, const QString& text) = 0;
    // A modal question with "&Ja", "Ja, &alle", "&Nein" and "N&ein, alle",
    // "Nein" the default and Escape's answer.
    virtual olmira::OverwriteAnswer AskOverwrite(QWidget* parent, const QString& title,
                                                 const QString& text) = 0;
    // A modal question with "&Löschen" and "&Abbrechen", "Abbrechen" the
    // default and Escape's answer; true for "Löschen".
    virtual bool AskDelete(QWidget* parent, const QString& title, const QString& text) = 0;
    // A modal input box with prompt and the name preset and selected;
    // nullopt when cancelled.
    virtual std::optional<QString> AskName(QWidget* parent, const QString& title,
                                           const QString& prompt, const QString& preset) = 0;
};

class QtMessageBoxes final : public MessageBoxes {
public:
    void Show(QWidget* parent, const QString& title, QMessageBox::Icon icon,
              const QString& text) override;
    bool Ask(QWidget* parent, const QString& title, const QString& text) override;
    olmira::OverwriteAnswer AskOverwrite(QWidget* parent, const QString& title,
                                         const QString& text) override;
    bool AskDelete(QWidget* parent, const QString& title, const QString& text) override;
    std::optional<QString> AskName(QWidget* parent, const QString& title, const QString& prompt,
                                   const QString& preset) override;
};
