#pragma once

#include <exception>
#include <functional>
#include <string>
#include <string_view>

namespace olmira {

class UiHandOver;

// The client end of the Telnet connection to the box. Answers the box's
// option negotiation by itself, strips Telnet commands, and hands every
// received block to OnDataAvailable on the UI thread through the hand-over.
class TTelnetChannel {
public:
    using DataHandler = std::function<void(TTelnetChannel& sender, const std::string& buffer)>;
    using ConnectDone = std::function<void(std::exception_ptr error)>;

    explicit TTelnetChannel(UiHandOver& handOver);
    ~TTelnetChannel();  // ends the reader (and a pending connect) first
    TTelnetChannel(const TTelnetChannel&) = delete;
    TTelnetChannel& operator=(const TTelnetChannel&) = delete;

    std::string Host;
    int Port = 23;
    std::string Terminal = "dumb";
    DataHandler OnDataAvailable;
    // Runs on the UI thread when the reader ended by itself (the box closed
    // the connection, a receive failed, or the data handler threw), not
    // after Disconnect.
    std::function<void()> OnReaderEnded;

    // Blocking: returns once connected, throws olmira::Error otherwise.
    void Connect();
    // Connects off the UI thread; done runs on the UI thread through the
    // hand-over with nullptr on success or the error Connect would throw.
    // Returns at once. A connect already under way makes this do nothing.
    void ConnectAsync(ConnectDone done);
    bool Connecting() const;

    void SendLine(std::string_view text);
    void Disconnect();
    bool Connected();

private:
    // (members are the implementation's)
};

}  // namespace olmira
