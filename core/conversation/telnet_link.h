#pragma once

#include "conversation/box_channel.h"
#include "telnet/telnet_channel.h"

namespace olmira {

// Lets a box session talk through a Telnet channel and routes the channel's
// received blocks and the end of its reader back to the session.
class TelnetLink final : public BoxChannel {
public:
    explicit TelnetLink(TTelnetChannel& telnet) : telnet_(telnet) {}

    void Attach(BoxListener& listener);

    void SetHost(const std::string& host) override { telnet_.Host = host; }
    void ConnectAsync(ConnectDone done) override { telnet_.ConnectAsync(std::move(done)); }
    bool Connecting() const override { return telnet_.Connecting(); }
    void SendLine(std::string_view text) override { telnet_.SendLine(text); }
    void AwaitClose(std::chrono::milliseconds limit) override { telnet_.AwaitClose(limit); }
    void Disconnect() override { telnet_.Disconnect(); }

private:
    TTelnetChannel& telnet_;
};

}  // namespace olmira
