#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include "hand_over_wait.h"
#include "handover/ui_hand_over.h"
#include "loopback_server.h"
#include "telnet/telnet_channel.h"

namespace olmira::test {

inline std::string Bytes(std::initializer_list<int> values) {
    std::string bytes;
    for (const int value : values) {
        bytes.push_back(static_cast<char>(value));
    }
    return bytes;
}

inline const std::string kTerminalDumb = Bytes({255, 250, 24, 0, 'd', 'u', 'm', 'b', 255, 240});
// What the channel asks for first: binary mode both ways.
inline const std::string kAskBinary = Bytes({255, 251, 0, 255, 253, 0});

// A channel aimed at a loopback server, recording what it delivers. The
// test thread is the UI thread and serves the hand-over itself.
class ChannelTest : public testing::Test {
protected:
    ChannelTest() {
        channel.Host = "127.0.0.1";
        channel.Port = server.Port();
        channel.OnDataAvailable = [this](TTelnetChannel& sender, const std::string& buffer) {
            EXPECT_EQ(&sender, &channel);
            events.push_back(buffer);
        };
        channel.OnReaderEnded = [this] { ++readerEnded; };
    }

    // Also takes the channel's opening requests, so that a test sees only
    // what it caused.
    void ConnectAndAccept() {
        channel.Connect();
        server.Accept();
        EXPECT_EQ(server.Receive(kAskBinary.size()), kAskBinary);
    }

    std::string Received() const {
        std::string all;
        for (const auto& event : events) {
            all += event;
        }
        return all;
    }

    bool ServeUntilReceived(const std::string& text) {
        return ServeUntil(handOver, [&] { return Received().find(text) != std::string::npos; });
    }

    bool ServeUntilReaderEnded() {
        return ServeUntil(handOver, [&] { return readerEnded > 0; });
    }

    // Declared before the channel: its destructor may still deliver.
    UiHandOver handOver;
    LoopbackServer server;
    std::vector<std::string> events;
    int readerEnded = 0;
    TTelnetChannel channel{handOver};
};

}  // namespace olmira::test
