#include <gtest/gtest.h>

#include <QWidget>
#include <stdexcept>

#include "error.h"
#include "error_guard.h"
#include "recording_message_boxes.h"

namespace {

TEST(ErrorBoxText, AddsAFullStopOnlyBehindCharactersThatSortAfterIt) {
    const std::pair<std::string, std::string> cases[] = {
        {"Not Connected", "Not Connected."},
        {"Connection refused.", "Connection refused."},
        {"", ""},
        {"Fehler!", "Fehler!"},
        {"a-", "a-"},
        {"hdd/", "hdd/."},
        {"Fehler 42", "Fehler 42."},
        {"Datei kann nicht ge\xc3\xb6"
         "ffnet werden \xc3\xa4",
         "Datei kann nicht ge\xc3\xb6"
         "ffnet werden \xc3\xa4."},
    };
    for (const auto& [text, shown] : cases) {
        EXPECT_EQ(ErrorBoxText(text), shown) << text;
    }
}

struct GuardedRun {
    RecordingMessageBoxes boxes;
    QWidget parent;
    ErrorGuard guard{boxes, parent};
};

TEST(ErrorGuard, ShowsAnErrorInTheProgramsErrorBoxAndGoesOn) {
    GuardedRun run;
    bool after = false;
    run.guard.Run([&] {
        throw olmira::Error("Not Connected");
        after = true;
    });
    ASSERT_EQ(run.boxes.shown.size(), 1u);
    EXPECT_EQ(run.boxes.shown[0].title, QStringLiteral("Olmira Remote File Manager"));
    EXPECT_EQ(run.boxes.shown[0].icon, QMessageBox::Critical);
    EXPECT_EQ(run.boxes.shown[0].text, QStringLiteral("Not Connected."));
    EXPECT_FALSE(after);
}

TEST(ErrorGuard, CatchesEveryKindOfException) {
    GuardedRun run;
    run.guard.Run([] { throw std::runtime_error("kaputt"); });
    run.guard.Run([] { throw 42; });
    ASSERT_EQ(run.boxes.shown.size(), 2u);
    EXPECT_EQ(run.boxes.shown[0].text, QStringLiteral("kaputt."));
    EXPECT_FALSE(run.boxes.shown[1].text.isEmpty());
}

TEST(ErrorGuard, ShowsNothingWhenTheHandlerSucceeds) {
    GuardedRun run;
    int calls = 0;
    run.guard.Run([&] { ++calls; });
    EXPECT_EQ(calls, 1);
    EXPECT_TRUE(run.boxes.shown.empty());
}

}  // namespace
