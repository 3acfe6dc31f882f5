#pragma once

#include <QLocale>
#include <QTranslator>

class QCoreApplication;

// The program speaks German: the desktop's locale where it is a German one
// (Austrian dates stay Austrian), German as in Germany otherwise.
QLocale ProgramLocale(const QLocale& desktop);

// Qt's own texts (the standard buttons, the file dialogs, --help) in the
// language of locale, from the translations Qt was installed with. Keeps
// the translator installed in application for as long as it lives.
class QtTranslations {
public:
    QtTranslations(QCoreApplication& application, const QLocale& locale);
    QtTranslations(const QtTranslations&) = delete;
    QtTranslations& operator=(const QtTranslations&) = delete;

    // False when Qt's translations are missing: Qt's texts stay English.
    bool Loaded() const { return loaded_; }

private:
    QTranslator translator_;
    bool loaded_ = false;
};
