#include "ssh/known_hosts.h"

#include <gtest/gtest.h>

#include "temp_folder.h"

namespace olmira {
namespace {

constexpr const char* kFile =
    "# kept by hand\n"
    "192.168.0.9 ssh-ed25519 AAAAbox\n"
    "[192.168.0.9]:2222 ssh-rsa AAAAother\r\n"
    "andere,192.168.0.9 ecdsa-sha2-nistp256 AAAAboth\n"
    "192.168.0.90 ssh-ed25519 AAAAnot\n";

// A box on port 22 goes by its address, on another port as [address]:port;
// a line naming several hosts counts for each.
TEST(KnownHostsTest, TheLinesOfABoxAreFoundAndForgottenByItsNameAndPort) {
    const struct {
        int port;
        std::vector<std::string> keys;
        std::string kept;
    } cases[] = {
        {22,
         {"AAAAbox", "AAAAboth"},
         "# kept by hand\n[192.168.0.9]:2222 ssh-rsa AAAAother\r\n192.168.0.90 ssh-ed25519 "
         "AAAAnot\n"},
        {2222,
         {"AAAAother"},
         "# kept by hand\n192.168.0.9 ssh-ed25519 AAAAbox\nandere,192.168.0.9 ecdsa-sha2-nistp256 "
         "AAAAboth\n192.168.0.90 ssh-ed25519 AAAAnot\n"},
    };
    for (const auto& c : cases) {
        const std::string pattern = HostPattern("192.168.0.9", c.port);
        std::vector<std::string> keys;
        for (const KnownKey& key : KnownKeys(kFile, pattern)) {
            keys.push_back(key.base64);
        }
        EXPECT_EQ(keys, c.keys) << c.port;
        int removed = 0;
        EXPECT_EQ(WithoutHost(kFile, pattern, removed), c.kept) << c.port;
        EXPECT_EQ(removed, static_cast<int>(c.keys.size())) << c.port;
    }
}

TEST(KnownHostsTest, ForgettingRewritesTheFileOnlyWhenItKnewTheBox) {
    test_support::TempFolder folder;
    EXPECT_EQ(ForgetHostKeys(folder.File("fehlt"), "192.168.0.9", 22), 0);
    folder.Write("known_hosts", kFile);
    EXPECT_EQ(ForgetHostKeys(folder.File("known_hosts"), "10.0.0.1", 22), 0);
    EXPECT_EQ(folder.Read("known_hosts"), kFile);
    EXPECT_EQ(ForgetHostKeys(folder.File("known_hosts"), "192.168.0.9", 2222), 1);
    EXPECT_TRUE(KnownKeys(folder.Read("known_hosts"), "[192.168.0.9]:2222").empty());
    EXPECT_EQ(KnownKeys(folder.Read("known_hosts"), "192.168.0.9").size(), 2u);
}

}  // namespace
}  // namespace olmira
