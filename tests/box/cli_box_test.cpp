#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>

#include "cli_on_the_box.h"

namespace {

using ::testing::Contains;
using ::testing::ElementsAre;
using ::testing::IsSupersetOf;

TEST_F(CliOnTheBox, PrintsTheDrivesAndLeavesTheShell) {
    const Outcome outcome = Run("127.0.0.1", "drives");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_THAT(Lines(outcome.out), IsSupersetOf({"hdd/", "usb/"}));
    EXPECT_THAT(olmira::test::BoxCommandsReceived(), ElementsAre("ls -1A /var/media", "exit"));
}

TEST_F(CliOnTheBox, ListsAFolderFoldersFirstWithFileSizes) {
    const std::filesystem::path folderOnBox =
        std::filesystem::path(Box().mediaPath) / "usb" / "Neu";
    std::filesystem::create_directories(folderOnBox / "Ordner mit Leerzeichen");
    std::ofstream(folderOnBox / "b.ts") << std::string(8192, 'x');
    std::ofstream(folderOnBox / "a $x.ts") << "x";

    const Outcome outcome = Run("127.0.0.1", "ls usb/Neu");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    const std::vector<std::string> lines = Lines(outcome.out);
    ASSERT_EQ(lines.size(), 5u) << outcome.out;
    EXPECT_EQ(lines[0], "./");
    EXPECT_EQ(lines[1], "../");
    EXPECT_EQ(lines[2], "Ordner mit Leerzeichen/");
    EXPECT_THAT(std::vector(lines.begin() + 3, lines.end()),
                ::testing::UnorderedElementsAre("a $x.ts\t4", "b.ts\t8"));
    EXPECT_THAT(olmira::test::BoxCommandsReceived(), Contains("ls -1Aps /var/media/usb/Neu/"));
}

// The box shows a byte it cannot print as "?"; the listing still finds the folder.
TEST_F(CliOnTheBox, ListsAFolderWhoseNameTheBoxCannotShow) {
    const std::filesystem::path folderOnBox =
        std::filesystem::path(Box().mediaPath) / "hdd" / "Gr\xfcn";
    std::filesystem::create_directories(folderOnBox);
    std::ofstream(folderOnBox / "K\xe4se.ts") << std::string(4096, 'x');

    const Outcome outcome = Run("127.0.0.1", "ls 'hdd/Gr?n/'");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_THAT(Lines(outcome.out), ElementsAre("./", "../", "K?se.ts\t4"));
}

// The box may show a name with "?" for what it cannot show; the folder must
// open all the same, through the name as the listing showed it.
TEST_F(CliOnTheBox, OpensAFolderAsTheListingShowsIt) {
    const std::filesystem::path drive = std::filesystem::path(Box().mediaPath) / "usb";
    std::filesystem::create_directories(drive / "Über");
    std::ofstream(drive / "Über" / "Käse.ts") << "x";

    const std::string shown = Box().Shown("Über/");
    ASSERT_THAT(Lines(Run("127.0.0.1", "ls usb").out), Contains(shown));
    const Outcome outcome = Run("127.0.0.1", "ls 'usb/" + shown + "'");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_THAT(Lines(outcome.out), Contains(Box().Shown("Käse.ts") + "\t4"));
}

TEST_F(CliOnTheBox, ReportsARefusedConnection) {
    const Outcome outcome = Run("127.0.0.2", "drives");
    EXPECT_NE(outcome.status, 0);
    EXPECT_EQ(outcome.err, "Socket Error # 10061\r\nConnection refused.\n");
}

TEST_F(CliOnTheBox, ReportsAWrongPasswordWithTheBoxsWords) {
    password = "falsch";
    const Outcome outcome = Run("127.0.0.1", "drives");
    EXPECT_NE(outcome.status, 0);
    EXPECT_EQ(outcome.err, "Die Anmeldung an der Box ist fehlgeschlagen: Login incorrect\n");
    EXPECT_EQ(outcome.out, "");
}

TEST_F(CliOnTheBox, ReportsAnUnknownHost) {
    const Outcome outcome = Run("no-such-host.invalid", "drives");
    EXPECT_NE(outcome.status, 0);
    EXPECT_EQ(outcome.err, "Socket Error # 11001\r\nHost not found.\n");
}

}  // namespace
