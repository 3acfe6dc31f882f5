#pragma once

#include <memory>
#include <string>

#include "conversation/box_channel.h"
#include "ssh/ssh_connection.h"
#include "telnet/worker_shelf.h"

namespace olmira {

class UiHandOver;

// Lets a box session talk to the box's shell over SSH. The login happens
// in the connect; what the shell says comes to the listener as over Telnet.
class SshLink final : public BoxChannel {
public:
    explicit SshLink(UiHandOver& handOver) : handOver_(handOver) {}
    ~SshLink() override;
    SshLink(const SshLink&) = delete;
    SshLink& operator=(const SshLink&) = delete;

    void Attach(BoxListener& listener) { listener_ = &listener; }
    // Everything but the host, which the session sets, for the next connect.
    SshTarget Target;
    // Runs on the UI thread for a box whose key is not stored yet.
    TrustNewKey AskTrust;

    void SetHost(const std::string& host) override { Target.host = host; }
    void ConnectAsync(ConnectDone done) override;
    bool Connecting() const override;
    bool LogsIn() const override { return true; }
    void SendLine(std::string_view text) override;
    void AwaitClose(std::chrono::milliseconds limit) override;
    void Disconnect() override;

private:
    UiHandOver& handOver_;
    BoxListener* listener_ = nullptr;
    std::unique_ptr<SshConnection> connection_;
    WorkerShelf shelf_;
};

}  // namespace olmira
