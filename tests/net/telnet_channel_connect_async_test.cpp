#include <gtest/gtest.h>

#include <optional>

#include "channel_fixture.h"
#include "expect_error.h"

namespace olmira::test {
namespace {

class TelnetChannelConnectAsync : public ChannelTest {
protected:
    void ConnectAsync() {
        channel.ConnectAsync([this](std::exception_ptr error) { outcome = ErrorText(error); });
    }
    bool ServeUntilOutcome() {
        return ServeUntil(handOver, [this] { return outcome.has_value(); });
    }

    std::optional<std::string> outcome;
};

TEST_F(TelnetChannelConnectAsync, DeliversSuccessThroughTheHandOver) {
    ConnectAsync();
    EXPECT_TRUE(channel.Connecting());
    server.Accept();
    ASSERT_TRUE(ServeUntilOutcome());
    EXPECT_EQ(*outcome, "(no error)");
    EXPECT_FALSE(channel.Connecting());
    EXPECT_TRUE(channel.Connected());
    server.Send("login: ");
    EXPECT_TRUE(ServeUntilReceived("login: "));
}

TEST_F(TelnetChannelConnectAsync, DeliversFailureThroughTheHandOver) {
    RefusingPort refusing;
    channel.Port = refusing.Port();
    ConnectAsync();
    ASSERT_TRUE(ServeUntilOutcome());
    EXPECT_EQ(*outcome, "Socket Error # 10061\r\nConnection refused.");
    EXPECT_FALSE(channel.Connecting());
    EXPECT_FALSE(channel.Connected());
}

TEST_F(TelnetChannelConnectAsync, RefusesWhileConnected) {
    ConnectAndAccept();
    ConnectAsync();
    ASSERT_TRUE(ServeUntilOutcome());
    EXPECT_EQ(*outcome, "Already connected.");
    EXPECT_TRUE(channel.Connected());
}

TEST_F(TelnetChannelConnectAsync, SecondRequestWhileConnectingIsIgnored) {
    int calls = 0;
    ConnectAsync();
    channel.ConnectAsync([&](std::exception_ptr) { ++calls; });
    server.Accept();
    ASSERT_TRUE(ServeUntilOutcome());
    ServeAWhile(handOver);
    EXPECT_EQ(calls, 0);
}

TEST_F(TelnetChannelConnectAsync, RetryFromTheOutcomeHandler) {
    RefusingPort refusing;
    channel.Port = refusing.Port();
    bool retried = false;
    channel.ConnectAsync([&](std::exception_ptr error) {
        ASSERT_TRUE(error);
        channel.Port = server.Port();
        ConnectAsync();
        retried = true;
    });
    ASSERT_TRUE(ServeUntil(handOver, [&] { return retried; }));
    EXPECT_TRUE(channel.Connecting());
    server.Accept();
    ASSERT_TRUE(ServeUntilOutcome());
    EXPECT_EQ(*outcome, "(no error)");
}

TEST_F(TelnetChannelConnectAsync, DisconnectCancelsAConnectUnderWay) {
    StalledPort stalled;
    channel.Port = stalled.Port();
    ConnectAsync();
    ServeAWhile(handOver, 100ms);
    ASSERT_TRUE(channel.Connecting());
    {
        Watchdog watchdog("cancelling a connect");
        channel.Disconnect();
    }
    EXPECT_FALSE(channel.Connecting());
    ServeAWhile(handOver);
    EXPECT_FALSE(outcome.has_value());
}

TEST_F(TelnetChannelConnectAsync, DestroyingTheChannelCancelsAConnectUnderWay) {
    StalledPort stalled;
    auto local = std::make_unique<TTelnetChannel>(handOver);
    local->Host = "127.0.0.1";
    local->Port = stalled.Port();
    bool called = false;
    local->ConnectAsync([&](std::exception_ptr) { called = true; });
    Watchdog watchdog("destroying a connecting channel");
    local.reset();
    EXPECT_FALSE(called);
}

}  // namespace
}  // namespace olmira::test
