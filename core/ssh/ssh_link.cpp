#include "ssh/ssh_link.h"

#include "error.h"
#include "handover/ui_hand_over.h"

namespace olmira {

SshLink::~SshLink() {
    Disconnect();
}

void SshLink::ConnectAsync(ConnectDone done) {
    if (Connecting()) {
        return;
    }
    if (connection_ && !connection_->Ended()) {
        done(std::make_exception_ptr(Error("Already connected.")));
        return;
    }
    Disconnect();
    SshConnection::Calls calls{
        std::move(done),
        [this](const std::string& block) {
            if (listener_ != nullptr) {
                listener_->TelnetDataAvailable(block);
            }
        },
        [this] {
            if (listener_ != nullptr) {
                listener_->ConnectionLost();
            }
        },
        [this](const std::string& question) { return AskTrust && AskTrust(question); },
    };
    connection_ = std::make_unique<SshConnection>(handOver_, Target, std::move(calls));
}

bool SshLink::Connecting() const {
    return connection_ && !connection_->Established() && !connection_->Ended();
}

// Enter on the box's terminal is a carriage return.
void SshLink::SendLine(std::string_view text) {
    if (!connection_) {
        throw Error("Not Connected");
    }
    if (connection_->Ended()) {
        throw Error("Connection Closed Gracefully.");
    }
    std::string line(text);
    line += '\r';
    connection_->Send(line);
}

void SshLink::AwaitClose(std::chrono::milliseconds limit) {
    handOver_.ServeWhile([this] { return connection_ && !connection_->Ended(); }, limit);
}

void SshLink::Disconnect() {
    std::unique_ptr<ChannelWorker> worker = std::move(connection_);
    shelf_.End(worker);
    shelf_.JoinIdle();
}

}  // namespace olmira
