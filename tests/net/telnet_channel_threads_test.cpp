#include <gtest/gtest.h>

#include <atomic>
#include <memory>
#include <thread>

#include "channel_fixture.h"
#include "expect_error.h"

namespace olmira::test {
namespace {

using TelnetChannelThreads = ChannelTest;

// Waits, without serving, until the reader has queued a hand-over.
bool AwaitQueuedHandOver(UiHandOver& handOver, std::atomic<bool>& queued) {
    const auto deadline = std::chrono::steady_clock::now() + 5s;
    while (!queued && std::chrono::steady_clock::now() < deadline) {
        std::this_thread::sleep_for(1ms);
    }
    handOver.SetWake(nullptr);
    return queued;
}

TEST_F(TelnetChannelThreads, DisconnectServesTheBlockTheReaderIsHandingOver) {
    std::atomic<bool> queued{false};
    handOver.SetWake([&] { queued = true; });
    ConnectAndAccept();
    server.Send("ls\r\n");
    ASSERT_TRUE(AwaitQueuedHandOver(handOver, queued));
    {
        Watchdog watchdog("Disconnect during a hand-over");
        channel.Disconnect();
    }
    EXPECT_EQ(Received(), "ls\r\n");
    EXPECT_EQ(readerEnded, 0);
    EXPECT_TRUE(server.ClientClosed());
}

TEST_F(TelnetChannelThreads, DisconnectFromTheReaderEndNotice) {
    channel.OnReaderEnded = [this] {
        ++readerEnded;
        channel.Disconnect();
    };
    ConnectAndAccept();
    server.CloseClient();
    Watchdog watchdog("Disconnect from OnReaderEnded");
    ASSERT_TRUE(ServeUntilReaderEnded());
    ExpectError([&] { channel.SendLine("ls"); }, "Not Connected");
    ConnectAndAccept();
    EXPECT_TRUE(channel.Connected());
}

TEST_F(TelnetChannelThreads, DisconnectAndReconnectFromTheDataHandler) {
    channel.OnDataAvailable = [this](TTelnetChannel&, const std::string& buffer) {
        events.push_back(buffer);
        if (buffer == "bye") {
            channel.Disconnect();
            channel.Connect();
        }
    };
    ConnectAndAccept();
    server.Send("bye");
    Watchdog watchdog("Disconnect from OnDataAvailable");
    ASSERT_TRUE(ServeUntilReceived("bye"));
    server.Accept();
    server.Send("hello");
    ASSERT_TRUE(ServeUntilReceived("hello"));
    EXPECT_EQ(readerEnded, 0);
}

TEST_F(TelnetChannelThreads, DestroyingAConnectedChannelEndsItsReader) {
    std::atomic<bool> queued{false};
    handOver.SetWake([&] { queued = true; });
    auto local = std::make_unique<TTelnetChannel>(handOver);
    local->Port = server.Port();
    local->Host = "127.0.0.1";
    int delivered = 0;
    local->OnDataAvailable = [&](TTelnetChannel&, const std::string&) { ++delivered; };
    local->Connect();
    server.Accept();
    server.Send("x");
    ASSERT_TRUE(AwaitQueuedHandOver(handOver, queued));
    {
        Watchdog watchdog("destroying the channel");
        local.reset();
    }
    EXPECT_EQ(delivered, 1);
    EXPECT_TRUE(server.ClientClosed());
}

// Lines from the UI thread and answers from the reader share the socket;
// neither may cut into the other. The box stops reading while a line is
// going out, so the line is stuck half sent when the requests arrive.
TEST_F(TelnetChannelThreads, LinesAndAnswersStayWholeOnTheWire) {
    constexpr int kLines = 5;
    constexpr int kRequestsPerLine = 20;
    const std::string line(8 << 20, 'x');
    std::string requests;
    for (int r = 0; r < kRequestsPerLine; ++r) {
        requests += Bytes({255, 253, 24});
    }
    server.LimitReceiveBuffer(64 << 10);
    ConnectAndAccept();
    const std::size_t expected = kLines * (line.size() + 2 + kRequestsPerLine * 3);
    std::string wire;
    std::atomic<bool> boxDone{false};
    std::thread box([&] {
        for (int i = 0; i < kLines; ++i) {
            // The line has begun; with nobody reading, its send blocks.
            wire += server.Receive(1);
            std::this_thread::sleep_for(20ms);
            server.Send(requests);
            std::this_thread::sleep_for(20ms);
            for (std::string got = "x"; !got.empty();) {
                got = server.Receive(1 << 20, 50ms);
                wire += got;
            }
        }
        wire += server.Receive(expected - wire.size(), 20s);
        boxDone = true;
    });
    for (int i = 0; i < kLines; ++i) {
        channel.SendLine(line);
        ServeAWhile(handOver, 20ms);
    }
    ServeUntil(
        handOver, [&] { return boxDone.load(); }, 30s);
    box.join();
    ASSERT_EQ(wire.size(), expected);
    const std::string answer = Bytes({255, 251, 24});
    const std::string wholeLine = line + "\r\n";
    int lines = 0;
    int answers = 0;
    for (std::size_t at = 0; at < wire.size();) {
        if (wire.compare(at, answer.size(), answer) == 0) {
            at += answer.size();
            ++answers;
        } else {
            ASSERT_EQ(wire.compare(at, wholeLine.size(), wholeLine), 0)
                << "the line at byte " << at << " was cut";
            at += wholeLine.size();
            ++lines;
        }
    }
    EXPECT_EQ(lines, kLines);
    EXPECT_EQ(answers, kLines * kRequestsPerLine);
}

}  // namespace
}  // namespace olmira::test
