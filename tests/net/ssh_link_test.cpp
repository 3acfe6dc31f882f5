// The SSH link against boxes that fail it: one that never starts the key
// exchange and one that hangs up in the middle of it.
#include <gtest/gtest.h>

#include <optional>
#include <string>

#include "error.h"
#include "hand_over_wait.h"
#include "handover/ui_hand_over.h"
#include "loopback_server.h"
#include "ssh/ssh_link.h"
#include "temp_folder.h"

namespace olmira::test {
namespace {

class SshLinkTest : public ::testing::Test {
protected:
    SshLinkTest() {
        link.Target = {"127.0.0.1", server.Port(), "root", "olmira", folder.File("known_hosts"), 1};
        link.SetHost("127.0.0.1");
    }

    void StartConnect() {
        link.ConnectAsync([this](std::exception_ptr error) {
            done = true;
            try {
                if (error) {
                    std::rethrow_exception(error);
                }
            } catch (const std::exception& e) {
                message = e.what();
            }
        });
    }

    // The message the connect ended with; none when it succeeded or is
    // still under way after limit.
    std::optional<std::string> Outcome(std::chrono::milliseconds limit) {
        ServeUntil(
            handOver, [this] { return done; }, limit);
        return message;
    }

    bool done = false;
    std::optional<std::string> message;
    test_support::TempFolder folder;
    UiHandOver handOver;
    LoopbackServer server;
    SshLink link{handOver};
};

TEST_F(SshLinkTest, ABoxThatNeverAnswersEndsTheConnectWithAMessage) {
    StartConnect();
    const auto outcome = Outcome(5s);
    ASSERT_TRUE(outcome.has_value()) << "no outcome within 5 s for a 1 s step";
    EXPECT_NE(outcome->find("Keine SSH-Verbindung zu 127.0.0.1"), std::string::npos) << *outcome;
    EXPECT_FALSE(link.Connecting());
    EXPECT_THROW(link.SendLine("ls"), Error);
}

TEST_F(SshLinkTest, ABoxThatHangsUpDuringTheKeyExchangeEndsTheConnectWithAMessage) {
    StartConnect();
    server.Accept();
    server.Send("SSH-2.0-box\r\n");
    server.CloseClient();
    const auto outcome = Outcome(5s);
    ASSERT_TRUE(outcome.has_value());
    EXPECT_NE(outcome->find("Keine SSH-Verbindung"), std::string::npos) << *outcome;
}

}  // namespace
}  // namespace olmira::test
