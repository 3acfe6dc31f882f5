#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include "cli_on_the_box.h"
#include "file_bytes.h"

namespace {

namespace fs = std::filesystem;
using olmira::test_support::FileBytes;

// Both boxes list the Latin-1 "Grüße" as "Gr??e": busybox has no locale,
// and to bash's UTF-8 these bytes are not characters.
const std::string kLatin =
    "Gr\xfc\xdf"
    "e";
const std::string kListed = "Gr??e";

class CliNamesOnTheBox : public CliOnTheBox {
protected:
    // A recording with its info file.
    void Record(const fs::path& where, const std::string& name) {
        fs::create_directories(where);
        std::ofstream(where / (name + ".ts"), std::ios::binary) << name << std::string(5000, 'x');
        std::ofstream(where / (name + ".crid"), std::ios::binary) << "crid " << name;
    }
};

// A script that takes names from elsewhere reaches them by their bytes; the
// form the listing shows works as before, folders along the path included.
TEST_F(CliNamesOnTheBox, ANameIsReachedByItsBytesAndByItsListedForm) {
    const fs::path hdd = Media() / "hdd" / "Latin";
    const fs::path usb = Media() / "usb" / ("Ordner " + kLatin);
    Record(hdd, kLatin);
    fs::create_directories(usb);
    const std::string recording = FileBytes(hdd / (kLatin + ".ts"));

    const Outcome byBytes = Cli("cp", {"hdd/Latin/" + kLatin + ".ts", "usb/Ordner " + kLatin});
    EXPECT_EQ(byBytes.status, 0) << byBytes.err;
    EXPECT_EQ(FileBytes(usb / (kLatin + ".ts")), recording);
    EXPECT_EQ(FileBytes(usb / (kLatin + ".crid")), "crid " + kLatin);

    const Outcome listed = Cli("cp", {"hdd/Latin/" + kListed + ".ts", "usb/"});
    EXPECT_EQ(listed.status, 0) << listed.err;
    EXPECT_EQ(FileBytes(Media() / "usb" / (kLatin + ".ts")), recording);
    EXPECT_TRUE(fs::exists(Media() / "usb" / (kLatin + ".crid")));

    // The target has it now, by whichever form it is named.
    const Outcome again = Cli("cp", {"hdd/Latin/" + kLatin + ".ts", "usb/"});
    EXPECT_EQ(again.status, 1);
    EXPECT_THAT(again.err, ::testing::HasSubstr("im Ziel schon vorhanden"));

    const Outcome stat = Cli("stat", {"hdd/Latin/" + kLatin + ".ts"});
    EXPECT_EQ(stat.status, 0) << stat.err;
    EXPECT_THAT(stat.out, ::testing::StartsWith(std::to_string(recording.size()) + "\t"));

    const Outcome renamed = Cli("rename", {"hdd/Latin/" + kLatin + ".ts", "Gruesse.ts"});
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    EXPECT_EQ(FileBytes(hdd / "Gruesse.ts"), recording);
    EXPECT_EQ(FileBytes(hdd / "Gruesse.crid"), "crid " + kLatin);
    EXPECT_FALSE(fs::exists(hdd / (kLatin + ".crid")));

    const Outcome removed =
        Cli("rm", {"usb/Ordner " + kListed + "/" + kLatin + ".ts", "usb/" + kListed + ".ts"});
    EXPECT_EQ(removed.status, 0) << removed.err;
    EXPECT_TRUE(fs::is_empty(usb));
    EXPECT_FALSE(fs::exists(Media() / "usb" / (kLatin + ".ts")));
    EXPECT_FALSE(fs::exists(Media() / "usb" / (kLatin + ".crid")));
}

// Two names the box shows alike: the bytes of one do not say which entry of
// the listing it is, and nothing is touched.
TEST_F(CliNamesOnTheBox, ANameTheBoxShowsLikeAnotherIsRefused) {
    const fs::path hdd = Media() / "hdd" / "Latin";
    const std::string other =
        "Gr\xf6\xdf"
        "e";
    Record(hdd, kLatin);
    Record(hdd, other);

    const Outcome removed = Cli("rm", {"hdd/Latin/" + kLatin + ".ts"});
    EXPECT_EQ(removed.status, 1);
    EXPECT_THAT(removed.err, ::testing::HasSubstr("passt auf der Box zu mehreren Einträgen"));
    for (const std::string& name : {kLatin, other}) {
        EXPECT_TRUE(fs::exists(hdd / (name + ".ts"))) << name;
        EXPECT_TRUE(fs::exists(hdd / (name + ".crid"))) << name;
    }
}

}  // namespace
