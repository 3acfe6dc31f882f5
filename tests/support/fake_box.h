#pragma once

#include <chrono>
#include <exception>
#include <string>
#include <string_view>
#include <vector>

#include "conversation/box_channel.h"
#include "conversation/tick_clock.h"
#include "error.h"
#include "session/box_session.h"

namespace olmira {

// A channel that keeps the lines sent and lets a test finish the connect.
class FakeChannel : public BoxChannel {
public:
    void SetHost(const std::string& h) override { host = h; }
    void ConnectAsync(ConnectDone done) override { pendingConnect = std::move(done); }
    bool Connecting() const override { return static_cast<bool>(pendingConnect); }
    void SendLine(std::string_view text) override {
        if (gone) {
            throw Error("Connection Closed Gracefully.");
        }
        sent.emplace_back(text);
    }
    void AwaitClose(std::chrono::milliseconds) override {
        if (closesOnExit) {
            session->ConnectionLost();
        }
    }
    void Disconnect() override { ++disconnects; }

    void FinishConnect(std::exception_ptr error = nullptr) {
        ConnectDone done = std::move(pendingConnect);
        pendingConnect = nullptr;
        done(error);
    }

    std::string host;
    ConnectDone pendingConnect;
    std::vector<std::string> sent;
    int disconnects = 0;
    bool gone = false;
    // Lets the box hang up while we wait for it after "exit".
    bool closesOnExit = false;
    BoxSession* session = nullptr;
};

// A clock the test moves by hand.
class FakeClock : public TickClock {
public:
    std::uint32_t Now() const override { return now; }
    std::uint32_t now = 1000;
};

}  // namespace olmira
