#include <gtest/gtest.h>

#include <algorithm>
#include <cstdio>
#include <string>
#include <vector>

#include "channel_fixture.h"
#include "conversation/conversation.h"
#include "conversation/telnet_link.h"
#include "temp_folder.h"

namespace olmira::test {
namespace {

// Hands the channel's blocks to the conversation, as the session does, and
// counts the text that came.
class Forward final : public BoxListener {
public:
    explicit Forward(Conversation& conversation) : conversation_(conversation) {}
    void TelnetDataAvailable(const std::string& buffer) override {
        received += buffer.size();
        conversation_.Receive(buffer);
    }
    void ConnectionLost() override {}

    std::size_t received = 0;

private:
    Conversation& conversation_;
};

// What busybox's ash prints when it runs these lines as the box's shell would.
std::string RunOnAsh(const std::vector<std::string>& lines) {
    const test_support::TempFolder folder;
    std::string script;
    for (const std::string& line : lines) {
        script += line + "\n";
    }
    folder.Write("lines", script);
    std::string output;
    if (FILE* pipe = ::popen(("busybox sh " + folder.File("lines")).c_str(), "r")) {
        char block[256];
        for (std::size_t got; (got = std::fread(block, 1, sizeof block, pipe)) > 0;) {
            output.append(block, got);
        }
        ::pclose(pipe);
    }
    return output;
}

using RefusedBinary = ChannelTest;

// A box that will not take binary input may strip the eighth bit of every
// byte: a name then goes out in lines of 7-bit bytes that the shell turns
// back into the very same bytes, each line ended as a telnetd expects.
TEST_F(RefusedBinary, NamesGoOutInSevenBitLinesThatTheShellTurnsBack) {
    const std::string marker = "box#";
    TelnetLink link(channel);
    Conversation conversation(link, marker);
    Forward forward(conversation);
    link.Attach(forward);
    ConnectAndAccept();
    std::size_t sent = 0;
    // The box's text, served until the conversation has seen all of it.
    const auto boxSays = [&](const std::string& text, const std::string& commands = {}) {
        server.Send(commands + text);
        sent += text.size();
        return ServeUntil(handOver, [&] { return forward.received >= sent; });
    };
    ASSERT_TRUE(boxSays("box# ", Bytes({255, 254, 0, 255, 252, 0})));
    EXPECT_FALSE(channel.BinaryInput());

    const std::string name = "M\xc3\xbcll \xfc\xff X\xc3\xa2;touch pwned\xc3\xa2";
    bool replied = false;
    conversation.Send({"printf '%s' \"" + name + "\"", {}, [&] { replied = true; }});
    std::vector<std::string> lines;
    while (!replied) {
        std::string line;
        while (!line.ends_with("\r\n")) {
            const std::string byte = server.Receive(1);
            ASSERT_FALSE(byte.empty()) << "the line stopped at: " << line;
            line += byte;
        }
        EXPECT_TRUE(std::all_of(line.begin(), line.end(), [](char c) {
            return static_cast<unsigned char>(c) < 128;
        })) << line;
        lines.push_back(line.substr(0, line.size() - 2));
        ASSERT_TRUE(boxSays(lines.back() + "\r\nbox# "));
    }
    EXPECT_GT(lines.size(), 1u);
    EXPECT_EQ(RunOnAsh(lines), name);
}

}  // namespace
}  // namespace olmira::test
