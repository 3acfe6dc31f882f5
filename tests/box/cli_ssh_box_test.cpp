// The console over SSH: the box's key asked about, kept and checked, the
// login by key or password, and the same work as over Telnet.
#include <gmock/gmock.h>
#include <gtest/gtest.h>

#include <cstdio>
#include <filesystem>
#include <fstream>
#include <string>

#include "cli_on_the_box.h"
#include "file_bytes.h"

namespace {

namespace fs = std::filesystem;
using ::testing::AllOf;
using ::testing::Contains;
using ::testing::HasSubstr;
using ::testing::IsEmpty;
using ::testing::IsSupersetOf;

constexpr const char* kOverSsh = "olmira_Protocol=ssh\r\n";

// "SHA256:..." of the keys in a public-key or known_hosts file, as
// ssh-keygen shows it.
std::string Fingerprint(const std::string& file) {
    const std::string command = "ssh-keygen -lf " + ShellArgument(file);
    FILE* pipe = ::popen(command.c_str(), "r");
    std::string out(512, '\0');
    out.resize(pipe != nullptr ? std::fread(out.data(), 1, out.size(), pipe) : 0);
    if (pipe != nullptr) {
        ::pclose(pipe);
    }
    const std::size_t start = out.find("SHA256:");
    return start == std::string::npos ? std::string()
                                      : out.substr(start, out.find(' ', start) - start);
}

// An empty home: no keys, no agent, unless a test puts one there.
class CliOverSsh : public CliOnTheBox {
protected:
    CliOverSsh() {
        fs::create_directories(folder.File("home"));
        environment = "HOME=" + ShellArgument(folder.File("home")) + " SSH_AUTH_SOCK= ";
    }

    Outcome Ssh(const std::string& arguments) { return Run("127.0.0.1", arguments, kOverSsh); }

    std::string KnownHosts() const { return folder.File("config/olmirafm/known_hosts"); }
};

TEST_F(CliOverSsh, AnUnknownKeyIsTrustedOnlyWhenToldThenTheWorkIsAsOverTelnet) {
    Outcome outcome = Ssh("drives");
    EXPECT_NE(outcome.status, 0);
    EXPECT_THAT(outcome.err, AllOf(HasSubstr("SHA256:"), HasSubstr("--trust-new-key")));
    EXPECT_FALSE(fs::exists(KnownHosts()));
    EXPECT_THAT(olmira::test::BoxCommandsReceived(), IsEmpty());

    outcome = Ssh("--trust-new-key drives");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_THAT(Lines(outcome.out), IsSupersetOf({"hdd/", "usb/"}));
    EXPECT_FALSE(Fingerprint(KnownHosts()).empty());

    // Known now: no flag needed. Names with blanks, quotes and "$".
    const fs::path source = Media() / "hdd" / "Heikel";
    fs::create_directories(source / "Ordner 'x'");
    std::ofstream(source / "a \"b\" $c.ts") << std::string(5000, 'x');
    std::ofstream(source / "Ordner 'x'" / "c.ts") << "inhalt";
    outcome = Ssh("ls hdd/Heikel");
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_THAT(Lines(outcome.out), Contains("a \"b\" $c.ts\t8"));

    outcome =
        Ssh("cp " + ShellArguments({"hdd/Heikel/a \"b\" $c.ts", "hdd/Heikel/Ordner 'x'", "usb/"}));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_EQ(olmira::test_support::FileBytes(Media() / "usb" / "Ordner 'x'" / "c.ts"), "inhalt");
    outcome = Ssh("mv " + ShellArguments({"usb/a \"b\" $c.ts", "usb/Ordner 'x'", "hdd/Leer/"}));
    ASSERT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_TRUE(fs::exists(Media() / "hdd" / "Leer" / "Ordner 'x'" / "c.ts"));
    EXPECT_FALSE(fs::exists(Media() / "usb" / "a \"b\" $c.ts"));
}

TEST_F(CliOverSsh, LogsInByKeyWithoutAPasswordAndNamesTheMethodsOfARefusal) {
    password = "falsch";
    Outcome outcome = Ssh("--trust-new-key drives");
    EXPECT_NE(outcome.status, 0);
    EXPECT_THAT(outcome.err,
                AllOf(HasSubstr("abgelehnt"), HasSubstr("Angeboten: Schlüssel, Passwort"),
                      HasSubstr("versucht: Schlüssel, Passwort")));

    password = "";
    const fs::path keys = fs::path(folder.File("home")) / ".ssh";
    fs::create_directories(keys);
    fs::copy_file(Box().sshKey, keys / "id_ed25519");
    fs::copy_file(Box().sshKey + ".pub", keys / "id_ed25519.pub");
    outcome = Ssh("drives");
    EXPECT_EQ(outcome.status, 0) << outcome.err;
    EXPECT_THAT(Lines(outcome.out), IsSupersetOf({"hdd/", "usb/"}));
}

// As if the box were another device: a key of another box stored for it.
TEST_F(CliOverSsh, AChangedKeyIsRefusedWithBothFingerprints) {
    ASSERT_EQ(Ssh("--trust-new-key drives").status, 0);
    const std::size_t received = olmira::test::BoxCommandsReceived().size();
    const std::string real = Fingerprint(KnownHosts());
    const std::string other = folder.File("anderer");
    ASSERT_EQ(std::system(("ssh-keygen -q -t ed25519 -N '' -f " + other).c_str()), 0);
    std::ifstream publicKey(other + ".pub");
    std::string type, key;
    publicKey >> type >> key;
    std::ofstream(KnownHosts()) << "127.0.0.1 " << type << " " << key << "\n";
    const std::string stored = Fingerprint(other + ".pub");

    for (const char* flag : {"", "--trust-new-key "}) {
        const Outcome outcome = Ssh(std::string(flag) + "drives");
        EXPECT_NE(outcome.status, 0) << flag;
        EXPECT_THAT(outcome.err, AllOf(HasSubstr(stored), HasSubstr(real))) << flag;
    }
    EXPECT_EQ(olmira::test::BoxCommandsReceived().size(), received);
}

}  // namespace
