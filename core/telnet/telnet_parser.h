#pragma once

#include <cstdint>
#include <string>
#include <string_view>
#include <utility>

#include "telnet/telnet_options.h"

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

// The incoming side of a Telnet client: it strips command sequences from the
// received bytes, answers the box's option requests as TelnetOptions says,
// and reports the terminal type when asked. No I/O of its own.
class TelnetParser {
public:
    TelnetParser() = default;
    // The terminal type reported to the peer; an empty one is reported as
    // "dumb".
    explicit TelnetParser(std::string terminal) : terminal_(std::move(terminal)) {}

    // Our own option requests, once at the start of a connection.
    void Start(TelnetSink& sink);
    void Feed(std::string_view bytes, TelnetSink& sink);
    TelnetState State() const { return state_; }
    // Whether the box has agreed to take our bytes as binary.
    bool BinaryInput() const { return options_.BinaryInput(); }

private:
    const char* PassData(const char* from, const char* end, TelnetSink& sink);
    void Step(const char* at, TelnetSink& sink);
    void CommandByte(const char* at, TelnetSink& sink);
    void SubDataIacByte(unsigned char byte, TelnetSink& sink);
    void AnswerRequest(unsigned char option, TelnetSink& sink);
    void EvaluateSubnegotiation(TelnetSink& sink);

    TelnetState state_ = TelnetState::Data;
    TelnetOptions options_;
    std::string params_;
    std::string terminal_ = "dumb";
    std::string terminalAnswer_;
};

}  // namespace olmira
