#include "qt_translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>

QLocale ProgramLocale(const QLocale& desktop) {
    return desktop.language() == QLocale::German ? desktop
                                                 : QLocale(QLocale::German, QLocale::Germany);
}

QtTranslations::QtTranslations(QCoreApplication& application, const QLocale& locale) {
    loaded_ = translator_.load(locale, QStringLiteral("qtbase"), QStringLiteral("_"),
                               QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    if (loaded_) {
        application.installTranslator(&translator_);
    }
}
