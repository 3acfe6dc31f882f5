#include "bare_telnet.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>
#include <unistd.h>

#include <stdexcept>
#include <utility>

#include "simbox_env.h"

namespace olmira::test {
namespace {

enum Byte : unsigned char {
    SE = 240,
    SB = 250,
    WILL = 251,
    WONT = 252,
    DO = 253,
    DONT = 254,
    IAC = 255
};

int ConnectToTheBox() {
    const int socket = ::socket(AF_INET, SOCK_STREAM, 0);
    sockaddr_in box{};
    box.sin_family = AF_INET;
    box.sin_port = htons(23);
    box.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (socket < 0 || ::connect(socket, reinterpret_cast<sockaddr*>(&box), sizeof box) != 0) {
        ::close(socket);
        throw std::runtime_error("no box on 127.0.0.1:23");
    }
    return socket;
}

}  // namespace

BareTelnet::BareTelnet() : BareTelnet(ConnectToTheBox()) {}

BareTelnet::BareTelnet(int socket) : socket_(socket) {}

BareTelnet::~BareTelnet() {
    ::close(socket_);
}

std::string BareTelnet::ReadUntil(const std::string& marker) {
    std::size_t found;
    while ((found = text_.find(marker)) == std::string::npos) {
        if (!ReceiveSome()) {
            throw std::runtime_error("the box never sent \"" + marker + "\", only: " + text_);
        }
    }
    const auto end = found + marker.size();
    std::string head = text_.substr(0, end);
    text_.erase(0, end);
    return head;
}

std::string BareTelnet::ReadToEnd() {
    while (ReceiveSome()) {
    }
    return std::exchange(text_, {});
}

// False when the box has closed the connection or stayed silent too long.
bool BareTelnet::ReceiveSome() {
    pollfd ready{socket_, POLLIN, 0};
    if (::poll(&ready, 1, 10'000) != 1) {
        return false;
    }
    char block[4096];
    const auto received = ::recv(socket_, block, sizeof block, 0);
    if (received > 0) {
        pieces_.push_back(static_cast<std::size_t>(received));
    }
    for (ssize_t i = 0; i < received; ++i) {
        Absorb(static_cast<unsigned char>(block[i]));
    }
    return received > 0;
}

void BareTelnet::Absorb(unsigned char byte) {
    switch (parse_) {
        case Parse::Text:
            if (byte == IAC) {
                parse_ = Parse::Command;
            } else {
                text_ += static_cast<char>(byte);
            }
            break;
        case Parse::Command:
            command_ = byte;
            parse_ = byte == SB                     ? Parse::Subnegotiation
                     : byte >= WILL && byte <= DONT ? Parse::Option
                                                    : Parse::Text;
            break;
        case Parse::Option:
            Refuse(byte);
            parse_ = Parse::Text;
            break;
        case Parse::Subnegotiation:
            parse_ = byte == IAC ? Parse::SubnegotiationEnd : Parse::Subnegotiation;
            break;
        case Parse::SubnegotiationEnd:
            parse_ = byte == SE ? Parse::Text : Parse::Subnegotiation;
            break;
    }
}

void BareTelnet::Refuse(unsigned char option) {
    if (command_ == WILL || command_ == DO) {
        const unsigned char refusal = command_ == WILL ? DONT : WONT;
        Send(std::string{static_cast<char>(IAC), static_cast<char>(refusal),
                         static_cast<char>(option)});
    }
}

void BareTelnet::Send(const std::string& bytes) {
    std::size_t sent = 0;
    while (sent < bytes.size()) {
        const auto written =
            ::send(socket_, bytes.data() + sent, bytes.size() - sent, MSG_NOSIGNAL);
        if (written <= 0) {
            throw std::runtime_error("the box closed the connection");
        }
        sent += static_cast<std::size_t>(written);
    }
}

std::string Prompt() {
    return FindSimbox().value_or(SimboxEnv{}).Prompt();
}

std::string AnswerLogin(BareTelnet& box, const std::string& user, const std::string& password) {
    std::string before = box.ReadUntil("login: ");
    box.SendLine(user);
    box.ReadUntil("Password: ");
    box.SendLine(password);
    return before;
}

void LogIn(BareTelnet& box, const std::string& user, const std::string& password) {
    AnswerLogin(box, user, password);
    box.ReadUntil(Prompt());
}

std::vector<std::string> ReplyLines(BareTelnet& box, const std::string& commandLine) {
    box.SendLine(commandLine);
    const std::string reply = box.ReadUntil(Prompt());
    std::vector<std::string> lines;
    std::size_t start = 0;
    for (std::size_t end; (end = reply.find("\r\n", start)) != std::string::npos; start = end + 2) {
        lines.push_back(reply.substr(start, end - start));
    }
    return lines;
}

}  // namespace olmira::test
