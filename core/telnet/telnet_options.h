#pragma once

#include <cstdint>
#include <string>

namespace olmira {

// Telnet's command bytes and the options we deal in (RFC 854 and the RFCs
// of each option).
namespace telnet {
inline constexpr unsigned char kIac = 255;
inline constexpr unsigned char kDont = 254;
inline constexpr unsigned char kDo = 253;
inline constexpr unsigned char kWont = 252;
inline constexpr unsigned char kWill = 251;
inline constexpr unsigned char kSb = 250;
inline constexpr unsigned char kSe = 240;

inline constexpr unsigned char kOptionBinary = 0;
inline constexpr unsigned char kOptionEcho = 1;
inline constexpr unsigned char kOptionTerminalType = 24;
inline constexpr unsigned char kOptionEndOfRecord = 25;
inline constexpr unsigned char kOptionWindowSize = 31;
}  // namespace telnet

// The verbs a request or an answer carries.
enum class TelnetVerb : std::uint8_t { Will, Wont, Do, Dont };

// The options the client agrees on with the box, and what it answers.
//
// Binary transmission (RFC 856) is asked for both ways as soon as the
// connection stands: without it a telnetd may strip the eighth bit of every
// byte we type, and the box's shell would run a different name than the one
// we sent. Its state is kept for each direction (RFC 1143), so that the
// box's answer to our own request is not answered again.
//
// The window size (RFC 1073) is reported as very wide, so that the box's
// line editor never wraps the echo of a command line: a wrapped echo would
// look like lines of the command's output.
//
// Echo and end-of-record are accepted, the terminal type is reported, and
// everything else is refused, each time it is asked for.
class TelnetOptions {
public:
    // Columns and rows reported to the box. A command line never exceeds
    // 1,000 bytes, and no prompt of ours comes near the rest.
    static constexpr std::uint16_t kColumns = 4000;
    static constexpr std::uint16_t kRows = 50;

    // Our own requests, sent once the connection stands.
    std::string Opening();
    // The bytes to send for the box's request verb/option; empty when
    // nothing is to be answered.
    std::string Answer(TelnetVerb request, unsigned char option);

    // Whether the box takes what we send as binary: then a telnetd passes
    // every byte and line end on untouched.
    bool BinaryInput() const { return sending_ == Agreement::Yes; }
    bool BinaryOutput() const { return receiving_ == Agreement::Yes; }

private:
    enum class Agreement : std::uint8_t { No, Asked, Yes };

    std::string AnswerBinary(TelnetVerb request);
    static std::string WindowSize();

    // Our direction: the box's DO/DONT. Its direction: the box's WILL/WONT.
    Agreement sending_ = Agreement::No;
    Agreement receiving_ = Agreement::No;
};

}  // namespace olmira
