#include "settings/setup.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <filesystem>
#include <fstream>
#include <map>

#include "error.h"
#include "fake_environment.h"
#include "file_size_limit.h"
#include "temp_folder.h"

namespace olmira {
namespace {

using test_support::TempFolder;
using ::testing::ElementsAre;

using test_support::FakeEnvironment;

class SetupStore : public ::testing::Test {
protected:
    TSetup Load() {
        TSetup settings;
        EXPECT_EQ(LoadSetup(settings, place_), std::nullopt);
        return settings;
    }
    void WriteIniFile(const std::string& content) { folder_.Write("olmirafm.ini", content); }

    TempFolder folder_;
    SetupPlace place_{folder_.Path(), folder_.File("olmirafm.ini"),
                      FakeEnvironment({{"TEMP", "/var/tmp"}})};
};

TEST_F(SetupStore, WithoutFileEveryDefaultApplies) {
    const TSetup s = Load();
    EXPECT_EQ(s.ffmpeg, folder_.Path() + "/ffmpeg/");
    EXPECT_EQ(s.bbMPEG, folder_.Path() + "/bbMPEG/");
    EXPECT_EQ(s.temp, "/var/tmp/");
    EXPECT_EQ(s.epg_mapping, folder_.Path() + "/");
    EXPECT_THAT(
        (std::vector{s.PC1, s.PC2, s.PC3, s.PC4, s.PC5, s.USB, s.rec, s.rtemp, s.olmira_Host,
                     s.olmira_name, s.olmira_User, s.olmira_Pass, s.PromptMarker}),
        ::testing::Each(""));
    EXPECT_THAT((std::vector{s.maxSizeTS, s.maxSizePS, s.update_intervall, s.avg_transferrate,
                             s.progress_min_size}),
                ElementsAre(1000, 1950, 5000, 600, 6000));
    EXPECT_TRUE(s.EpgMappingLines.empty());
}

TEST(DefaultTempFolder, FallsBackFromTempToTmpdirToSlashTmp) {
    const std::pair<std::map<std::string, std::string>, std::string> cases[] = {
        {{{"TEMP", "/a"}, {"TMPDIR", "/b"}}, "/a/"},
        {{{"TEMP", "/a/"}}, "/a/"},
        {{{"TEMP", ""}, {"TMPDIR", "/b"}}, "/b/"},
        {{{"TMPDIR", "/b"}}, "/b/"},
        {{}, "/tmp/"},
    };
    for (const auto& [variables, expected] : cases) {
        EXPECT_EQ(DefaultTempFolder(FakeEnvironment(variables)), expected);
    }
}

TEST_F(SetupStore, ReadsEveryKeyByItsRules) {
    WriteIniFile(
        "[allgemein]\r\nPC1=\r\nPC2 = \"\\\\pc\\share\" \r\nPC5=P5\r\nusb=/media/usb\r\n"
        "rec=PC1/aufnahmen\r\nrtemp=PC1/temp\r\ntemp=/scratch/\r\nffmpeg=/opt/ff/\r\n"
        "[MPEG]\r\nmaxSizeTS=$10\r\nmaxSizePS=\r\n"
        "[NETWORK]\r\nolmira_host=192.168.0.9\r\nolmira_user=root\r\nolmira_pass='se cret'\r\n"
        "olmira_name=box\r\n"
        "[Transfer]\r\nupdate_intervall=0x3E8\r\navg_transferrate=abc\r\nprogress_min_size=-1\r\n");
    const TSetup s = Load();
    EXPECT_THAT((std::vector{s.PC1, s.PC2, s.PC3, s.PC5, s.USB, s.rec, s.rtemp, s.temp, s.ffmpeg}),
                ElementsAre("", "\\\\pc\\share", "", "P5", "/media/usb", "PC1/aufnahmen",
                            "PC1/temp", "/scratch/", "/opt/ff/"));
    EXPECT_THAT((std::vector{s.olmira_Host, s.olmira_User, s.olmira_Pass, s.olmira_name}),
                ElementsAre("192.168.0.9", "root", "se cret", "box"));
    EXPECT_THAT((std::vector{s.maxSizeTS, s.maxSizePS, s.update_intervall, s.avg_transferrate,
                             s.progress_min_size}),
                ElementsAre(16, 1950, 1000, 600, -1));
}

// A file from before SSH means Telnet on port 23; each way has its port.
TEST_F(SetupStore, TheWayInAndItsPortDefaultToTelnetOn23) {
    const struct {
        std::string lines;
        std::string protocol;
        std::int32_t port;
    } cases[] = {
        {"", "telnet", 23},
        {"olmira_Protocol=ssh\r\n", "ssh", 22},
        {"olmira_Protocol=SSH\r\nolmira_Port=2222\r\n", "ssh", 2222},
        {"olmira_Protocol=telnet\r\nolmira_Port=2323\r\n", "telnet", 2323},
        {"olmira_Protocol=rlogin\r\n", "telnet", 23},
        {"olmira_Protocol=ssh\r\nolmira_Port=70000\r\n", "ssh", 22},
    };
    for (const auto& c : cases) {
        WriteIniFile("[Network]\r\nolmira_Host=box\r\n" + c.lines);
        const TSetup s = Load();
        EXPECT_EQ(s.olmira_Protocol, c.protocol) << c.lines;
        EXPECT_EQ(s.olmira_Port, c.port) << c.lines;
    }
}

TEST_F(SetupStore, LoadStartsWithoutPromptMarker) {
    TSetup settings;
    settings.PromptMarker = "root@box:~";
    LoadSetup(settings, place_);
    EXPECT_EQ(settings.PromptMarker, "");
}

// Only what the dialog saves.
TSetup DialogValues(std::int32_t updateInterval, std::int32_t progressMinSize) {
    TSetup values;
    values.PC1 = "P1";
    values.USB = "U";
    values.temp = "/t/";
    values.rtemp = "PC1/temp";
    values.rec = "PC1/rec";
    values.olmira_name = "box";
    values.olmira_Host = "10.0.0.2";
    values.olmira_User = "root";
    values.olmira_Pass = "pw";
    values.update_intervall = updateInterval;
    values.progress_min_size = progressMinSize;
    return values;
}

TEST_F(SetupStore, WriteIniPutsNewKeysInItsOrderAndLoadFindsThem) {
    WriteIni(place_.IniPath, DialogValues(2000, 100));
    EXPECT_EQ(folder_.Read("olmirafm.ini"),
              "[Allgemein]\r\nPC1=P1\r\nUSB=U\r\ntemp=/t/\r\nrtemp=PC1/temp\r\nrec=PC1/rec\r\n"
              "[Network]\r\nolmira_name=box\r\nolmira_host=10.0.0.2\r\nolmira_user=root\r\n"
              "olmira_pass=pw\r\nolmira_Protocol=telnet\r\nolmira_Port=23\r\n"
              "[Transfer]\r\nupdate_intervall=2000\r\nprogress_min_size=100\r\nwith_crid=1\r\n"
              "background_jobs=0\r\n");
    const TSetup s = Load();
    EXPECT_THAT((std::vector{s.olmira_Host, s.olmira_User, s.olmira_Pass}),
                ElementsAre("10.0.0.2", "root", "pw"));
    EXPECT_EQ(s.update_intervall, 2000);
    EXPECT_EQ(s.progress_min_size, 100);
}

TEST_F(SetupStore, WriteIniOverAnOlderFileKeepsEmptyDrivePathsAndReplacesInPlace) {
    WriteIniFile(
        "[Allgemein]\r\nPC3=old3\r\nffmpeg=/ff/\r\n\r\n"
        "[Network]\r\nolmira_Host=1.1.1.1\r\nolmira_name=x\r\n; note\r\n");
    TSetup values = DialogValues(1000, 6000);
    values.olmira_Host = "";
    WriteIni(place_.IniPath, values);
    EXPECT_EQ(folder_.Read("olmirafm.ini"),
              "[Allgemein]\r\nPC3=old3\r\nffmpeg=/ff/\r\nPC1=P1\r\nUSB=U\r\ntemp=/t/\r\n"
              "rtemp=PC1/temp\r\nrec=PC1/rec\r\n\r\n"
              "[Network]\r\nolmira_host=\r\nolmira_name=box\r\n; note\r\nolmira_user=root\r\n"
              "olmira_pass=pw\r\nolmira_Protocol=telnet\r\nolmira_Port=23\r\n"
              "[Transfer]\r\nupdate_intervall=1000\r\nprogress_min_size=6000\r\nwith_crid="
              "1\r\nbackground_jobs=0\r\n");
    const TSetup s = Load();
    EXPECT_EQ(s.PC3, "old3");
    EXPECT_EQ(s.olmira_Host, "");
}

TEST_F(SetupStore, RefusedWriteIniSavesNoneOfTheValues) {
    WriteIniFile("[Allgemein]\r\nPC1=old\r\n");
    {
        // Room for the first two values alone.
        const test_support::FileSizeLimit limit(32);
        EXPECT_THAT([&] { WriteIni(place_.IniPath, DialogValues(1000, 6000)); },
                    ::testing::ThrowsMessage<Error>(::testing::StrEq(
                        "nach " + place_.IniPath + " kann nicht geschrieben werden")));
    }
    EXPECT_EQ(folder_.Read("olmirafm.ini"), "[Allgemein]\r\nPC1=old\r\n");
}

TEST_F(SetupStore, EpgMappingLinesKeepTheirTextsWhateverEndsThem) {
    folder_.Write("map.txt", "a=1\r\nb=2\nc=3\rd=4\r\n\r\n\xe4 last ");
    WriteIniFile("[Allgemein]\r\nepg_mapping=map.txt\r\n");
    const TSetup s = Load();
    EXPECT_EQ(s.epg_mapping, folder_.Path() + "/map.txt");
    EXPECT_THAT(s.EpgMappingLines, ElementsAre("a=1", "b=2", "c=3", "d=4", "", "\xe4 last "));
}

TEST_F(SetupStore, EpgMappingIsReadOnlyFromAFileBelowTheProgramFolder) {
    std::filesystem::create_directories(folder_.File("sub"));
    folder_.Write("sub/map.txt", "line");
    const std::pair<std::string, std::size_t> cases[] = {
        {"", 0},
        {"epg_mapping=\r\n", 0},
        {"epg_mapping=sub\r\n", 0},
        {"epg_mapping=missing.txt\r\n", 0},
        {"epg_mapping=/sub/map.txt\r\n", 1},
    };
    for (const auto& [entry, lines] : cases) {
        SCOPED_TRACE(entry);
        WriteIniFile("[Allgemein]\r\n" + entry);
        EXPECT_EQ(Load().EpgMappingLines.size(), lines);
    }
}

// Root reads files whatever their permissions; this kernel file refuses
// reading even to root.
TEST_F(SetupStore, UnreadableEpgFileIsReportedAndEverythingElseStillRead) {
    std::filesystem::create_symlink("/proc/sys/vm/drop_caches", folder_.File("map.txt"));
    if (std::ifstream(folder_.File("map.txt"))) {
        GTEST_SKIP() << "no unreadable file at hand";
    }
    WriteIniFile(
        "[Allgemein]\r\nepg_mapping=map.txt\r\nPC1=P1\r\n[Network]\r\nolmira_Host=box\r\n"
        "[Transfer]\r\nupdate_intervall=1000\r\n");
    TSetup s;
    EXPECT_EQ(LoadSetup(s, place_), "Datei " + folder_.Path() +
                                        "/map.txt kann nicht ge\xc3\xb6"
                                        "ffnet werden");
    EXPECT_EQ(s.PC1, "P1");
    EXPECT_EQ(s.olmira_Host, "box");
    EXPECT_EQ(s.update_intervall, 1000);
    EXPECT_EQ(s.progress_min_size, 6000);
    EXPECT_TRUE(s.EpgMappingLines.empty());
}

TEST(IniPath, StaysBesideTheProgramUnlessItsFolderCannotTakeIt) {
    struct Case {
        bool FolderTakesIni;
        std::map<std::string, std::string> Variables;
        std::string Expected;
    };
    const Case cases[] = {
        {true, {{"XDG_CONFIG_HOME", "/x"}}, "/opt/p/olmirafm.ini"},
        {false, {{"XDG_CONFIG_HOME", "/x"}, {"HOME", "/h"}}, "/x/olmirafm/olmirafm.ini"},
        {false, {{"XDG_CONFIG_HOME", "/x/"}}, "/x/olmirafm/olmirafm.ini"},
        {false, {{"XDG_CONFIG_HOME", "x"}, {"HOME", "/h"}}, "/h/.config/olmirafm/olmirafm.ini"},
        {false, {{"XDG_CONFIG_HOME", ""}, {"HOME", "/h"}}, "/h/.config/olmirafm/olmirafm.ini"},
        {false, {}, "/opt/p/olmirafm.ini"},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(ChooseIniPath("/opt/p", c.FolderTakesIni, FakeEnvironment(c.Variables)),
                  c.Expected);
    }
}

// Only the "folder holds the file" half of the probe is tested: access()
// lets root write everywhere except on a read-only mount.
TEST(IniPath, FileBesideTheProgramIsUsed) {
    const TempFolder folder;
    folder.Write("olmirafm.ini", "");
    EXPECT_EQ(IniPathFor(folder.Path(), FakeEnvironment({{"XDG_CONFIG_HOME", "/x"}})),
              folder.File("olmirafm.ini"));
}

TEST(ProgramFolder, IsTheFolderOfTheRunningExecutable) {
    EXPECT_TRUE(std::filesystem::exists(RunningProgramPlace().ProgramFolder + "/core_tests"));
    EXPECT_EQ(FolderOfFile("/usr/bin/olmirafm"), "/usr/bin");
    EXPECT_EQ(FolderOfFile("/olmirafm"), "/");
}

}  // namespace
}  // namespace olmira
