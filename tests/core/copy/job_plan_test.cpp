#include "copy/job_plan.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace olmira {
namespace {

using ::testing::ElementsAre;

ListEntry File(const std::string& caption) {
    return {caption, EntryKind::File, "1"};
}

std::vector<std::string> Captions(const std::vector<ListEntry>& entries) {
    std::vector<std::string> captions;
    for (const ListEntry& entry : entries) {
        captions.push_back(entry.caption);
    }
    return captions;
}

// A recording's info file follows it once, and only a file of that exact
// name in the same listing counts.
TEST(JobPlanTest, ARecordingBringsItsInfoFileOnce) {
    const EntryList listing = {
        {"./", EntryKind::ThisFolder, {}},  File("a.ts"), File("a.crid"),    File("b.ts"),
        {"c.crid/", EntryKind::Folder, {}}, File("c.ts"), File("d.ts.crid"), File("d.ts")};
    const struct {
        std::vector<ListEntry> selected;
        std::vector<std::string> taken;
    } cases[] = {
        {{File("a.ts")}, {"a.ts", "a.crid"}},
        {{File("a.crid"), File("a.ts")}, {"a.crid", "a.ts"}},
        {{File("a.ts"), File("a.crid")}, {"a.ts", "a.crid"}},
        {{File("b.ts")}, {"b.ts"}},
        {{File("c.ts")}, {"c.ts"}},
        {{File("d.ts")}, {"d.ts"}},
        {{{"a.ts", EntryKind::Folder, {}}}, {"a.ts"}},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(Captions(WithInfoFiles(c.selected, listing)), c.taken) << c.taken.front();
    }
}

TEST(JobPlanTest, AnEntryNeverGoesIntoItselfOrWhereItIs) {
    const JobSource serie{"hdd/Filme/", {"Serie/", EntryKind::Folder, {}}};
    const JobSource film{"hdd/Filme/", File("Serie")};
    const struct {
        JobSource source;
        std::string dest;
        bool refused;
    } cases[] = {
        {serie, "hdd/Filme/Serie/", true},
        {serie, "hdd/Filme/Serie/Staffel 1/", true},
        {serie, "hdd/Filme/", true},
        {serie, "hdd/Filme/Serie 2/", false},
        {serie, "hdd/", false},
        {serie, "usb/Filme/Serie/", false},
        {film, "hdd/Filme/Serie/", false},
        {film, "hdd/Filme/", true},
        {film, "hdd/../etc/", true},
        {{"hdd/Filme/../", File("x")}, "usb/", true},
        {{"", {"hdd/", EntryKind::Folder, {}}}, "usb/", false},
    };
    for (const auto& c : cases) {
        EXPECT_EQ(PlaceRefusal({c.source}, c.dest, TransferMode::Copy).has_value(), c.refused)
            << c.source.entry.caption << " -> " << c.dest;
    }
    // Moving a drive's root would take the drive's content away.
    EXPECT_TRUE(PlaceRefusal({{"", {"hdd/", EntryKind::Folder, {}}}}, "usb/", TransferMode::Move));
    EXPECT_EQ(DriveOf("hdd/Filme/"), "hdd/");
    EXPECT_EQ(DriveOf("usb/"), "usb/");
}

TEST(JobPlanTest, TheEndReportNamesWhatWasNotDone) {
    JobReport report{{3, 1, {{"hdd/a.ts", "cp: x"}, {"hdd/b", "abgebrochen"}}}, TransferMode::Move};
    EXPECT_EQ(ReportText(report),
              "Von 3 Einträgen wurden 2 nicht verschoben:\nhdd/a.ts: cp: x\nhdd/b: abgebrochen");
    EXPECT_EQ(ReportStatus(report), "1 von 3 Einträgen verschoben");
    report = {{1, 0, {{"hdd/a.ts", "cp: x"}}}, TransferMode::Copy};
    EXPECT_EQ(ReportText(report), "Von 1 Eintrag wurde 1 nicht kopiert:\nhdd/a.ts: cp: x");
    // An outcome without a path is a sentence of its own.
    EXPECT_EQ(ReportText({2, 0, {{"a.ts", "rm: x"}, {"", "Ordner b fehlt."}}}, "gelöscht"),
              "Von 2 Einträgen wurden 2 nicht gelöscht:\na.ts: rm: x\nOrdner b fehlt.");
    EXPECT_EQ(SpaceRefusal("usb/", 4812, 11720),
              "Auf usb/ sind nur 4.812 kB frei; gebraucht werden 11.720 kB.");
}

}  // namespace
}  // namespace olmira
