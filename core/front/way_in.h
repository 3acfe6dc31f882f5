#pragma once

#include "conversation/box_channel.h"

namespace olmira {

struct TSetup;
class TTelnetChannel;
class SshLink;

// The connection the settings choose, Telnet or SSH, chosen anew at each
// connect; the session talks to whichever it is without knowing which.
class WayIn final : public BoxChannel {
public:
    WayIn(const TSetup& settings, BoxChannel& telnet, TTelnetChannel& telnetChannel, SshLink& ssh);

    void SetHost(const std::string& host) override;
    void ConnectAsync(ConnectDone done) override;
    bool Connecting() const override { return current_->Connecting(); }
    bool LogsIn() const override { return current_->LogsIn(); }
    void SendLine(std::string_view text) override { current_->SendLine(text); }
    void AwaitClose(std::chrono::milliseconds limit) override { current_->AwaitClose(limit); }
    void Disconnect() override { current_->Disconnect(); }

private:
    const TSetup& settings_;
    BoxChannel& telnet_;
    TTelnetChannel& telnetChannel_;
    SshLink& ssh_;
    BoxChannel* current_;
};

}  // namespace olmira
