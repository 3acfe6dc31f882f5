#pragma once

#include <cstddef>
#include <string>
#include <vector>

namespace olmira::test {

// Just enough Telnet to reach the box's shell: every option the box offers or
// asks for is refused (binary mode too, so the telnetd passes input on as it
// does for a client that never asks), and command sequences are kept out of
// the text.
class BareTelnet {
public:
    // Connected to the box's Telnet service on 127.0.0.1:23.
    BareTelnet();
    // Over `socket`, a connected socket of any kind, which it then owns.
    explicit BareTelnet(int socket);
    ~BareTelnet();
    BareTelnet(const BareTelnet&) = delete;
    BareTelnet& operator=(const BareTelnet&) = delete;

    void SendLine(const std::string& line) { Send(line + "\r\n"); }

    // The text up to and including `marker`; what follows waits for the next read.
    std::string ReadUntil(const std::string& marker);

    // Everything until the box closes the connection.
    std::string ReadToEnd();

    // The size of each receive so far, Telnet commands included.
    const std::vector<std::size_t>& Pieces() const { return pieces_; }

private:
    enum class Parse { Text, Command, Option, Subnegotiation, SubnegotiationEnd };

    bool ReceiveSome();
    void Absorb(unsigned char byte);
    void Refuse(unsigned char option);
    void Send(const std::string& bytes);

    int socket_;
    std::string text_;
    std::vector<std::size_t> pieces_;
    Parse parse_ = Parse::Text;
    unsigned char command_ = 0;
};

// The prompt of the box this process runs in.
std::string Prompt();

// Answers the box's login and password prompts; returns what came before the
// login prompt (the greeting, or what the last try was answered with).
std::string AnswerLogin(BareTelnet& box, const std::string& user, const std::string& password);

// Answers them and waits for the shell's first prompt.
void LogIn(BareTelnet& box, const std::string& user, const std::string& password);

// The reply's lines before the next prompt.
std::vector<std::string> ReplyLines(BareTelnet& box, const std::string& commandLine);

}  // namespace olmira::test
