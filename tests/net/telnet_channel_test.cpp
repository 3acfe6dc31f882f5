#include <gtest/gtest.h>

#include "channel_fixture.h"
#include "expect_error.h"

namespace olmira::test {
namespace {

using TelnetChannelTest = ChannelTest;

TEST_F(TelnetChannelTest, AnswersNegotiationAndDeliversOnlyTheData) {
    ConnectAndAccept();
    server.Send(Bytes({255, 253, 24, 255, 250, 24, 1, 255, 240, 255, 251, 1, 255, 253, 31}) +
                "login: ");
    ASSERT_TRUE(ServeUntilReceived("login: "));
    EXPECT_EQ(Received(), "login: ");
    EXPECT_EQ(server.Receive(31),
              Bytes({255, 251, 24}) + kTerminalDumb +
                  Bytes({255, 253, 1, 255, 251, 31, 255, 250, 31, 15, 160, 0, 50, 255, 240}));
}

TEST_F(TelnetChannelTest, RequestSplitOverTwoReceivesIsAnswered) {
    ConnectAndAccept();
    server.Send(Bytes({'a', 255}));
    ASSERT_TRUE(ServeUntilReceived("a"));
    server.Send(Bytes({251, 1, 'b'}));
    ASSERT_TRUE(ServeUntilReceived("ab"));
    EXPECT_EQ(server.Receive(3), Bytes({255, 253, 1}));
}

TEST_F(TelnetChannelTest, CommandsOnlyStillMakeAnEmptyEvent) {
    ConnectAndAccept();
    server.Send(Bytes({255, 241}));
    ASSERT_TRUE(ServeUntil(handOver, [&] { return !events.empty(); }));
    EXPECT_EQ(events, std::vector<std::string>{""});
}

TEST_F(TelnetChannelTest, LargeBlocksArriveWholeInReceiveSizedEvents) {
    ConnectAndAccept();
    std::string text;
    for (int line = 0; text.size() < 200000; ++line) {
        text += "entry " + std::to_string(line) + "\r\n";
    }
    server.Send(text);
    ASSERT_TRUE(ServeUntil(handOver, [&] { return Received().size() >= text.size(); }));
    EXPECT_EQ(Received(), text);
    for (const auto& event : events) {
        EXPECT_LE(event.size(), 32768u);
    }
}

TEST_F(TelnetChannelTest, SendLineEndsWithCrLfAndDoublesIac) {
    ConnectAndAccept();
    channel.SendLine("ls -1A /var/media");
    channel.SendLine(Bytes({'a', 255, 'b'}));
    const std::string expected = "ls -1A /var/media\r\n" + Bytes({'a', 255, 255, 'b', 13, 10});
    EXPECT_EQ(server.Receive(expected.size() + 1, 200ms), expected);
}

// Once the box takes our bytes as binary, its telnetd no longer folds CR LF
// into one line end, and every byte passes untouched but IAC.
TEST_F(TelnetChannelTest, InBinaryModeLinesEndWithCrAlone) {
    ConnectAndAccept();
    EXPECT_FALSE(channel.BinaryInput());
    server.Send(Bytes({255, 253, 0}) + "ok");
    ASSERT_TRUE(ServeUntilReceived("ok"));
    EXPECT_TRUE(channel.BinaryInput());
    channel.SendLine("M\xc3\xbcll");
    channel.SendLine(Bytes({'a', 255, 'b'}));
    const std::string expected = "M\xc3\xbcll\r" + Bytes({'a', 255, 255, 'b', 13});
    EXPECT_EQ(server.Receive(expected.size() + 1, 200ms), expected);
}

TEST_F(TelnetChannelTest, BoxClosingEndsWithOneLastEvent) {
    ConnectAndAccept();
    server.Send("logout\r\n");
    server.CloseClient();
    ASSERT_TRUE(ServeUntilReaderEnded());
    EXPECT_EQ(Received(), "logout\r\n");
    EXPECT_EQ(events.back(), "");
    const auto eventCount = events.size();
    ServeAWhile(handOver);
    EXPECT_EQ(events.size(), eventCount);
    EXPECT_EQ(readerEnded, 1);
    EXPECT_FALSE(channel.Connected());
    ExpectError([&] { channel.SendLine("ls"); }, "Connection Closed Gracefully.");
    channel.Disconnect();
    ExpectError([&] { channel.SendLine("ls"); }, "Not Connected");
}

// A connection lost in the middle of a command sequence must not swallow
// the start of the next one.
TEST_F(TelnetChannelTest, ConnectAfterTheBoxClosedStartsAfresh) {
    ConnectAndAccept();
    server.Send(Bytes({255, 250, 24}));
    server.CloseClient();
    ASSERT_TRUE(ServeUntilReaderEnded());
    ConnectAndAccept();
    server.Send("again");
    ASSERT_TRUE(ServeUntilReceived("again"));
    EXPECT_EQ(Received(), "again");
    channel.SendLine("exit");
    EXPECT_EQ(server.Receive(6), "exit\r\n");
}

TEST_F(TelnetChannelTest, WritesNeedAConnection) {
    ExpectError([&] { channel.SendLine("ls"); }, "Not Connected");
    ConnectAndAccept();
    ExpectError([&] { channel.Connect(); }, "Already connected.");
    channel.Disconnect();
    EXPECT_FALSE(channel.Connected());
    ExpectError([&] { channel.SendLine("ls"); }, "Not Connected");
    EXPECT_TRUE(server.ClientClosed());
}

TEST_F(TelnetChannelTest, DisconnectWhenIdleDoesNothing) {
    channel.Disconnect();
    channel.Disconnect();
    EXPECT_FALSE(channel.Connected());
    EXPECT_EQ(readerEnded, 0);
}

TEST_F(TelnetChannelTest, DisconnectIsNotReportedAsReaderEnd) {
    ConnectAndAccept();
    channel.Disconnect();
    ServeAWhile(handOver);
    EXPECT_EQ(readerEnded, 0);
    EXPECT_TRUE(events.empty());
}

TEST_F(TelnetChannelTest, HandlerErrorEndsTheReaderButNotTheConnection) {
    channel.OnDataAvailable = [this](TTelnetChannel&, const std::string& buffer) {
        events.push_back(buffer);
        throw Error("handler failed");
    };
    ConnectAndAccept();
    server.Send("one");
    ASSERT_TRUE(ServeUntilReaderEnded());
    server.Send("two");
    ServeAWhile(handOver);
    EXPECT_EQ(Received(), "one");
    EXPECT_TRUE(channel.Connected());
    channel.SendLine("still");
    EXPECT_EQ(server.Receive(7), "still\r\n");
}

TEST_F(TelnetChannelTest, UnboundHandlerEndsTheReader) {
    channel.OnDataAvailable = nullptr;
    ConnectAndAccept();
    server.Send("x");
    EXPECT_TRUE(ServeUntilReaderEnded());
}

TEST(TelnetChannelConnect, RefusedPortGivesSocketError) {
    UiHandOver handOver;
    RefusingPort refusing;
    TTelnetChannel channel(handOver);
    channel.Host = "127.0.0.1";
    channel.Port = refusing.Port();
    ExpectError([&] { channel.Connect(); }, "Socket Error # 10061\r\nConnection refused.");
    ExpectError([&] { channel.SendLine("ls"); }, "Connection Closed Gracefully.");
    ExpectError([&] { channel.Connect(); }, "Socket Error # 10061\r\nConnection refused.");
}

TEST(TelnetChannelConnect, UnknownHostGivesHostNotFound) {
    UiHandOver handOver;
    TTelnetChannel channel(handOver);
    channel.Host = "no-such-host.invalid";
    ExpectError([&] { channel.Connect(); }, "Socket Error # 11001\r\nHost not found.");
}

}  // namespace
}  // namespace olmira::test
