#include "tidy/tidy_texts.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace olmira {
namespace {

// n recordings of 2 kB each, "Folge 1.ts" ...
std::vector<ListEntry> Recordings(int n) {
    std::vector<ListEntry> entries;
    for (int i = 1; i <= n; ++i) {
        entries.push_back({"Folge " + std::to_string(i) + ".ts", EntryKind::File, "2"});
    }
    return entries;
}

TEST(DeleteQuestionTest, NamesUpToFiveEntriesOneALineAndCountsTheRest) {
    std::vector<ListEntry> mixed = Recordings(2);
    mixed.insert(mixed.begin(), {"Serien/", EntryKind::Folder, ""});
    const struct {
        std::vector<ListEntry> selected;
        std::size_t infoFiles;
        std::string question;
    } cases[] = {
        {Recordings(1), 0, "„Folge 1.ts“ löschen?"},
        {mixed, 1,
         "3 Einträge löschen, davon 1 Ordner mit ihrem Inhalt (Dateien: 4 kB)?\n"
         "„Serien/“\n„Folge 1.ts“\n„Folge 2.ts“\n"
         "Die Infodatei wird mitgelöscht."},
        {Recordings(5), 0,
         "5 Einträge löschen (10 kB)?\n"
         "„Folge 1.ts“\n„Folge 2.ts“\n„Folge 3.ts“\n„Folge 4.ts“\n„Folge 5.ts“"},
        {Recordings(6), 0,
         "6 Einträge löschen (12 kB)?\n"
         "„Folge 1.ts“\n„Folge 2.ts“\n„Folge 3.ts“\n„Folge 4.ts“\n„Folge 5.ts“\n"
         "und 1 weitere"},
        {Recordings(17), 17,
         "17 Einträge löschen (34 kB)?\n"
         "„Folge 1.ts“\n„Folge 2.ts“\n„Folge 3.ts“\n„Folge 4.ts“\n„Folge 5.ts“\n"
         "und 12 weitere\n"
         "Die 17 Infodateien werden mitgelöscht."},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(DeleteQuestion(c.selected, c.infoFiles), c.question);
    }
}

}  // namespace
}  // namespace olmira
