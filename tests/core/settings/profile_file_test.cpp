#include "settings/profile_file.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>
#include <sys/stat.h>

#include <climits>
#include <fstream>
#include <iterator>

#include "error.h"
#include "file_size_limit.h"
#include "temp_folder.h"

namespace olmira {
namespace {

using test_support::FileSizeLimit;
using test_support::TempFolder;
using ::testing::StrEq;
using ::testing::ThrowsMessage;

struct TextCase {
    const char* What;
    std::string Content;
    std::string Expected;
};

TEST(ProfileFileRead, TextsOfSectionAKeyK) {
    const TextCase cases[] = {
        {"blanks around the value go", "[A]\r\nk= \t\\\\pc\\box \t\r\n", "\\\\pc\\box"},
        {"one pair of double quotes goes", "[A]\nk= \"  x y  \" \n", "  x y  "},
        {"single quotes", "[A]\nk='x'\n", "x"},
        {"only one pair", "[A]\nk=\"\"x\"\"\n", "\"x\""},
        {"unmatched quotes stay", "[A]\nk=\"x'\n", "\"x'"},
        {"a lone quote stays", "[A]\nk=\"\n", "\""},
        {"nothing after = is empty, not the default", "[A]\nk=\n", ""},
        {"only blanks after =", "[A]\nk=   \n", ""},
        {"missing key", "[A]\nkk=1\n", "default"},
        {"missing section", "[B]\nk=1\n", "default"},
        {"a key of another section is not seen", "[B]\nk=1\n[A]\nj=2\n", "default"},
        {"a key before any section belongs to none", "k=1\n[A]\n", "default"},
        {"names ignore letter case", "[a]\nK=v\n", "v"},
        {"blanks around names", "  [ A ] ; note\n  k  =  v\n", "v"},
        {"first of two equal keys", "[A]\nk=1\nK=2\n", "1"},
        {"= inside the value", "[A]\nk=a=b\n", "a=b"},
        {"a header holding = is a header", "[A]\n[X=Y]\nk=1\n", "default"},
        {"CR, LF and CR LF all end lines", "[B]\rk=1\n[A]\r\nx=1\rk=v\ny=2", "v"},
        {"last line without an end", "[A]\r\nk=v", "v"},
        {"8-bit bytes are kept", "[A]\nk=\xe4\xf6\xfc\xdf\n", "\xe4\xf6\xfc\xdf"},
        {"NUL is a byte like any other", std::string("[A]\nk=a\0b\n", 10), std::string("a\0b", 3)},
    };
    for (const TextCase& c : cases) {
        SCOPED_TRACE(c.What);
        EXPECT_EQ(ProfileFile::FromText(c.Content).ReadString("A", "k", "default"), c.Expected);
    }
}

TEST(ProfileFileRead, LongValuesAreCutTo2047Bytes) {
    std::string value;
    for (int i = 0; i < 3000; ++i) {
        value += static_cast<char>('a' + i % 26);
    }
    const std::string expected = value.substr(0, 2047);
    EXPECT_EQ(ProfileFile::FromText("[A]\nk=" + value).ReadString("A", "k", ""), expected);
    EXPECT_EQ(ProfileFile::FromText("[A]\nk='" + value + "'").ReadString("A", "k", ""), expected);
}

TEST(ProfileFileRead, Integers) {
    const std::pair<std::string, std::int32_t> cases[] = {
        {"5000", 5000},
        {"0x1388", 5000},
        {"0X1388", 5000},
        {"$10", 16},
        {"$fF", 255},
        {"0", 0},
        {"-42", -42},
        {"+7", 7},
        {" '12' ", 12},
        {"2147483647", INT_MAX},
        {"-2147483648", INT_MIN},
        {"0x7fffffff", INT_MAX},
        // The default, 77, for everything that is no 32-bit number.
        {"", 77},
        {"abc", 77},
        {"12abc", 77},
        {"1 2", 77},
        {"0x", 77},
        {"0x-5", 77},
        {"$", 77},
        {"-$10", 77},
        {"--1", 77},
        {"2147483648", 77},
        {"-2147483649", 77},
        {"0x80000000", 77},
        {"$100000000", 77},
        {"99999999999999999999999", 77},
    };
    for (const auto& [text, expected] : cases) {
        SCOPED_TRACE(text);
        EXPECT_EQ(ProfileFile::FromText("[T]\nn=" + text + "\n").ReadInteger("t", "N", 77),
                  expected);
    }
}

struct WriteCase {
    const char* What;
    std::string Before;
    const char* Section;
    const char* Value;
    std::string After;
};

TEST(ProfileFileWrite, ChangesOnlyTheLinesItMust) {
    const WriteCase cases[] = {
        {"an existing key is replaced where it stands, by its new spelling",
         "[Network]\nolmira_Host=1.2.3.4\r\nx=1\n", "network", "5.6.7.8",
         "[Network]\nolmira_host=5.6.7.8\r\nx=1\n"},
        {"a new key goes after the section's last filled line",
         "; kept\r[A]\n  x = 1 \n\n[Network]\ny=2\n", "Network", "h",
         "; kept\r[A]\n  x = 1 \n\n[Network]\ny=2\nolmira_host=h\r\n"},
        {"blank lines before the next section stay behind the new key", "[Network]\nx=1\n\n\n[B]\n",
         "Network", "h", "[Network]\nx=1\nolmira_host=h\r\n\n\n[B]\n"},
        {"a missing section goes to the end", "[A]\nx=1\n", "Network", "h",
         "[A]\nx=1\n[Network]\r\nolmira_host=h\r\n"},
        {"an unended last line gets an end first", "[A]\nx=1", "Network", "h",
         "[A]\nx=1\r\n[Network]\r\nolmira_host=h\r\n"},
        {"also within the section", "[Network]\rx=1", "Network", "h",
         "[Network]\rx=1\r\nolmira_host=h\r\n"},
        {"an empty value", "[Network]\nolmira_host=old\n", "Network", "",
         "[Network]\nolmira_host=\r\n"},
        {"an empty file", "", "Network", "h", "[Network]\r\nolmira_host=h\r\n"},
    };
    for (const WriteCase& c : cases) {
        SCOPED_TRACE(c.What);
        ProfileFile profile = ProfileFile::FromText(c.Before);
        profile.WriteString(c.Section, "olmira_host", c.Value);
        EXPECT_EQ(profile.ToText(), c.After);
    }
}

TEST(ProfileFileWrite, UnchangedTextComesBackByteForByte) {
    const std::string text("\r\n[A]\n\tk = 'v' \r\r\n;x\0y\n[B\n  \n[C]", 32);
    EXPECT_EQ(ProfileFile::FromText(text).ToText(), text);
}

TEST(ProfileFileWrite, IntegersAreWrittenInDecimal) {
    ProfileFile profile = ProfileFile::FromText("");
    profile.WriteInteger("T", "n", INT_MIN);
    EXPECT_EQ(profile.ToText(), "[T]\r\nn=-2147483648\r\n");
}

class ProfileFileOnDisk : public ::testing::Test {
protected:
    static mode_t ModeOf(const std::string& path) {
        struct stat status {};
        ::stat(path.c_str(), &status);
        return status.st_mode & 07777;
    }
    static std::string WriteError(const std::string& path) {
        return "nach " + path + " kann nicht geschrieben werden";
    }

