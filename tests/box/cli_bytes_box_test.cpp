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
using ::testing::ElementsAre;
using ::testing::ElementsAreArray;

const std::string kUmlauts =
    "Gr\xc3\xbc\xc3\x9f"
    "e";  // UTF-8
const std::string kLatin =
    "K\xe4"
    "se";  // Latin-1
// Without its eighth bits "â" is C and a double quote: the name would close
// the quotes around it and run what follows.
const std::string kCrafted = "X\xc3\xa2;cd tmp;touch pwned\xc3\xa2";

class CliBytesOnTheBox : public CliOnTheBox {
protected:
    void Recording(const fs::path& file, std::size_t bytes = 3000) {
        fs::create_directories(file.parent_path());
        std::ofstream(file, std::ios::binary) << std::string(bytes, 'r');
    }

    // What the box holds in place, by name.
    std::vector<std::string> Names(const fs::path& place) const {
        std::vector<std::string> names;
        for (const auto& entry : fs::directory_iterator(place)) {
            names.push_back(entry.path().filename().string());
        }
        std::sort(names.begin(), names.end());
        return names;
    }

    // Whether anything a crafted name could have run left a file behind:
    // the shell's working folder is / on busybox and /var/root on bash.
    bool SomethingRan() const {
        for (const fs::path place : {"/tmp", "/var/root", "/var/root/tmp"}) {
            std::error_code absent;
            for (const auto& entry : fs::directory_iterator(place, absent)) {
                if (entry.path().filename().string().starts_with("pwned")) {
                    return true;
                }
            }
        }
        return false;
    }
};

// Every name reaches the box as it was sent, whatever its bytes and however
// the box's telnetd and line editor treat bytes of 128 and above.
TEST_F(CliBytesOnTheBox, NamesReachTheBoxByteForByte) {
    const fs::path hdd = Media() / "hdd" / "Bytes";
    Recording(hdd / (kUmlauts + ".ts"));
    Recording(hdd / (kLatin + ".ts"));
    Recording(hdd / (kCrafted + ".ts"));
    Recording(hdd / "Umbenennen.ts");

    const Outcome made = Cli("mkdir", {"usb/M\xc3\xbcll " + kCrafted});
    EXPECT_EQ(made.status, 0) << made.err;
    const Outcome renamed = Cli("rename", {"hdd/Bytes/Umbenennen.ts", kUmlauts + " 2.ts"});
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    const Outcome stat = Cli("stat", {"hdd/Bytes/" + kCrafted + ".ts"});
    EXPECT_EQ(stat.status, 0) << stat.err;
    EXPECT_THAT(stat.out, ::testing::StartsWith("3000\t"));
    const Outcome copied =
        Cli("cp", {"hdd/Bytes/" + kUmlauts + ".ts", "hdd/Bytes/" + kCrafted + ".ts",
                   "usb/M\xc3\xbcll " + kCrafted});
    EXPECT_EQ(copied.status, 0) << copied.err;
    const Outcome moved = Cli("mv", {"hdd/Bytes/" + kLatin + ".ts", "usb/"});
    EXPECT_EQ(moved.status, 0) << moved.err;
    const Outcome removed = Cli("rm", {"hdd/Bytes/" + kCrafted + ".ts"});
    EXPECT_EQ(removed.status, 0) << removed.err;

    EXPECT_THAT(Names(hdd), ElementsAreArray({kUmlauts + " 2.ts", kUmlauts + ".ts"}));
    EXPECT_THAT(Names(Media() / "usb" / ("M\xc3\xbcll " + kCrafted)),
                ElementsAreArray({kUmlauts + ".ts", kCrafted + ".ts"}));
    EXPECT_EQ(FileBytes(Media() / "usb" / (kLatin + ".ts")), std::string(3000, 'r'));
    EXPECT_FALSE(SomethingRan());
}

// Series folders have long names: the echo of a listing spans more than a
// terminal line, and none of it may be taken for an entry.
TEST_F(CliBytesOnTheBox, FoldersWithLongNamesListExactlyTheirEntries) {
    for (const std::size_t length : {60u, 200u}) {
        SCOPED_TRACE(length);
        const std::string series = "Tatort " + std::string(length - 7, 'x');
        Recording(Media() / "hdd" / series / "Folge 1.ts", 4096);
        fs::create_directories(Media() / "hdd" / series / "Extras");
        const Outcome listed = Cli("ls", {"hdd/" + series + "/"});
        EXPECT_EQ(listed.status, 0) << listed.err;
        EXPECT_THAT(Lines(listed.out), ElementsAreArray({"./", "../", "Extras/", "Folge 1.ts\t4"}));
    }
}

// Names of 240 bytes two folders deep make lines longer than the box's line
// editor keeps; every command still reaches the box whole.
TEST_F(CliBytesOnTheBox, LongNamesInNestedFoldersWork) {
    const std::string a(240, 'a');
    const std::string b = "B" + std::string(238, 'b') + "\xc3\xa4";
    const std::string c = "C" + std::string(236, 'c') + ".ts";
    const std::string nested = a + "/" + b + "/";
    Recording(Media() / "hdd" / a / b / c);
    fs::create_directories(Media() / "usb" / a / b);

    const Outcome listed = Cli("ls", {"hdd/" + nested});
    EXPECT_THAT(Lines(listed.out), ElementsAre("./", "../", c + "\t4")) << listed.err;
    const Outcome copied = Cli("cp", {"hdd/" + nested + c, "usb/" + nested});
    EXPECT_EQ(copied.status, 0) << copied.err;
    EXPECT_EQ(FileBytes(Media() / "usb" / a / b / c), std::string(3000, 'r'));
    const Outcome renamed = Cli("rename", {"usb/" + nested + c, "D" + c.substr(1)});
    EXPECT_EQ(renamed.status, 0) << renamed.err;
    const Outcome moved = Cli("mv", {"usb/" + nested + "D" + c.substr(1), "hdd/" + nested});
    EXPECT_EQ(moved.status, 0) << moved.err;
    EXPECT_THAT(Names(Media() / "hdd" / a / b), ElementsAreArray({c, "D" + c.substr(1)}));
    const Outcome removed = Cli("rm", {"hdd/" + nested + c});
    EXPECT_EQ(removed.status, 0) << removed.err;
    EXPECT_THAT(Names(Media() / "hdd" / a / b), ElementsAreArray({"D" + c.substr(1)}));
    EXPECT_TRUE(fs::is_empty(Media() / "usb" / a / b));
}

}  // namespace
