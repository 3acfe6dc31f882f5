#pragma once

#include <array>
#include <atomic>
#include <memory>
#include <optional>
#include <string>
#include <string_view>

#include "handover/hand_over_thread.h"
#include "telnet/channel_worker.h"
#include "telnet/cursor_query.h"
#include "telnet/telnet_parser.h"

namespace olmira {

class TelnetSocket;
class TTelnetChannel;
class UiHandOver;

// The channel's reader: waits for data without a time limit, answers the
// negotiation and the line editor's cursor position requests, and hands each receive's data to the
// channel's OnDataAvailable on the UI thread, waiting until it has returned. Ends quietly on any
// error and then tells the channel through OnReaderEnded, unless it was asked to stop. Starts
// running when created.
class TTelnetReadThread final : public ChannelWorker, private TelnetSink {
public:
    TTelnetReadThread(TTelnetChannel& channel, std::shared_ptr<TelnetSocket> socket,
                      std::string terminal, UiHandOver& handOver);

    void RequestStop() override { stopRequested_ = true; }
    bool InHandOver() const override { return thread_.InHandOver(); }
    void Join() override { thread_.Join(); }

private:
    void Execute();
    void RunPasses();
    std::optional<std::string_view> Receive();
    void WaitReadable();
    void AcknowledgeAtOnce();
    void DeliverBuffer();
    void AnnounceEnd();

    void OnData(std::string_view run) override;
    void OnAnswer(std::string_view answer) override;

    TTelnetChannel& channel_;
    const std::shared_ptr<TelnetSocket> socket_;
    // One per connection: a sequence cut off by a lost connection must not
    // swallow the start of the next one.
    TelnetParser parser_;
    CursorQueryScanner cursorQueries_;
    std::atomic<bool> stopRequested_{false};
    std::array<char, 32768> chunk_;
    // The data of the latest pass, as OnDataAvailable receives it.
    std::string Buffer;
    HandOverThread thread_;  // last: the thread runs on everything above
};

}  // namespace olmira