    TempFolder folder_;
    std::string ini_ = folder_.File("olmirafm.ini");
};

TEST_F(ProfileFileOnDisk, MissingFileGivesDefaultsAndIsCreatedForItsOwnerOnly) {
    EXPECT_EQ(ReadProfileString(ini_, "A", "k", "default"), "default");
    EXPECT_EQ(ReadProfileInteger(ini_, "T", "n", 7), 7);
    WriteProfileInteger(ini_, "T", "n", 5000);
    WriteProfileString(ini_, "A", "k", "v");
    EXPECT_EQ(folder_.Read("olmirafm.ini"), "[T]\r\nn=5000\r\n[A]\r\nk=v\r\n");
    EXPECT_EQ(ModeOf(ini_), 0600u);
    EXPECT_EQ(folder_.Names(), std::set<std::string>{"olmirafm.ini"});
}

TEST_F(ProfileFileOnDisk, ExistingFileKeepsItsMode) {
    folder_.Write("olmirafm.ini", "[A]\nk=1\n");
    ::chmod(ini_.c_str(), 0644);
    WriteProfileString(ini_, "A", "k", "2");
    EXPECT_EQ(ModeOf(ini_), 0644u);
}

TEST_F(ProfileFileOnDisk, ReaderOfTheOldFileKeepsSeeingItWhole) {
    folder_.Write("olmirafm.ini", "[A]\nk=old\n");
    std::ifstream reader(ini_, std::ios::binary);
    WriteProfileString(ini_, "A", "k", "new");
    EXPECT_EQ(std::string(std::istreambuf_iterator<char>(reader), {}), "[A]\nk=old\n");
    EXPECT_EQ(folder_.Read("olmirafm.ini"), "[A]\nk=new\r\n");
}

TEST_F(ProfileFileOnDisk, SymbolicLinkKeepsPointingAtTheUpdatedFile) {
    folder_.Write("real.ini", "[A]\nk=1\n");
    std::filesystem::create_symlink("real.ini", ini_);
    WriteProfileString(ini_, "A", "k", "2");
    EXPECT_TRUE(std::filesystem::is_symlink(ini_));
    EXPECT_EQ(folder_.Read("real.ini"), "[A]\nk=2\r\n");
}

TEST_F(ProfileFileOnDisk, MissingFoldersAreCreated) {
    const std::string nested = folder_.File("config/olmirafm/olmirafm.ini");
    WriteProfileString(nested, "A", "k", "v");
    EXPECT_EQ(ReadProfileString(nested, "A", "k", ""), "v");
}

// Root writes into any folder whatever its permissions, so the folder is made
// impossible instead: its parent is a file.
TEST_F(ProfileFileOnDisk, FolderThatCannotExistIsReported) {
    folder_.Write("file", "x");
    const std::string path = folder_.File("file/olmirafm.ini");
    EXPECT_THAT([&] { WriteProfileString(path, "A", "k", "v"); },
                ThrowsMessage<Error>(StrEq(WriteError(path))));
    EXPECT_EQ(folder_.Read("file"), "x");
}

TEST_F(ProfileFileOnDisk, WriteFailingHalfwayLeavesTheOldFileWholeAndNoTemporaryFile) {
    folder_.Write("olmirafm.ini", "[A]\nk=old\n");
    {
        const FileSizeLimit limit(16);
        EXPECT_THAT([&] { WriteProfileString(ini_, "A", "k", std::string(100, 'n')); },
                    ThrowsMessage<Error>(StrEq(WriteError(ini_))));
    }
    EXPECT_EQ(folder_.Read("olmirafm.ini"), "[A]\nk=old\n");
    EXPECT_EQ(folder_.Names(), std::set<std::string>{"olmirafm.ini"});
}

}  // namespace
}  // namespace olmira
