#pragma once

#include <chrono>
#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace olmira {

// Whoever the box's output goes to, on the UI thread.
class BoxListener {
public:
    virtual ~BoxListener() = default;
    // One received block, Telnet commands removed.
    virtual void TelnetDataAvailable(const std::string& buffer) = 0;
    // The box closed the connection or the channel's reader failed.
    virtual void ConnectionLost() = 0;
};

// The session's view of the connection to the box: where to connect, lines
// out, and a way to drop the connection. Received text comes back through
// a BoxListener.
class BoxChannel {
public:
    using ConnectDone = std::function<void(std::exception_ptr error)>;

    virtual ~BoxChannel() = default;
    virtual void SetHost(const std::string& host) = 0;
    // Returns at once; done runs later on the UI thread with the outcome.
    virtual void ConnectAsync(ConnectDone done) = 0;
    virtual bool Connecting() const = 0;
    // Whether the connect logs in by itself, as SSH does: the session then
    // starts at the shell's prompt rather than at the login prompt.
    virtual bool LogsIn() const { return false; }
    virtual void SendLine(std::string_view text) = 0;
    // Waits, serving received blocks, until the box has closed the
    // connection or limit has passed.
    virtual void AwaitClose(std::chrono::milliseconds limit) = 0;
    virtual void Disconnect() = 0;
};

}  // namespace olmira
