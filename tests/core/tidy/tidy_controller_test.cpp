#include "tidy/tidy_controller.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <functional>

#include "conversation/command_fit.h"
#include "error.h"
#include "fake_session.h"

namespace olmira {
namespace {

using ::testing::ElementsAre;
using ::testing::IsEmpty;

constexpr char kDfHeader[] = "Filesystem 1K-blocks Used Available Use% Mounted on\r\n";

// Both panes listed, their free space read: hdd/Filme/ as source, usb/ as
// destination.
class TidyControllerTest : public ::testing::Test, protected FakeSession {
protected:
    TidyControllerTest() {
        settings.PromptMarker = "box#";
        settings.with_crid = true;
        List(Source, "hdd/Filme/", kFilme);
        List(Destination, "usb/", {"4 Alt.ts"});
        channel.sent.clear();
    }

    const std::vector<std::string> kFilme = {"1280 Konzert.ts", "4 Konzert.crid", "4 Kurz.ts",
                                             "0 Serien/",       "1 K?se.ts",      "1 Kase.ts"};

    void List(Pane pane, const std::string& path, const std::vector<std::string>& entries) {
        session.ShowFolder(pane, path);
        Listed(entries);
    }

    void Listed(const std::vector<std::string>& entries) {
        std::string reply = "ls\r\ntotal 1\r\n";
        for (const std::string& entry : entries) {
            reply += entry + "\r\n";
        }
        Reply(reply);
        ASSERT_THAT(channel.sent.back(), ::testing::StartsWith("df -k "));
        Reply(std::string("df\r\n") + kDfHeader +
              "/dev/sda1 931500000 1 500000 1% /var/media/x\r\n");
    }

    // The box's answer to the command that went out last, after the prompts
    // for the lines that built it up.
    void Reply(const std::string& lines) {
        while (!channel.sent.empty() && PreparesCommand(channel.sent.back())) {
            session.TelnetDataAvailable("box# ");
        }
        session.TelnetDataAvailable(lines + "box# ");
    }

