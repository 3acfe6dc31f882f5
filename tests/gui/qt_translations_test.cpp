// Which language Qt's own texts take, and that they come in it.
#include "qt_translations.h"

#include <gtest/gtest.h>

#include <QCoreApplication>

namespace {

TEST(ProgramLocale, FollowsAGermanDesktopAndIsGermanOtherwise) {
    const std::pair<const char*, const char*> cases[] = {
        {"de_AT", "de_AT"}, {"de_CH", "de_CH"}, {"de_DE", "de_DE"},
        {"en_US", "de_DE"}, {"fr_FR", "de_DE"}, {"C", "de_DE"},
    };
    for (const auto& [desktop, expected] : cases) {
        EXPECT_EQ(ProgramLocale(QLocale(QString::fromLatin1(desktop))).name(),
                  QString::fromLatin1(expected))
            << desktop;
    }
}

TEST(QtTranslations, QtsOwnDialogsSpeakGerman) {
    const QtTranslations translations(*QCoreApplication::instance(),
                                      QLocale(QLocale::German, QLocale::Austria));
    ASSERT_TRUE(translations.Loaded());
    EXPECT_EQ(QCoreApplication::translate("QPlatformTheme", "Cancel"), QStringLiteral("Abbrechen"));
    EXPECT_EQ(QCoreApplication::translate("QFileDialog", "Look in:"), QStringLiteral("Suchen in:"));
}

}  // namespace
