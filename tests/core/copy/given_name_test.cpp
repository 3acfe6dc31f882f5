#include "copy/given_name.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include "conversation/shell_command.h"
#include "copy/job_plan.h"
#include "error.h"

namespace olmira {
namespace {

using ::testing::ElementsAre;

ListEntry File(const std::string& caption) {
    return {caption, EntryKind::File, "1"};
}

// One folder as busybox lists it: "Gr\xfc\xdfe.ts" (Latin-1) as "Gr??e.ts",
// "Grüße" (UTF-8) as "Gr????e", "Wälder" as "W??lder"; "K?se.ts" stands for
// two entries with one byte each the box cannot show.
const EntryList kListing = {{"./", EntryKind::ThisFolder, {}},
                            {"../", EntryKind::ParentFolder, {}},
                            {"Gr????e/", EntryKind::Folder, {}},
                            File("Gr??e.ts"),
                            File("Gr??e.crid"),
                            File("W??lder.ts"),
                            File("K?se.ts"),
                            File("K?se.ts"),
                            File("Kase.ts"),
                            File("Neu?.ts"),
                            File("Neu?.crid")};

// What a name given from a script leads to: the entry, carrying the bytes
// that go to the box, or nothing, or a refusal.
TEST(GivenNameTest, ANameIsFoundByTheFormItIsListedInOrByItsOwnBytes) {
    const struct {
        std::string given;
        std::string caption;  // empty: not found
        EntryKind kind = EntryKind::File;
    } cases[] = {
        {"Gr\xfc\xdf"
         "e.ts",
         "Gr\xfc\xdf"
         "e.ts"},
        {"Gr??e.ts", "Gr??e.ts"},  // the listed form, sent as a pattern as before
        {"Grüße", "Grüße/", EntryKind::Folder},
        {"Gr????e", "Gr????e/", EntryKind::Folder},
        {"Wälder.ts", "Wälder.ts"},
        {"Kase.ts", "Kase.ts"},
        // The box shows every printable ASCII character as itself.
        {"Kuse.ts", ""},
        {"Gr\xfc"
         "e.ts",
         ""},
        {"Neu?.ts", "Neu?.ts"},
        // Only a listing that knew its names would tell a real "?".
        {"Neu\xe4.ts", "Neu\xe4.ts"},
        {"../", ""},
        {".", ""},
    };
    for (const auto& c : cases) {
        const std::optional<ListEntry> found = FindGiven(c.given, kListing);
        if (c.caption.empty()) {
            EXPECT_FALSE(found) << c.given;
            continue;
        }
        ASSERT_TRUE(found) << c.given;
        EXPECT_EQ(found->caption, c.caption);
        EXPECT_EQ(found->kind, c.kind) << c.given;
        if (c.given.find('?') == std::string::npos) {
            // No "?" reaches the box's shell that could match a neighbour.
            EXPECT_EQ(MediaPattern("hdd/", found->caption),
                      ShellWord("/var/media/hdd/" + found->caption));
        }
    }
}

TEST(GivenNameTest, ANameTheBoxShowsLikeAnotherIsRefused) {
    const struct {
        std::string given;
        std::string refusal;
    } cases[] = {
        {"K\xe4se.ts",
         "„K\xe4se.ts“ passt auf der Box zu mehreren Einträgen („K?se.ts“, „K?se.ts“); bitte "
         "zuerst einen davon anders benennen."},
        // Its own "?" would match the box's "Kase.ts" too.
        {"K??e.ts",
         "„K??e.ts“ passt auf der Box zu mehreren Einträgen („K?se.ts“, „K?se.ts“, „Kase.ts“); "
         "bitte zuerst einen davon anders benennen."},
    };
    for (const auto& c : cases) {
        try {
            FindGiven(c.given, kListing);
            ADD_FAILURE() << "not refused: " << c.given;
        } catch (const Error& error) {
            EXPECT_EQ(error.what(), c.refusal);
        }
    }
}

// A recording found by its bytes takes its info file along by its bytes too.
TEST(GivenNameTest, TheInfoFileGoesAlongInTheSameForm) {
    const std::string latin = "Gr\xfc\xdf";
    EXPECT_THAT(WithInfoFiles({*FindGiven(latin + "e.ts", kListing)}, kListing),
                ElementsAre(File(latin + "e.ts"), File(latin + "e.crid")));
    EXPECT_THAT(WithInfoFiles({*FindGiven("Gr??e.ts", kListing)}, kListing),
                ElementsAre(File("Gr??e.ts"), File("Gr??e.crid")));
    EXPECT_THAT(WithInfoFiles({*FindGiven("Neu?.ts", kListing)}, kListing),
                ElementsAre(File("Neu?.ts"), File("Neu?.crid")));
}

}  // namespace
}  // namespace olmira
