#include "loopback_server.h"

#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>
#include <cstring>
#include <stdexcept>

namespace olmira::test {
namespace {

[[noreturn]] void Fail(const char* what) {
    throw std::runtime_error(std::string(what) + ": " + std::strerror(errno));
}

// A socket bound to 127.0.0.1 on an ephemeral port.
UniqueFd BindLoopback() {
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    if (!fd.Valid()) {
        Fail("socket");
    }
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) != 0) {
        Fail("bind");
    }
    return fd;
}

int PortOf(const UniqueFd& fd) {
    sockaddr_in address{};
    socklen_t length = sizeof address;
    if (::getsockname(fd.Get(), reinterpret_cast<sockaddr*>(&address), &length) != 0) {
        Fail("getsockname");
    }
    return ntohs(address.sin_port);
}

}  // namespace

LoopbackServer::LoopbackServer() : listener_(BindLoopback()), port_(PortOf(listener_)) {
    if (::listen(listener_.Get(), 1) != 0) {
        Fail("listen");
    }
}

bool LoopbackServer::WaitReadable(int fd, std::chrono::steady_clock::time_point deadline) {
    const auto left = std::chrono::duration_cast<std::chrono::milliseconds>(
        deadline - std::chrono::steady_clock::now());
    pollfd wait{fd, POLLIN, 0};
    return ::poll(&wait, 1, static_cast<int>(std::max<long>(left.count(), 0))) > 0;
}

void LoopbackServer::LimitReceiveBuffer(int bytes) {
    if (::setsockopt(listener_.Get(), SOL_SOCKET, SO_RCVBUF, &bytes, sizeof bytes) != 0) {
        Fail("setsockopt");
    }
}

void LoopbackServer::Accept(std::chrono::milliseconds limit) {
    if (!WaitReadable(listener_.Get(), std::chrono::steady_clock::now() + limit)) {
        throw std::runtime_error("no client connected");
    }
    client_ = UniqueFd(::accept4(listener_.Get(), nullptr, nullptr, SOCK_CLOEXEC));
    if (!client_.Valid()) {
        Fail("accept");
    }
}

void LoopbackServer::Send(std::string_view bytes) {
    while (!bytes.empty()) {
        const ssize_t sent = ::send(client_.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent <= 0) {
            Fail("send");
        }
        bytes.remove_prefix(static_cast<std::size_t>(sent));
    }
}

std::string LoopbackServer::Receive(std::size_t count, std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    std::string received;
    char chunk[65536];
    while (received.size() < count && WaitReadable(client_.Get(), deadline)) {
        const ssize_t got =
            ::recv(client_.Get(), chunk, std::min(sizeof chunk, count - received.size()), 0);
        if (got <= 0) {
            break;
        }
        received.append(chunk, static_cast<std::size_t>(got));
    }
    return received;
}

bool LoopbackServer::ClientClosed(std::chrono::milliseconds limit) {
    const auto deadline = std::chrono::steady_clock::now() + limit;
    char chunk[4096];
    while (WaitReadable(client_.Get(), deadline)) {
        const ssize_t got = ::recv(client_.Get(), chunk, sizeof chunk, 0);
        if (got <= 0) {
            return true;
        }
    }
    return false;
}

RefusingPort::RefusingPort() : socket_(BindLoopback()), port_(PortOf(socket_)) {}

StalledPort::StalledPort() : listener_(BindLoopback()), port_(PortOf(listener_)) {
    if (::listen(listener_.Get(), 0) != 0) {
        Fail("listen");
    }
    filler_ = UniqueFd(::socket(AF_INET, SOCK_STREAM | SOCK_CLOEXEC, 0));
    sockaddr_in address{};
    address.sin_family = AF_INET;
    address.sin_addr.s_addr = htonl(INADDR_LOOPBACK);
    address.sin_port = htons(static_cast<std::uint16_t>(port_));
    if (::connect(filler_.Get(), reinterpret_cast<const sockaddr*>(&address), sizeof address) !=
        0) {
        Fail("connect");
    }
}

}  // namespace olmira::test
