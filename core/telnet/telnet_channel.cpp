#include "telnet/telnet_channel.h"

#include "error.h"
#include "handover/ui_hand_over.h"
#include "telnet/channel_worker.h"
#include "telnet/tcp_connect.h"
#include "telnet/telnet_connect_thread.h"
#include "telnet/telnet_read_thread.h"
#include "telnet/telnet_socket.h"

namespace olmira {
namespace {

// A data byte 255 goes out doubled, or the box would take it for IAC. A
// telnetd folds CR LF into one line end only while our input is not binary;
// in binary mode it passes both on, and a terminal that maps CR to a new line
// would see two. CR alone is the Enter key then.
std::string LineBytes(std::string_view text, bool binary) {
    std::string line;
    line.reserve(text.size() + 2);
    for (const char byte : text) {
        line.push_back(byte);
        if (byte == '\xff') {
            line.push_back(byte);
        }
    }
    line.append(binary ? "\r" : "\r\n");
    return line;
}

}  // namespace

TTelnetChannel::TTelnetChannel(UiHandOver& handOver) : handOver_(handOver) {}

TTelnetChannel::~TTelnetChannel() {
    Disconnect();
}

void TTelnetChannel::Connect() {
    shelf_.JoinIdle();
    RefuseIfConnected();
    holder_ = true;
    StartReading(ConnectTcp(Host, Port));
}

void TTelnetChannel::ConnectAsync(ConnectDone done) {
    if (connector_) {
        return;
    }
    shelf_.JoinIdle();
    TelnetConnectThread::Open open = [host = Host, port = Port](int cancelFd) {
        return ConnectTcp(host, port, cancelFd);
    };
    if (Connected()) {
        open = [](int) -> UniqueFd { throw Error("Already connected."); };
    }
    connector_ = std::make_unique<TelnetConnectThread>(
        handOver_, std::move(open),
        [this, done = std::move(done)](UniqueFd socket, std::exception_ptr error) {
            FinishConnect(std::move(socket), error, done);
        });
}

bool TTelnetChannel::Connecting() const {
    return connector_ != nullptr;
}

void TTelnetChannel::FinishConnect(UniqueFd socket, std::exception_ptr error,
                                   const ConnectDone& done) {
    shelf_.End(connector_);
    holder_ = true;
    if (!error) {
        try {
            // A blocking Connect may have won the race.
            RefuseIfConnected();
            StartReading(std::move(socket));
        } catch (...) {
            error = std::current_exception();
        }
    }
    done(error);
}

void TTelnetChannel::RefuseIfConnected() {
    if (Connected()) {
        throw Error("Already connected.");
    }
}

void TTelnetChannel::StartReading(UniqueFd socket) {
    // A reader that ended by itself is still around until now.
    shelf_.End(reader_);
    connection_ = std::make_shared<TelnetSocket>(std::move(socket));
    reader_ = std::make_unique<TTelnetReadThread>(*this, connection_, Terminal, handOver_);
}

void TTelnetChannel::SendLine(std::string_view text) {
    if (!holder_) {
        throw Error("Not Connected");
    }
    if (!Connected()) {
        throw Error("Connection Closed Gracefully.");
    }
    connection_->WriteAll(LineBytes(text, connection_->BinaryInput()));
}

void TTelnetChannel::AwaitClose(std::chrono::milliseconds limit) {
    handOver_.ServeWhile([this] { return connection_ && !connection_->Closed(); }, limit);
}

void TTelnetChannel::Disconnect() {
    shelf_.End(connector_);
    if (reader_) {
        // Before the close wakes it, so that it ends without another pass.
        reader_->RequestStop();
    }
    CloseSocket();
    holder_ = false;
    shelf_.End(reader_);
    shelf_.JoinIdle();
}

bool TTelnetChannel::BinaryInput() const {
    return connection_ && connection_->BinaryInput();
}

bool TTelnetChannel::Connected() {
    if (connection_ && connection_->Closed()) {
        CloseSocket();
    }
    return connection_ != nullptr;
}

void TTelnetChannel::CloseSocket() {
    if (connection_) {
        connection_->Close();
        connection_.reset();
    }
}

}  // namespace olmira
