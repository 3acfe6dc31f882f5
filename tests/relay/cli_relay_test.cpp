// olmirafm-cli behind a relay that passes the box's output on a byte at a
// time: Telnet commands, prompts and listings reach the program split across
// receives, as over a slow link. Each run of the program is a login of its
// own, so a case takes as few runs as what it checks allows.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdlib>
#include <filesystem>
#include <fstream>
#include <string>

#include "../box/cli_on_the_box.h"
#include "file_bytes.h"

namespace {

namespace fs = std::filesystem;
using olmira::test_support::FileBytes;
using ::testing::ElementsAre;
using ::testing::IsSupersetOf;

class CliBehindRelay : public CliOnTheBox {
protected:
    void SetUp() override {
        CliOnTheBox::SetUp();
        const char* relay = std::getenv("SIMBOX_RELAY");
        ASSERT_STREQ(relay != nullptr ? relay : "", "1") << "a box without --relay 1";
    }

    fs::path Media() const { return Box().mediaPath; }
};

TEST_F(CliBehindRelay, PrintsTheDrivesAndListsAFolderWithSpacesAndANonAsciiName) {
    const fs::path onBox = Media() / "hdd" / "Neue Länder";
    fs::create_directories(onBox / "Teil 2");
    std::ofstream(onBox / "Käse im Glas.ts") << std::string(4096, 'x');

    const Outcome drives = Run("127.0.0.1", "drives");
    ASSERT_EQ(drives.status, 0) << drives.err;
    EXPECT_THAT(Lines(drives.out), IsSupersetOf({"hdd/", "usb/"}));

    const Outcome listing =
        Run("127.0.0.1", "ls " + ShellArgument("hdd/" + Box().Shown("Neue Länder")));
    EXPECT_EQ(listing.status, 0) << listing.err;
    EXPECT_THAT(Lines(listing.out),
                ElementsAre("./", "../", "Teil 2/", Box().Shown("Käse im Glas.ts") + "\t4"));
}

// The copy finds the file (a space and a non-ASCII letter in its name) in the
// listing of its folder and copies it into a folder with a space in its name,
// which is listed again afterwards.
TEST_F(CliBehindRelay, CopiesAFileByteForByte) {
    const fs::path source = Media() / "hdd" / "Dokus" / "Wälder im Herbst.ts";
    const Outcome outcome =
        Run("127.0.0.1", "cp " + ShellArgument("hdd/Dokus/" + Box().Shown("Wälder im Herbst.ts")) +
                             " " + ShellArgument("usb/Neue Aufnahmen"));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    const std::string copied =
        FileBytes(Media() / "usb" / "Neue Aufnahmen" / "Wälder im Herbst.ts");
    EXPECT_EQ(copied.size(), fs::file_size(source));
    EXPECT_TRUE(copied == FileBytes(source)) << "the copy differs from its source";
}

}  // namespace
