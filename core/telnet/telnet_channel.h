#pragma once

#include <chrono>
#include <exception>
#include <functional>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "telnet/unique_fd.h"
#include "telnet/worker_shelf.h"

namespace olmira {

class ChannelWorker;
class TelnetSocket;
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
    // Disconnect cancels a connect under way; done is not called then.
    void ConnectAsync(ConnectDone done);
    bool Connecting() const;

    void SendLine(std::string_view text);
    // Serves hand-overs until the box has closed the connection or limit
    // has passed: a box told "exit" gets to read it before we hang up.
    void AwaitClose(std::chrono::milliseconds limit);
    void Disconnect();
    bool Connected();
    // Whether the box has agreed to take our bytes as binary (RFC 856):
    // until then a telnetd may strip the eighth bit of every byte sent.
    bool BinaryInput() const;

private:
    void RefuseIfConnected();
    void StartReading(UniqueFd socket);
    void FinishConnect(UniqueFd socket, std::exception_ptr error, const ConnectDone& done);
    void CloseSocket();

    UiHandOver& handOver_;
    // Set by every Connect, cleared by Disconnect: tells a write that was
    // never possible from one whose connection has gone.
    bool holder_ = false;
    std::shared_ptr<TelnetSocket> connection_;
    std::unique_ptr<ChannelWorker> reader_;
    std::unique_ptr<ChannelWorker> connector_;
    WorkerShelf shelf_;
};

}  // namespace olmira
