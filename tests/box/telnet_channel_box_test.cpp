#include <gtest/gtest.h>

#include <string>
#include <utility>
#include <vector>

#include "hand_over_wait.h"
#include "handover/ui_hand_over.h"
#include "simbox_env.h"
#include "telnet/telnet_channel.h"

namespace olmira::test {
namespace {

// The channel against a real Telnet service: the service negotiates
// options and the terminal type before it asks for the login.
class TelnetChannelBox : public SimboxTest {
protected:
    void SetUp() override {
        SimboxTest::SetUp();
        channel.Host = "127.0.0.1";
        channel.OnDataAvailable = [this](TTelnetChannel&, const std::string& buffer) {
            blocks.push_back(buffer);
            text += buffer;
        };
        channel.OnReaderEnded = [this] { readerEnded = true; };
    }

    // Waits for marker after everything received so far, then forgets the
    // text up to it.
    void Await(const std::string& marker) {
        ASSERT_TRUE(ServeUntil(
            handOver, [&] { return text.find(marker) != std::string::npos; }, 20s))
            << "no \"" << marker << "\" from the box, only: " << text;
        text.erase(0, text.find(marker) + marker.size());
    }

    void LogIn() {
        channel.Connect();
        ASSERT_NO_FATAL_FAILURE(Await("login: "));
        channel.SendLine(Box().user);
        ASSERT_NO_FATAL_FAILURE(Await("Password:"));
        channel.SendLine(Box().password);
        ASSERT_NO_FATAL_FAILURE(Await("# "));
    }

    UiHandOver handOver;
    std::vector<std::string> blocks;
    std::string text;
    bool readerEnded = false;
    TTelnetChannel channel{handOver};
};

TEST_F(TelnetChannelBox, NegotiatesAndLogsIn) {
    ASSERT_NO_FATAL_FAILURE(LogIn());
    for (const auto& block : blocks) {
        EXPECT_EQ(block.find('\xff'), std::string::npos) << "Telnet command in: " << block;
    }
    EXPECT_FALSE(readerEnded);
}

// The distribution's telnetd agrees to binary mode and then passes CR LF on
// as two line ends; busybox's never agrees and folds it. Either way one
// line sent is one command, with one prompt after it.
TEST_F(TelnetChannelBox, EachLineIsOneCommandWithOnePrompt) {
    ASSERT_NO_FATAL_FAILURE(LogIn());
    EXPECT_EQ(channel.BinaryInput(), Box().telnetd == "inetutils");
    for (const auto& [command, answer] :
         {std::pair{"echo mark-$((6*7))", "mark-42"}, std::pair{"echo end-$((1+1))", "end-2"}}) {
        channel.SendLine(command);
        ASSERT_NO_FATAL_FAILURE(Await(answer));
        ASSERT_NO_FATAL_FAILURE(Await("# "));
    }
    ServeUntil(
        handOver, [] { return false; }, 300ms);
    EXPECT_EQ(text.find("# "), std::string::npos) << "a prompt of an empty command: " << text;
}

TEST_F(TelnetChannelBox, ExitEndsWithTheBoxClosing) {
    ASSERT_NO_FATAL_FAILURE(LogIn());
    channel.SendLine("exit");
    ASSERT_TRUE(ServeUntil(
        handOver, [&] { return readerEnded; }, 20s));
    EXPECT_FALSE(channel.Connected());
    channel.Disconnect();
}

}  // namespace
}  // namespace olmira::test
