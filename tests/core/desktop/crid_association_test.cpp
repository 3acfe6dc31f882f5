#include "desktop/crid_association.h"

#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <array>
#include <cstdio>
#include <filesystem>
#include <map>
#include <memory>

#include "error.h"
#include "fake_environment.h"
#include "temp_folder.h"

namespace olmira {
namespace {

using test_support::TempFolder;
using ::testing::HasSubstr;

using test_support::FakeEnvironment;

std::string ShellQuoted(const std::string& text) {
    std::string quoted = "'";
    for (const char c : text) {
        quoted += c == '\'' ? std::string("'\\''") : std::string(1, c);
    }
    return quoted + "'";
}

// Runs a command line and gives its standard output without the last
// newline.
std::string Output(const std::string& command) {
    struct Closer {
        void operator()(FILE* pipe) const { ::pclose(pipe); }
    };
    const std::unique_ptr<FILE, Closer> pipe(::popen(command.c_str(), "r"));
    if (!pipe) {
        return "(no pipe)";
    }
    std::string output;
    std::array<char, 256> buffer{};
    while (const std::size_t got = std::fread(buffer.data(), 1, buffer.size(), pipe.get())) {
        output.append(buffer.data(), got);
    }
    if (output.ends_with('\n')) {
        output.pop_back();
    }
    return output;
}

// xdg-mime in a clean environment: no desktop to detect, only the test's
// XDG homes.
std::string XdgMime(const TempFolder& home, const std::string& arguments) {
    return Output("env -i PATH=/usr/local/bin:/usr/bin:/bin HOME=" + ShellQuoted(home.Path()) +
                  " XDG_DATA_HOME=" + ShellQuoted(home.File("data")) + " XDG_CONFIG_HOME=" +
                  ShellQuoted(home.File("config")) + " xdg-mime " + arguments + " 2>/dev/null");
}

std::string ErrorOf(const std::function<void()>& action) {
    try {
        action();
    } catch (const Error& error) {
        return error.what();
    }
    return "(no error)";
}

TEST(CridAssociation, XdgHomesFollowTheVariablesElseHome) {
    EXPECT_EQ(XdgDataHome(FakeEnvironment({{"XDG_DATA_HOME", "/d/"}, {"HOME", "/h"}})), "/d");
    EXPECT_EQ(XdgDataHome(FakeEnvironment({{"XDG_DATA_HOME", "rel"}, {"HOME", "/h/"}})),
              "/h/.local/share");
    EXPECT_EQ(XdgConfigHome(FakeEnvironment({{"HOME", "/h"}})), "/h/.config");
    EXPECT_EQ(XdgConfigHome(FakeEnvironment({})), "");
}

TEST(CridAssociation, TheDesktopEntryRunsPelvarWithEditAndTheFile) {
    const std::string entry = PelvarDesktopEntry("/opt/olmirafm");
    EXPECT_THAT(entry, HasSubstr("\nExec=\"/opt/olmirafm/pelvar\" edit %f\n"));
    EXPECT_THAT(entry, HasSubstr("\nMimeType=application/x-olmira-crid;\n"));
    EXPECT_THAT(entry, HasSubstr("\nType=Application\n"));
    EXPECT_TRUE(entry.starts_with("[Desktop Entry]\n"));
    EXPECT_THAT(PelvarDesktopEntry("/"), HasSubstr("Exec=\"/pelvar\" edit %f\n"));
}

TEST(CridAssociation, ExecArgumentsEscapeWhatTheDesktopEntryRulesReserve) {
    const std::pair<const char*, const char*> cases[] = {
        {"/opt/my prog/pelvar", "\"/opt/my prog/pelvar\""},
        {"/a\"b", "\"/a\\\\\"b\""},
        {"/a$b`c", "\"/a\\\\$b\\\\`c\""},
        {"/a\\b", "\"/a\\\\\\\\b\""},
        {"/100%/p", "\"/100%%/p\""},
    };
    for (const auto& [path, expected] : cases) {
        EXPECT_EQ(DesktopExecArgument(path), expected) << path;
    }
}

TEST(CridAssociation, TheDefaultApplicationIsSetAndEveryOtherLineKept) {
    const std::string id = "olmirafm-pelvar.desktop";
    const std::string type = "application/x-olmira-crid";
    const std::pair<std::string, std::string> cases[] = {
        {"", "[Default Applications]\napplication/x-olmira-crid=olmirafm-pelvar.desktop\n"},
        {"[Added Associations]\ntext/plain=a.desktop;\n",
         "[Added Associations]\ntext/plain=a.desktop;\n"
         "[Default Applications]\napplication/x-olmira-crid=olmirafm-pelvar.desktop\n"},
        {"# mine\n[Default Applications]\ntext/plain=a.desktop\n\n[Added Associations]\nx=y\n",
         "# mine\n[Default Applications]\ntext/plain=a.desktop\n"
         "application/x-olmira-crid=olmirafm-pelvar.desktop\n\n[Added Associations]\nx=y\n"},
        {"[Default Applications]\r\ntext/plain=a.desktop\r\napplication/x-olmira-crid = old\r\n"
         "image/png=b.desktop\r\n",
         "[Default Applications]\r\ntext/plain=a.desktop\r\n"
         "application/x-olmira-crid=olmirafm-pelvar.desktop\r\nimage/png=b.desktop\r\n"},
        {"[Default Applications]\ntext/plain=a.desktop",
         "[Default Applications]\ntext/plain=a.desktop\n"
         "application/x-olmira-crid=olmirafm-pelvar.desktop\n"},
        {"[Default Applications]",
         "[Default Applications]\n"
         "application/x-olmira-crid=olmirafm-pelvar.desktop\n"},
        {"[Other]\napplication/x-olmira-crid=keep.desktop",
         "[Other]\napplication/x-olmira-crid=keep.desktop\n"
         "[Default Applications]\napplication/x-olmira-crid=olmirafm-pelvar.desktop\n"},
    };
    for (const auto& [before, after] : cases) {
        EXPECT_EQ(WithDefaultApplication(before, type, id), after) << before;
    }
}

class Registration : public ::testing::Test {
protected:
    EnvironmentLookup Environment() const {
        return FakeEnvironment({{"XDG_DATA_HOME", home_.File("data")},
                                {"XDG_CONFIG_HOME", home_.File("config")},
                                {"HOME", home_.Path()}});
    }
    void Register() const { RegisterCridFileType(program_.Path(), Environment()); }

