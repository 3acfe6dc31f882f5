#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

namespace olmira {

// Where the parser stands between two bytes; it carries over from one feed
// to the next, so a command split over two receives is still recognised.
enum class TelnetState : std::uint8_t {
    Data,
    Command,
    GotWill,
    GotWont,
    GotDo,
    GotDont,
    SubOption,
    SubOptionIac,
    SubData,
    SubDataIac,
};

// What the parser produces. Both views point into memory that is only valid
// during the call.
class TelnetSink {
public:
    // A run of data bytes, in arrival order; consecutive calls make up the
    // data of the feed.
    virtual void OnData(std::string_view run) = 0;
    // One complete answer for the peer, to be written whole.
    virtual void OnAnswer(std::string_view answer) = 0;

protected:
    ~TelnetSink() = default;
};

// The incoming side of a Telnet client that never starts a negotiation: it
// strips command sequences from the received bytes, answers every option
// request each time it arrives, and reports the terminal type when asked.
// No I/O of its own.
class TelnetParser {
public:
    TelnetParser() = default;
    // The terminal type reported to the peer; an empty one is reported as
    // "dumb".
    explicit TelnetParser(std::string terminal) : terminal_(std::move(terminal)) {}

    void Feed(std::string_view bytes, TelnetSink& sink);
    TelnetState State() const { return state_; }

private:
    const char* PassData(const char* from, const char* end, TelnetSink& sink);
    void Step(const char* at, TelnetSink& sink);
    void CommandByte(const char* at, TelnetSink& sink);
    void SubDataIacByte(unsigned char byte, TelnetSink& sink);
    void AnswerRequest(unsigned char option, TelnetSink& sink);
    void EvaluateSubnegotiation(TelnetSink& sink);

    TelnetState state_ = TelnetState::Data;
    std::string params_;
    std::string terminal_ = "dumb";
    std::string terminalAnswer_;
};

}  // namespace olmira
