#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>

#include <string>
#include "file_bytes.h"

#include "cli_on_the_box.h"

namespace {

namespace fs = std::filesystem;
using ::testing::HasSubstr;

using olmira::test_support::FileBytes;

class CliCopyOnTheBox : public CliOnTheBox {
protected:
    fs::path Media() const { return Box().mediaPath; }

    Outcome Copy(const std::string& source, const std::string& destFolder,
                 const std::string& extraIni = "") {
        return Run("127.0.0.1", "cp " + ShellArgument(source) + " " + ShellArgument(destFolder),
                   extraIni);
    }
};

// Quotes, "$", backquotes, ";", "*" and a byte the box shows as "?" reach cp
// as the real names; a folder comes along whole.
TEST_F(CliCopyOnTheBox, CopiesAwkwardNamesAndFoldersByteForByte) {
    const fs::path source = Media() / "hdd" / "Heikel";
    const std::string names[] = {"a \"b\" $c `d`;*.ts", "K\xe4se.ts"};
    fs::create_directories(source / "Ordner 'x'" / "innen");
    for (const std::string& name : names) {
        std::ofstream(source / name, std::ios::binary) << name << std::string(70000, '\x5a');
    }
    std::ofstream(source / "Ordner 'x'" / "innen" / "c.ts") << "inhalt";

    for (const char* item : {"a \"b\" $c `d`;*.ts", "K?se.ts", "Ordner 'x'"}) {
        const Outcome outcome = Copy(std::string("hdd/Heikel/") + item, "usb/");
        EXPECT_EQ(outcome.status, 0) << item << ": " << outcome.err;
    }
    for (const std::string& name : names) {
        EXPECT_EQ(FileBytes(Media() / "usb" / name), FileBytes(source / name)) << name;
    }
    EXPECT_EQ(FileBytes(Media() / "usb" / "Ordner 'x'" / "innen" / "c.ts"), "inhalt");
}

// Refused before anything starts; cp's own failures are in cli_job_box_test.cpp.
TEST_F(CliCopyOnTheBox, AFolderIsNotCopiedIntoItself) {
    const Outcome outcome = Copy("hdd/Filme", "hdd/Filme/Serien");
    EXPECT_NE(outcome.status, 0);
    EXPECT_THAT(outcome.err,
                HasSubstr("Der Ordner hdd/Filme/ lässt sich nicht in sich selbst kopieren."));
    EXPECT_FALSE(std::filesystem::exists(Media() / "hdd" / "Filme" / "Serien" / "Filme"));
}

// The recording's info file goes with the recording's answer, unasked; one
// the destination holds without its recording is replaced.
TEST_F(CliCopyOnTheBox, AnExistingNameIsOverwrittenOnlyWhenAsked) {
    const fs::path usb = Media() / "usb";
    std::ofstream(usb / "Nachrichten.ts") << "alt";
    std::ofstream(usb / "Nachrichten.crid") << "alt";
    const Outcome refused = Copy("hdd/Nachrichten.ts", "usb");
    EXPECT_NE(refused.status, 0);
    EXPECT_THAT(refused.err, HasSubstr("Nachrichten.ts ist im Ziel schon vorhanden"));
    EXPECT_THAT(refused.err, ::testing::Not(HasSubstr("crid")));
    EXPECT_EQ(FileBytes(usb / "Nachrichten.ts"), "alt");
    EXPECT_EQ(FileBytes(usb / "Nachrichten.crid"), "alt");

    const Outcome outcome = Run("127.0.0.1", "cp --overwrite hdd/Nachrichten.ts usb");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    for (const char* name : {"Nachrichten.ts", "Nachrichten.crid"}) {
        EXPECT_EQ(FileBytes(usb / name), FileBytes(Media() / "hdd" / name)) << name;
    }

    fs::remove(usb / "Nachrichten.ts");
    std::ofstream(usb / "Nachrichten.crid") << "alt";
    const Outcome alone = Copy("hdd/Nachrichten.ts", "usb");
    EXPECT_EQ(alone.status, 0) << alone.err;
    EXPECT_EQ(FileBytes(usb / "Nachrichten.crid"), FileBytes(Media() / "hdd" / "Nachrichten.crid"));
}

TEST_F(CliCopyOnTheBox, ACopyWithAProgressWindowEndsWhenTheBoxIsDone) {
    const Outcome outcome =
        Copy("hdd/Filme/Spielfilm 1.ts", "usb/",
             "[Transfer]\r\nprogress_min_size=100\r\nupdate_intervall=1000\r\n");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(FileBytes(Media() / "usb" / "Spielfilm 1.ts"),
              FileBytes(Media() / "hdd" / "Filme" / "Spielfilm 1.ts"));
}

}  // namespace
