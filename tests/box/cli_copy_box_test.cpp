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

TEST_F(CliCopyOnTheBox, AnExistingNameIsOverwrittenOnlyWhenAsked) {
    std::ofstream(Media() / "usb" / "Nachrichten.ts") << "alt";
    EXPECT_NE(Copy("hdd/Nachrichten.ts", "usb").status, 0);
    EXPECT_EQ(FileBytes(Media() / "usb" / "Nachrichten.ts"), "alt");

    const Outcome outcome = Run("127.0.0.1", "cp --overwrite hdd/Nachrichten.ts usb");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(FileBytes(Media() / "usb" / "Nachrichten.ts"),
              FileBytes(Media() / "hdd" / "Nachrichten.ts"));
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
