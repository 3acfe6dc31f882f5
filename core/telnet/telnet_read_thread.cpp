#include "telnet/telnet_read_thread.h"

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
