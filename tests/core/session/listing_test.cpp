#include "session/listing.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

namespace olmira {
namespace {

using ::testing::ElementsAre;

TEST(SplitFieldsTest, SplitsAtEverySingleSpace) {
    const std::vector<std::pair<std::string, TStrArray>> cases = {
        {"a b", {"a", "b"}}, {"a  b", {"a", "", "b"}}, {"a ", {"a"}},
        {"", {""}},          {" a", {"", "a"}},        {"abc", {"abc"}},
    };
    for (const auto& [text, fields] : cases) {
        EXPECT_EQ(SplitFields(text), fields) << "text: '" << text << "'";
    }
}

TEST(TrimTest, RemovesControlCharactersAndBlanksAtBothEnds) {
    EXPECT_EQ(Trim("\t \x01 x y \r\x1f"), "x y");
    EXPECT_EQ(Trim(" \x7f "), "\x7f");
    EXPECT_EQ(Trim("  "), "");
}

TEST(DriveEntriesTest, SkipsTheEchoAndAppendsASlash) {
    EXPECT_THAT(DriveEntries({"ls -1A /var/media", "hdd", "", "usb"}), ElementsAre("hdd/", "usb/"));
    EXPECT_THAT(DriveEntries({"ls -1A /var/media"}), ElementsAre());
    // A box with nothing but its own disk is still usable.
    EXPECT_THAT(DriveEntries({"ls -1A /var/media", "usb"}), ElementsAre("usb/"));
}

ReplyLines Reply(const std::vector<std::string>& entries) {
    ReplyLines lines{"ls -1Aps /var/media/hdd/", "total 42"};
    for (const std::string& entry : entries) {
        lines.push_back(entry);
    }
    lines.push_back("root@box:~# ");
    return lines;
}

TEST(ListingEntriesTest, ReadsSizesAndNamesAsReceived) {
    const auto entries = ListingEntries(Reply({"   4 Filme/", "1234567 aufnahme.ts"}), 1);
    EXPECT_THAT(entries, ElementsAre(ListEntry{"./", EntryKind::ThisFolder, ""},
                                     ListEntry{"Filme/", EntryKind::Folder, ""},
                                     ListEntry{"aufnahme.ts", EntryKind::File, "1234567"}));
}

TEST(ListingEntriesTest, FoldersPrecedeFilesEachInReplyOrder) {
    const auto entries =
        ListingEntries(Reply({"1 b.ts", "4 Z/", "2 a.ts", "4 A/", "", "garbage"}), 2);
    std::vector<std::string> captions;
    for (const auto& entry : entries) {
        captions.push_back(entry.caption);
    }
    EXPECT_THAT(captions, ElementsAre("./", "../", "Z/", "A/", "b.ts", "a.ts"));
}

TEST(ListingEntriesTest, NamesKeepSpacesQuotesAndForeignBytes) {
    const auto entries = ListingEntries(
        Reply({"8 My Film.ts", "4 Neuer Ordner/", "1 say \"hi\" $HOME.ts", "1 caf\xe9.ts"}), 1);
    ASSERT_EQ(entries.size(), 5u);
    EXPECT_EQ(entries[1], (ListEntry{"Neuer Ordner/", EntryKind::Folder, ""}));
    EXPECT_EQ(entries[2].caption, "My Film.ts");
    EXPECT_EQ(entries[3].caption, "say \"hi\" $HOME.ts");
    EXPECT_EQ(entries[4].caption, "caf\xe9.ts");
}

TEST(ListingEntriesTest, ShortOrFailedRepliesListOnlyTheSpecialEntries) {
    EXPECT_EQ(ListingEntries({}, 1).size(), 1u);
    EXPECT_EQ(ListingEntries({"ls -1Aps /var/media/x/", "ls: cannot access", "# "}, 2).size(), 2u);
    EXPECT_EQ(ListingEntries(Reply({}), 1).size(), 1u);
}

// Both shells' words for a folder that is not there; an entry whose name
// holds "ls: " is no message.
TEST(ListingMessagesTest, TakesLsLinesButNeverAnEntry) {
    const std::string bash = "ls: cannot access '/var/media/hdd/x/': No such file or directory";
    const std::string ash = "ls: /var/media/hdd/x/: No such file or directory";
    EXPECT_THAT(ListingMessages({"ls -1Aps /var/media/hdd/x/", bash, "# "}), ElementsAre(bash));
    EXPECT_THAT(ListingMessages({"ls -1Aps /var/media/hdd/x/", ash, "/ # "}), ElementsAre(ash));
    EXPECT_THAT(ListingMessages(Reply({"4 ls: notes.txt", "  12 Filme/"})), ElementsAre());
}

// Entries name the reply's own bytes; whatever the reply's lines take in
// afterwards must not change them.
TEST(ListingEntriesTest, EntriesOutliveTheirReplysLines) {
    ReplyLines lines = Reply({"1234567 aufnahme.ts", "4 Filme/"});
    const EntryList entries = ListingEntries(lines, 2);
    lines.AppendToOpenLine("more text");
    lines.EndLine();
    lines.DropOpenLine();
    lines.clear();
    lines.push_back("9999999 anderes.ts");
    EXPECT_THAT(entries, ElementsAre(ListEntry{"./", EntryKind::ThisFolder, ""},
                                     ListEntry{"../", EntryKind::ParentFolder, ""},
                                     ListEntry{"Filme/", EntryKind::Folder, ""},
                                     ListEntry{"aufnahme.ts", EntryKind::File, "1234567"}));
    EXPECT_EQ(lines[0], "9999999 anderes.ts");
}

// The dates come in the box's order, one for each entry line, while a pane
// puts its folders first and leaves a running job's temporary copies out.
TEST(ListedDatesTest, EachEntryTakesTheDateOfItsOwnLine) {
    ListedOrder order;
    const EntryList entries =
        ListingEntries(Reply({"1 b.ts", "4 Z/", "7 .a.ts.part", "2 a.ts", "4 A/"}), 2, &order);
    const auto datesReply = [](int lines) {
        ReplyLines reply{"for ofm_folder in /var/media/hdd/; do ls ..."};
        for (int i = 1; i <= lines; ++i) {
            reply.push_back("2026-12-0" + std::to_string(i) + " 14:03");
        }
        reply.push_back("root@box:~# ");
        return reply;
    };
    const EntryDates dates = ListedDates(datesReply(5), order);
    std::vector<std::pair<std::string, std::string>> shown;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        shown.emplace_back(entries.Caption(i), dates[i]);
    }
    EXPECT_THAT(
        shown,
        ElementsAre(std::pair{"./", ""}, std::pair{"../", ""}, std::pair{"Z/", "2026-12-02 14:03"},
                    std::pair{"A/", "2026-12-05 14:03"}, std::pair{"b.ts", "2026-12-01 14:03"},
                    std::pair{"a.ts", "2026-12-04 14:03"}));
    // The folder changed between the two commands: no date is trusted.
    for (const int lines : {4, 6}) {
        const EntryDates none = ListedDates(datesReply(lines), order);
        for (std::size_t i = 0; i < entries.size(); ++i) {
            EXPECT_EQ(none[i], "") << lines << " dates, entry " << i;
        }
    }
}

}  // namespace
}  // namespace olmira
