#pragma once

#include <chrono>
#include <string>
#include <string_view>

#include "telnet/unique_fd.h"

namespace olmira::test {

using namespace std::chrono_literals;

// A one-client TCP server on 127.0.0.1 with an ephemeral port, standing in
// for the box. Every wait is bounded; failures throw std::runtime_error.
class LoopbackServer {
public:
    LoopbackServer();

    int Port() const { return port_; }
    // For clients accepted later: a small buffer makes a large write block
    // half-way instead of vanishing into the system's buffers.
    void LimitReceiveBuffer(int bytes);
    void Accept(std::chrono::milliseconds limit = 5s);
    void Send(std::string_view bytes);
    // Reads until count bytes have arrived, the client closed, or the limit
    // passed; returns what arrived.
    std::string Receive(std::size_t count, std::chrono::milliseconds limit = 5s);
    // True once the client has closed its sending side.
    bool ClientClosed(std::chrono::milliseconds limit = 5s);
    void CloseClient() { client_.Reset(); }

private:
    bool WaitReadable(int fd, std::chrono::steady_clock::time_point deadline);

    UniqueFd listener_;
    int port_;
    UniqueFd client_;
};

// A port on 127.0.0.1 that refuses connections: bound, never listening.
class RefusingPort {
public:
    RefusingPort();
    int Port() const { return port_; }

private:
    UniqueFd socket_;
    int port_;
};

// A port on 127.0.0.1 where a connect neither succeeds nor fails for a long
// time: its listener's queue is already full, so new handshakes go
// unanswered.
class StalledPort {
public:
    StalledPort();
    int Port() const { return port_; }

private:
    UniqueFd listener_;
    int port_;
    UniqueFd filler_;
};

}  // namespace olmira::test
