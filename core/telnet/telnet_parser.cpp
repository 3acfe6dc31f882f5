#include "telnet/telnet_parser.h"

#include <cstring>

namespace olmira {

using namespace telnet;

namespace {

constexpr char kTerminalTypeIs = 0;
constexpr char kTerminalTypeSend = 1;

TelnetVerb RequestVerb(TelnetState state) {
    switch (state) {
        case TelnetState::GotWill:
            return TelnetVerb::Will;
        case TelnetState::GotWont:
            return TelnetVerb::Wont;
        case TelnetState::GotDo:
            return TelnetVerb::Do;
        default:
            return TelnetVerb::Dont;
    }
}

}  // namespace

void TelnetParser::Start(TelnetSink& sink) {
    sink.OnAnswer(options_.Opening());
}

void TelnetParser::Feed(std::string_view bytes, TelnetSink& sink) {
    const char* at = bytes.data();
    const char* const end = at + bytes.size();
    while (at != end) {
        if (state_ == TelnetState::Data) {
            at = PassData(at, end, sink);
        } else {
            Step(at++, sink);
        }
    }
}

// Plain text is the common case: hand it on in one run up to the next IAC.
const char* TelnetParser::PassData(const char* from, const char* end, TelnetSink& sink) {
    const auto* iac = static_cast<const char*>(std::memchr(from, kIac, end - from));
    const char* runEnd = iac != nullptr ? iac : end;
    if (runEnd != from) {
        sink.OnData({from, static_cast<std::size_t>(runEnd - from)});
    }
    if (iac == nullptr) {
        return end;
    }
    state_ = TelnetState::Command;
    return iac + 1;
}

void TelnetParser::Step(const char* at, TelnetSink& sink) {
    const auto byte = static_cast<unsigned char>(*at);
    switch (state_) {
        case TelnetState::Command:
            CommandByte(at, sink);
            break;
        case TelnetState::GotWill:
        case TelnetState::GotWont:
        case TelnetState::GotDo:
        case TelnetState::GotDont:
            AnswerRequest(byte, sink);
            state_ = TelnetState::Data;
            break;
        case TelnetState::SubOption:
            params_.clear();
            state_ = byte == kIac ? TelnetState::SubOptionIac : TelnetState::SubData;
            break;
        case TelnetState::SubOptionIac:
            state_ = TelnetState::Data;
            break;
        case TelnetState::SubData:
            if (byte == kIac) {
                state_ = TelnetState::SubDataIac;
            } else {
                params_.push_back(*at);
            }
            break;
        case TelnetState::SubDataIac:
            SubDataIacByte(byte, sink);
            break;
        case TelnetState::Data:
            break;
    }
}

void TelnetParser::CommandByte(const char* at, TelnetSink& sink) {
    switch (static_cast<unsigned char>(*at)) {
        case kIac:
            sink.OnData({at, 1});
            state_ = TelnetState::Data;
            break;
        case kSb:
            state_ = TelnetState::SubOption;
            break;
        case kWill:
            state_ = TelnetState::GotWill;
            break;
        case kWont:
            state_ = TelnetState::GotWont;
            break;
        case kDo:
            state_ = TelnetState::GotDo;
            break;
        case kDont:
            state_ = TelnetState::GotDont;
            break;
        default:
            // NOP, GA, EOR and the other one-byte commands mean nothing to us.
            state_ = TelnetState::Data;
            break;
    }
}

void TelnetParser::SubDataIacByte(unsigned char byte, TelnetSink& sink) {
    switch (byte) {
        case kSe:
            EvaluateSubnegotiation(sink);
            state_ = TelnetState::Data;
            break;
        case kSb:
            EvaluateSubnegotiation(sink);
            state_ = TelnetState::SubOption;
            break;
        case kIac:
            params_.push_back(static_cast<char>(kIac));
            state_ = TelnetState::SubData;
            break;
        default:
            state_ = TelnetState::Data;
            break;
    }
}

void TelnetParser::AnswerRequest(unsigned char option, TelnetSink& sink) {
    const std::string answer = options_.Answer(RequestVerb(state_), option);
    if (!answer.empty()) {
        sink.OnAnswer(answer);
    }
}

// Only one subnegotiation ever reaches us in practice, the terminal-type
// SEND, so its option byte is not looked at.
void TelnetParser::EvaluateSubnegotiation(TelnetSink& sink) {
    if (params_.size() != 1 || params_[0] != kTerminalTypeSend) {
        return;
    }
    if (terminal_.empty()) {
        terminal_ = "dumb";
    }
    const char head[] = {static_cast<char>(kIac), static_cast<char>(kSb),
                         static_cast<char>(kOptionTerminalType), kTerminalTypeIs};
    const char tail[] = {static_cast<char>(kIac), static_cast<char>(kSe)};
    terminalAnswer_.assign(head, sizeof head);
    terminalAnswer_.append(terminal_);
    terminalAnswer_.append(tail, sizeof tail);
    sink.OnAnswer(terminalAnswer_);
}

}  // namespace olmira
