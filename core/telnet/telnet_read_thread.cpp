#include "telnet/telnet_read_thread.h"

#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

#include "error.h"
#include "telnet/socket_error.h"
#include "telnet/telnet_channel.h"
#include "telnet/telnet_socket.h"

namespace olmira {

TTelnetReadThread::TTelnetReadThread(TTelnetChannel& channel, std::shared_ptr<TelnetSocket> socket,
                                     std::string terminal, UiHandOver& handOver)
    : channel_(channel),
      socket_(std::move(socket)),
      parser_(std::move(terminal)),
      thread_(handOver, [this] { Execute(); }) {}

void TTelnetReadThread::Execute() {
    try {
        RunPasses();
    } catch (...) {
        // Nobody is told why: the reader simply stops making passes.
    }
    if (!stopRequested_) {
        AnnounceEnd();
    }
}

void TTelnetReadThread::RunPasses() {
    parser_.Start(*this);
    while (!stopRequested_) {
        const auto received = Receive();
        if (!received) {
            return;
        }
        Buffer.clear();
        parser_.Feed(*received, *this);
        socket_->SetBinaryInput(parser_.BinaryInput());
        for (int asked = cursorQueries_.Feed(Buffer); asked > 0; --asked) {
            OnAnswer(kCursorPositionAnswer);
        }
        DeliverBuffer();
        if (socket_->Closed()) {
            return;
        }
    }
}

// One receive's bytes; nullopt when a stop was asked for meanwhile. A
// connection that is closed gives no bytes, and the pass still delivers.
std::optional<std::string_view> TTelnetReadThread::Receive() {
    while (!socket_->Closed()) {
        WaitReadable();
        if (stopRequested_) {
            return std::nullopt;
        }
        const ssize_t received = ::recv(socket_->Fd(), chunk_.data(), chunk_.size(), 0);
        if (received > 0) {
            AcknowledgeAtOnce();
            return std::string_view(chunk_.data(), static_cast<std::size_t>(received));
        }
        if (received == 0) {
            socket_->Close();
            break;
        }
        if (errno == EINTR) {
            continue;
        }
        if (errno == ESHUTDOWN || errno == EPIPE || errno == ECONNABORTED) {
            socket_->Close();
        }
        throw SocketError(errno);
    }
    return std::string_view();
}

// The box's telnetd writes its echo and its reply in small pieces and holds
// each back until the last is acknowledged (Nagle); a receiver that delays
// its acknowledgement (by 40 ms on Linux) then adds that delay to every
// command line. Linux drops back to delaying after a while, so this is
// asked for again after each receive. Not having it only costs time.
void TTelnetReadThread::AcknowledgeAtOnce() {
    const int on = 1;
    ::setsockopt(socket_->Fd(), IPPROTO_TCP, TCP_QUICKACK, &on, sizeof on);
}

void TTelnetReadThread::WaitReadable() {
    pollfd wait{socket_->Fd(), POLLIN, 0};
    while (::poll(&wait, 1, -1) < 0) {
        if (errno != EINTR) {
            throw SocketError(errno);
        }
    }
}

void TTelnetReadThread::DeliverBuffer() {
    thread_.RunOnUi([this] {
        if (!channel_.OnDataAvailable) {
            throw Error("OnDataAvailable event is nil.");
        }
        channel_.OnDataAvailable(channel_, Buffer);
    });
}

void TTelnetReadThread::AnnounceEnd() {
    try {
        // The stop request is checked again on the UI thread: a Disconnect
        // that began meanwhile must not be answered with this call.
        thread_.RunOnUi([this] {
            if (!stopRequested_ && channel_.OnReaderEnded) {
                channel_.OnReaderEnded();
            }
        });
    } catch (...) {
        // The reader is ending anyway.
    }
}

void TTelnetReadThread::OnData(std::string_view run) {
    Buffer.append(run);
}

void TTelnetReadThread::OnAnswer(std::string_view answer) {
    // After the box has closed there is nobody left to answer, and the data
    // of this last pass must still be delivered.
    if (!socket_->Closed()) {
        socket_->WriteAll(answer);
    }
}

}  // namespace olmira
