#include "telnet/telnet_options.h"

#include <utility>

namespace olmira {

using namespace telnet;

namespace {

std::string Command(unsigned char verb, unsigned char option) {
    return {static_cast<char>(kIac), static_cast<char>(verb), static_cast<char>(option)};
}

unsigned char VerbByte(TelnetVerb verb) {
    switch (verb) {
        case TelnetVerb::Will:
            return kWill;
        case TelnetVerb::Wont:
            return kWont;
        case TelnetVerb::Do:
            return kDo;
        case TelnetVerb::Dont:
            break;
    }
    return kDont;
}

// The answer verb for the options other than binary mode.
TelnetVerb TableAnswer(TelnetVerb request, unsigned char option) {
    switch (request) {
        case TelnetVerb::Will:
            return option == kOptionEcho || option == kOptionEndOfRecord ? TelnetVerb::Do
                                                                         : TelnetVerb::Dont;
        case TelnetVerb::Do:
            return option == kOptionEcho || option == kOptionTerminalType ||
                           option == kOptionWindowSize
                       ? TelnetVerb::Will
                       : TelnetVerb::Wont;
        case TelnetVerb::Wont:
            return TelnetVerb::Dont;
        case TelnetVerb::Dont:
            break;
    }
    return TelnetVerb::Wont;
}

void AppendByte(std::string& bytes, unsigned char byte) {
    bytes.push_back(static_cast<char>(byte));
    if (byte == kIac) {
        bytes.push_back(static_cast<char>(byte));
    }
}

}  // namespace

std::string TelnetOptions::Opening() {
    sending_ = Agreement::Asked;
    receiving_ = Agreement::Asked;
    return Command(kWill, kOptionBinary) + Command(kDo, kOptionBinary);
}

std::string TelnetOptions::Answer(TelnetVerb request, unsigned char option) {
    if (option == kOptionBinary) {
        return AnswerBinary(request);
    }
    const TelnetVerb verb = TableAnswer(request, option);
    std::string answer = Command(VerbByte(verb), option);
    if (option == kOptionWindowSize && verb == TelnetVerb::Will) {
        answer += WindowSize();
    }
    return answer;
}

// A request that only confirms the state in force, or answers our own,
// gets no answer: otherwise two ends that both answer would never stop.
std::string TelnetOptions::AnswerBinary(TelnetVerb request) {
    const bool ours = request == TelnetVerb::Do || request == TelnetVerb::Dont;
    const bool agree = request == TelnetVerb::Do || request == TelnetVerb::Will;
    Agreement& state = ours ? sending_ : receiving_;
    const Agreement before = std::exchange(state, agree ? Agreement::Yes : Agreement::No);
    const bool changes = agree ? before == Agreement::No : before == Agreement::Yes;
    if (!changes) {
        return {};
    }
    const unsigned char verb = ours ? (agree ? kWill : kWont) : (agree ? kDo : kDont);
    return Command(verb, kOptionBinary);
}

std::string TelnetOptions::WindowSize() {
    std::string bytes = {static_cast<char>(kIac), static_cast<char>(kSb),
                         static_cast<char>(kOptionWindowSize)};
    for (const std::uint16_t value : {kColumns, kRows}) {
        AppendByte(bytes, static_cast<unsigned char>(value >> 8));
        AppendByte(bytes, static_cast<unsigned char>(value & 0xff));
    }
    bytes += static_cast<char>(kIac);
    bytes += static_cast<char>(kSe);
    return bytes;
}

}  // namespace olmira