    TempFolder home_;
    TempFolder program_;
};

TEST_F(Registration, ACridFileResolvesToTheEditorsDesktopEntryWithTheRealXdgMime) {
    std::filesystem::create_directories(home_.File("config"));
    home_.Write("config/mimeapps.list",
                "# kept\n[Default Applications]\ntext/plain=gedit.desktop\n");
    Register();

    home_.Write("aufnahme.crid", "<crid/>\n");
    EXPECT_EQ(XdgMime(home_, "query filetype " + ShellQuoted(home_.File("aufnahme.crid"))),
              "application/x-olmira-crid");
    EXPECT_EQ(XdgMime(home_, "query default application/x-olmira-crid"), "olmirafm-pelvar.desktop");
    EXPECT_EQ(home_.Read("config/mimeapps.list"),
              "# kept\n[Default Applications]\ntext/plain=gedit.desktop\n"
              "application/x-olmira-crid=olmirafm-pelvar.desktop\n");
    EXPECT_THAT(home_.Read("data/applications/olmirafm-pelvar.desktop"),
                HasSubstr("Exec=\"" + program_.Path() + "/pelvar\" edit %f\n"));
    EXPECT_TRUE(std::filesystem::exists(home_.File("data/mime/mime.cache")));
}

TEST_F(Registration, ASecondRegistrationOverwritesWithoutDuplicates) {
    Register();
    Register();
    EXPECT_EQ(home_.Read("config/mimeapps.list"),
              "[Default Applications]\napplication/x-olmira-crid=olmirafm-pelvar.desktop\n");
    EXPECT_EQ(home_.Read("data/mime/packages/olmirafm-crid.xml"), CridMimePackage());
}

TEST_F(Registration, AFolderThatCannotBeCreatedIsNamedInTheError) {
    home_.Write("data", "a file where the folder should be");
    EXPECT_EQ(ErrorOf([this] { Register(); }),
              "Erzeugung von Schlüssel " + home_.File("data") + "/mime/packages/ misslungen");
    EXPECT_FALSE(std::filesystem::exists(home_.File("config")));
}

// /proc takes no new files, not even from root.
TEST_F(Registration, AFileThatCannotBeCreatedIsNamedInTheError) {
    std::filesystem::create_directories(home_.File("data"));
    std::filesystem::create_directory_symlink("/proc", home_.File("data/applications"));
    EXPECT_EQ(ErrorOf([this] { Register(); }),
              "Erzeugung von Schlüssel " + home_.File("data/applications/olmirafm-pelvar.desktop") +
                  " misslungen");
    EXPECT_FALSE(std::filesystem::exists(home_.File("config/mimeapps.list")));
}

TEST_F(Registration, AnExistingFileThatCannotBeReplacedKeepsItsValue) {
    std::filesystem::create_directories(home_.File("data/applications/olmirafm-pelvar.desktop"));
    home_.Write("data/applications/olmirafm-pelvar.desktop/inside", "x");
    EXPECT_EQ(ErrorOf([this] { Register(); }), "Konnte Daten für 'Exec' nicht setzen");
    EXPECT_FALSE(std::filesystem::exists(home_.File("config/mimeapps.list")));
}

TEST_F(Registration, AMimeappsListThatCannotBeReadIsNotReplaced) {
    std::filesystem::create_directories(home_.File("config/mimeapps.list"));
    EXPECT_EQ(ErrorOf([this] { Register(); }),
              "Konnte Daten für 'application/x-olmira-crid' nicht setzen");
    EXPECT_TRUE(std::filesystem::is_directory(home_.File("config/mimeapps.list")));
}

}  // namespace
}  // namespace olmira