    void Select(Pane pane, const std::vector<std::string>& captions) {
        window.View(pane).selection.clear();
        for (const std::string& caption : captions) {
            ASSERT_TRUE(window.AddToSelection(pane, caption)) << caption;
        }
    }
};

TEST_F(TidyControllerTest, RefusalsSendNothing) {
    const struct {
        std::function<void()> operation;
        std::string refusal;
    } cases[] = {
        {[this] {
             tidy.Rename(Source, {"Kurz.ts", EntryKind::File, "4"}, "Serien");
         },
         "„Serien“ gibt es in diesem Ordner schon."},
        {[this] {
             tidy.Rename(Source, {"K?se.ts", EntryKind::File, "1"}, "Neu.ts");
         },
         "„K?se.ts“ passt auf der Box zu mehreren Einträgen; bitte zuerst einen davon anders "
         "benennen."},
        {[this] { tidy.MakeFolder(Destination, "Alt.ts"); },
         "„Alt.ts“ gibt es in diesem Ordner schon."},
        // A later entry's refusal stops the earlier ones too.
        {[this] {
             tidy.Remove(Source,
                         {{"Kurz.ts", EntryKind::File, "4"}, {"./", EntryKind::ThisFolder, ""}});
         },
         "Pfade mit „.“ oder „..“ werden nicht angefasst: hdd/Filme/./"},
        {[this] {
             Select(Source, {"Kurz.ts", "K?se.ts"});
             tidy.DeleteSelected(Source);
         },
         "„K?se.ts“ passt auf der Box zu mehreren Einträgen; bitte zuerst einen davon anders "
         "benennen."},
    };
    window.answerYes = true;
    for (const auto& c : cases) {
        try {
            c.operation();
            ADD_FAILURE() << "not refused: " << c.refusal;
        } catch (const Error& error) {
            EXPECT_EQ(error.what(), c.refusal);
        }
        EXPECT_THAT(channel.sent, IsEmpty()) << c.refusal;
        EXPECT_FALSE(tidy.Running());
    }
    EXPECT_THAT(window.questions, IsEmpty());  // refused before the question

    // While a copy runs, and while another operation runs.
    Select(Source, {"Kurz.ts"});
    copy.StartJob(TransferMode::Copy, Source);
    EXPECT_THROW(tidy.DeleteSelected(Source), Error);
    conversation.Drop();
    copy.ConnectionEnded();
    channel.sent.clear();
    tidy.MakeFolder(Source, "Neu");
    EXPECT_THROW(tidy.Remove(Source, {{"Kurz.ts", EntryKind::File, "4"}}), Error);
    // Nor does a copy start: it would plan against the listing before the change.
    copy.StartJob(TransferMode::Copy, Source);
    EXPECT_FALSE(copy.Running());
    EXPECT_THAT(channel.sent, ElementsAre("mkdir /var/media/hdd/Filme/Neu"));
}

TEST_F(TidyControllerTest, EachEntryIsRemovedOnItsOwnAndFailuresAreReported) {
    Select(Source, {"Kurz.ts", "Serien/", "Kase.ts"});
    window.answerYes = false;
    tidy.DeleteSelected(Source);
    EXPECT_THAT(window.questions,
                ElementsAre("3 Einträge löschen, davon 1 Ordner mit ihrem Inhalt (Dateien: 5 kB)?"
                            "\n„Kurz.ts“\n„Serien/“\n„Kase.ts“"));
    EXPECT_THAT(channel.sent, IsEmpty());

    window.answerYes = true;
    tidy.DeleteSelected(Source);
    EXPECT_THAT(channel.sent, ElementsAre("rm -rf /var/media/hdd/Filme/Kurz.ts"));
    EXPECT_TRUE(tidy.Running());
    Reply("rm\r\n");
    Reply("rm\r\nrm: can't remove '/var/media/hdd/Filme/Serien/a.ts': Read-only file system\r\n");
    Reply("rm -rf /var/media/hdd/Filme/Kase.ts\r\n");
    EXPECT_THAT(
        channel.sent,
        ElementsAre("rm -rf /var/media/hdd/Filme/Kurz.ts", "rm -rf /var/media/hdd/Filme/Serien/",
                    "rm -rf /var/media/hdd/Filme/Kase.ts", "ls -1Aps /var/media/hdd/Filme/"));
    EXPECT_EQ(window.statusTexts.back(), "Von 3 Einträgen wurde 1 nicht gelöscht");
    EXPECT_THAT(window.messages,
                ElementsAre("Von 3 Einträgen wurde 1 nicht gelöscht:\nSerien: rm: can't remove "
                            "'/var/media/hdd/Filme/Serien/a.ts': Read-only file system"));
    EXPECT_EQ(tidy.LastReport().done, 2u);
    Listed({"1280 Konzert.ts", "4 Konzert.crid", "0 Serien/"});
    EXPECT_FALSE(tidy.Running());

    // One file, its info file along.
    window.messages.clear();
    channel.sent.clear();
    Select(Source, {"Konzert.ts"});
    tidy.DeleteSelected(Source);
    EXPECT_EQ(window.questions.back(), "„Konzert.ts“ löschen?\nDie Infodatei wird mitgelöscht.");
    Reply("rm\r\n");
    Reply("rm\r\n");
    EXPECT_THAT(channel.sent, ElementsAre("rm -rf /var/media/hdd/Filme/Konzert.ts",
                                          "rm -rf /var/media/hdd/Filme/Konzert.crid",
                                          "ls -1Aps /var/media/hdd/Filme/"));
    EXPECT_EQ(window.statusTexts.back(), "2 Einträge gelöscht");
    EXPECT_THAT(window.messages, IsEmpty());
}

// A recording's info file is renamed with it unless the new one exists.
TEST_F(TidyControllerTest, RenamedEntriesAreSelectedOnceListedAgain) {
    const struct {
        std::string caption, newName;
        std::vector<std::string> sent;
        std::vector<std::string> after;
        std::string selected;
    } cases[] = {
        {"Konzert.ts",
         "Live 2026.ts",
         {"mv /var/media/hdd/Filme/Konzert.ts \"/var/media/hdd/Filme/Live 2026.ts\"",
          "mv /var/media/hdd/Filme/Konzert.crid \"/var/media/hdd/Filme/Live 2026.crid\""},
         {"1280 Live 2026.ts", "4 Live 2026.crid", "4 Kurz.ts", "0 Serien/"},
         "Live 2026.ts"},
        {"Kurz.ts",
         "Konzert2.ts",
         {"mv /var/media/hdd/Filme/Kurz.ts /var/media/hdd/Filme/Konzert2.ts"},
         {"1280 Konzert.ts", "4 Konzert.crid", "4 Konzert2.ts", "0 Serien/"},
         "Konzert2.ts"},
        {"Serien/",
         "Serien $alt",
         {"mv /var/media/hdd/Filme/Serien \"/var/media/hdd/Filme/Serien \\$alt\""},
         {"1280 Konzert.ts", "4 Konzert.crid", "4 Kurz.ts", "0 Serien $alt/"},
         "Serien $alt/"},
    };
    for (const auto& c : cases) {
        channel.sent.clear();
        ASSERT_TRUE(window.SelectEntry(Source, c.caption));
        window.names = {c.newName};
        tidy.RenameCurrent(Source);
        for (std::size_t i = 0; i < c.sent.size(); ++i) {
            Reply("mv\r\n");
        }
        EXPECT_EQ(channel.sent.back(), "ls -1Aps /var/media/hdd/Filme/");
        channel.sent.pop_back();
        EXPECT_EQ(channel.sent, c.sent) << c.newName;
        Listed(c.after);
        EXPECT_THAT(window.messages, IsEmpty()) << c.newName;
        const auto& view = window.View(Source);
        ASSERT_TRUE(view.selectedEntry);
        EXPECT_EQ((*view.entries)[*view.selectedEntry].caption, c.selected);
        List(Source, "hdd/Filme/", kFilme);
    }

    // An info file the new name has already stays; so does Konzert.crid.
    List(Source, "hdd/Filme/", {"1280 Konzert.ts", "4 Konzert.crid", "4 Neu.crid"});
    channel.sent.clear();
    tidy.Rename(Source, {"Konzert.ts", EntryKind::File, "1280"}, "Neu.ts");
    Reply("mv\r\n");
    EXPECT_THAT(channel.sent,
                ElementsAre("mv /var/media/hdd/Filme/Konzert.ts /var/media/hdd/Filme/Neu.ts",
                            "ls -1Aps /var/media/hdd/Filme/"));
    Listed({"1280 Neu.ts", "4 Konzert.crid", "4 Neu.crid", "4 Kurz.ts"});
    EXPECT_EQ(window.statusTexts.back(), "„Konzert.ts“ heißt jetzt „Neu.ts“");

    // Cancelled or unchanged: nothing.
    channel.sent.clear();
    window.names = {std::nullopt, "Kurz.ts"};
    for (int i = 0; i < 2; ++i) {
        ASSERT_TRUE(window.SelectEntry(Source, "Kurz.ts"));
        tidy.RenameCurrent(Source);
    }
    EXPECT_THAT(channel.sent, IsEmpty());
}

TEST_F(TidyControllerTest, ANewFolderIsMadeAndSelected) {
    window.names = {"Neuer Ordner"};
    tidy.NewFolder(Destination);
    EXPECT_EQ(window.questions.back(), "Name des neuen Ordners:");
    EXPECT_THAT(channel.sent, ElementsAre("mkdir \"/var/media/usb/Neuer Ordner\""));
    Reply("mkdir\r\n");
    EXPECT_TRUE(tidy.Running());  // until the listing shows it
    Listed({"0 Neuer Ordner/", "4 Alt.ts"});
    EXPECT_EQ(window.statusTexts.back(), "Ordner „Neuer Ordner“ angelegt");
    EXPECT_EQ(window.SelectedEntry(Destination)->caption, "Neuer Ordner/");

    // An ls that cannot show "ä" prints a "?" for each of its bytes.
    window.names = {"Wälder"};
    tidy.NewFolder(Destination);
    Reply("mkdir\r\n");
    Listed({"0 W??lder/", "0 Neuer Ordner/", "4 Alt.ts"});
    EXPECT_EQ(window.SelectedEntry(Destination)->caption, "W??lder/");
    EXPECT_THAT(window.messages, IsEmpty());
}

// mkdir and mv say nothing when the box makes another name of the one asked
// for (a line that loses the 8th bit turns "ü" into "C<"); the listing that
// follows tells.
TEST_F(TidyControllerTest, AChangeIsDoneOnlyWhenTheListingShowsTheNewName) {
    const std::vector<std::string> before = {"1280 Konzert.ts", "4 Konzert.crid", "0 M??ll/",
                                             "4 Kurz.ts"};
    const struct {
        std::function<void()> operation;
        std::vector<std::string> after;
        std::string status;
        std::string message;  // empty: done
    } cases[] = {
        {[this] { tidy.MakeFolder(Source, "Müll"); },
         {"0 MC<ll/", "0 M??ll/", "1280 Konzert.ts", "4 Konzert.crid", "4 Kurz.ts"},
         "Ordner „Müll“ wurde nicht angelegt",
         "Der Ordner „Müll“ wurde nicht angelegt; die Box zeigt „MC<ll“."},
        // The "M??ll" listed before is another folder, not the new one.
        {[this] { tidy.MakeFolder(Source, "Müll"); }, before, "Ordner „Müll“ wurde nicht angelegt",
         "Der Ordner „Müll“ wurde nicht angelegt; die Box zeigt keinen neuen Eintrag."},
        {[this] { tidy.MakeFolder(Source, "Mäll"); },
         {"0 M??ll/", "0 M??ll/", "1280 Konzert.ts", "4 Konzert.crid", "4 Kurz.ts"},
         "Ordner „Mäll“ angelegt",
         ""},
        {[this] {
             tidy.Rename(Source, {"Konzert.ts", EntryKind::File, "1280"}, "Grüße.ts");
         },
         {"1280 GrC<C?e.ts", "4 GrC<C?e.crid", "0 M??ll/", "4 Kurz.ts"},
         "„Konzert.ts“ wurde nicht umbenannt",
         "„Konzert.ts“ wurde nicht in „Grüße.ts“ umbenannt; die Box zeigt „GrC<C?e.ts“.\n"
         "„Konzert.crid“ wurde nicht in „Grüße.crid“ umbenannt; die Box zeigt „GrC<C?e.crid“."},
        // The listed form of the new name is the old one's: the box shows it all the same.
        {[this] {
             tidy.Rename(Source, {"Kurz.ts", EntryKind::File, "4"}, "Kur\xe4.ts");
         },
         {"1280 Konzert.ts", "4 Konzert.crid", "0 M??ll/", "4 Kur?.ts"},
         "„Kurz.ts“ heißt jetzt „Kur\xe4.ts“",
         ""},
    };
    for (const auto& c : cases) {
        List(Source, "hdd/Filme/", before);
        window.messages.clear();
        c.operation();
        Reply("box\r\n");
        if (tidy.Running() && !channel.sent.back().starts_with("ls ")) {
            Reply("mv\r\n");  // the info file's
        }
        Listed(c.after);
        EXPECT_FALSE(tidy.Running());
        EXPECT_EQ(window.statusTexts.back(), c.status);
        if (c.message.empty()) {
            EXPECT_THAT(window.messages, IsEmpty()) << c.status;
            EXPECT_EQ(tidy.LastReport().done, tidy.LastReport().entries);
        } else {
            EXPECT_THAT(window.messages, ElementsAre(c.message));
            EXPECT_EQ(tidy.LastReport().done, 0u);
        }
    }
}

TEST_F(TidyControllerTest, FreeSpaceFollowsEveryListing) {
    EXPECT_EQ(window.View(Source).freeSpace, "frei: 488,3 MB");
    EXPECT_EQ(tidy.FreeSpace(Destination)->totalKB, 931500000);

    // A pane's df that waits for its turn gives way to a newer one.
    session.Refresh(Destination);
    tidy.ReadFreeSpace(Source, "hdd/");
    tidy.ReadFreeSpace(Source, "hdd/Filme/");
    EXPECT_TRUE(tidy.Running());
    Reply("ls\r\ntotal 0\r\n");
    EXPECT_THAT(channel.sent,
                ElementsAre("ls -1Aps /var/media/usb/", "df -k /var/media/hdd/Filme/"));
    Reply(std::string("df\r\n") + kDfHeader + "/dev/sda1 931500000 1 222822400 1% /x\r\n");
    EXPECT_EQ(window.View(Source).freeSpace, "frei: 212,5 GB");
    EXPECT_EQ(channel.sent.back(), "df -k /var/media/usb/");
    Reply("df\r\ndf: /var/media/usb/: No such file or directory\r\n");
    EXPECT_EQ(window.View(Destination).freeSpace, "");
    EXPECT_FALSE(tidy.FreeSpace(Destination));
    EXPECT_FALSE(tidy.Running());

    // Gone with the connection.
    window.connectImage = 1;
    session.ConnectionLost();
    EXPECT_EQ(window.View(Source).freeSpace, "");
    EXPECT_FALSE(tidy.FreeSpace(Source));
}

TEST_F(TidyControllerTest, PropertiesFromTheRepliesOfBothShells) {
    constexpr char kBusyboxDf[] =
        "df\r\nFilesystem           1K-blocks      Used Available Use% Mounted on\r\n"
        "/dev/sda1            976762584 753940184 222822400  78% /var/media/hdd\r\n";
    const struct {
        std::string caption;
        std::vector<std::string> replies;
        std::string text;
    } cases[] = {
        {"Konzert.ts",
         {"stat\r\n  File: /var/media/hdd/Filme/Konzert.ts\r\n  Size: 1310720   \tBlocks: 2560    "
          "   IO Block: 4096   regular file\r\nDevice: 254,0\tInode: 7    Links: 1\r\n"
          "Modify: 2026-12-09 07:27:11.584402811 +0000\r\nChange: 2026-12-09 07:27:11.5 +0000\r\n",
          kBusyboxDf},
         "Name: Konzert.ts\nOrt: hdd/Filme/\nGröße: 1.310.720 Bytes (1,3 MB)\nGeändert: 09.12.2026 "
         "07:27:11\nLaufwerk hdd/: 212,5 GB frei von 931,5 GB"},
        {"Serien/",
         {"stat\r\n  File: /var/media/hdd/Filme/Serien/\r\n  Size: 4096      \tBlocks: 8    "
          "directory\r\nDevice: fe00h/65024d\tInode: 9    Links: 2\r\n"
          "Modify: 2026-01-31 23:59:59.000000000 +0100\r\n",
          "du\r\n3456789\t/var/media/hdd/Filme/Serien/\r\n      12\r\n", kBusyboxDf},
         "Name: Serien\nOrt: hdd/Filme/\nInhalt: 12 Dateien, 3.456.789 Bytes (3,3 MB)\nGeändert: "
         "31.01.2026 23:59:59\nLaufwerk hdd/: 212,5 GB frei von 931,5 GB"},
        {"./",
         {"stat\r\nstat: cannot statx '/var/media/hdd/Filme/': Permission denied\r\n",
          "du\r\ndu: cannot read directory '/var/media/hdd/Filme/': Permission denied\r\n",
          "df\r\n"},
         "Name: Filme\nOrt: hdd/\nstat: cannot statx '/var/media/hdd/Filme/': Permission "
         "denied\ndu: cannot read directory '/var/media/hdd/Filme/': Permission denied\nDer freie "
         "Platz ist unbekannt."},
    };
    for (const auto& c : cases) {
        channel.sent.clear();
        ASSERT_TRUE(window.SelectEntry(Source, c.caption));
        tidy.ShowProperties(Source);
        for (const std::string& reply : c.replies) {
            Reply(reply);
        }
        EXPECT_EQ(channel.sent.size(), c.replies.size()) << c.caption;
        EXPECT_EQ(channel.sent.back(), "df -k /var/media/hdd/Filme/");
        ASSERT_TRUE(window.properties);
        EXPECT_EQ(window.properties->title, "Eigenschaften");
        EXPECT_EQ(window.properties->text, c.text);
        EXPECT_FALSE(tidy.Running());
    }
}

}  // namespace
}  // namespace olmira
