#include "listening_box.h"

#include <arpa/inet.h>
#include <netinet/in.h>
#include <poll.h>
#include <sys/socket.h>

#include <array>
#include <stdexcept>

namespace {

constexpr int kPollMs = 20;

sockaddr_in Port23(const char* address) {
    sockaddr_in where{};
    where.sin_family = AF_INET;
    where.sin_port = htons(23);
    ::inet_pton(AF_INET, address, &where.sin_addr);
    return where;
}

olmira::UniqueFd ListenOn(const char* address, int backlog = 1) {
    olmira::UniqueFd listener(::socket(AF_INET, SOCK_STREAM, 0));
    const int yes = 1;
    ::setsockopt(listener.Get(), SOL_SOCKET, SO_REUSEADDR, &yes, sizeof yes);
    sockaddr_in where = Port23(address);
    if (!listener.Valid() ||
        ::bind(listener.Get(), reinterpret_cast<sockaddr*>(&where), sizeof where) != 0 ||
        ::listen(listener.Get(), backlog) != 0) {
        throw std::runtime_error(std::string("cannot listen on ") + address + ":23");
    }
    return listener;
}

}  // namespace

ListeningBox::ListeningBox(const char* address) {
    server_ =
        std::thread([this, listener = ListenOn(address)]() mutable { Serve(listener.Get()); });
}

ListeningBox::~ListeningBox() {
    stop_ = true;
    server_.join();
}

bool ListeningBox::WaitReadable(int fd) const {
    pollfd wanted{fd, POLLIN, 0};
    while (!stop_) {
        if (::poll(&wanted, 1, kPollMs) > 0) {
            return true;
        }
    }
    return false;
}

void ListeningBox::Serve(int listener) {
    if (!WaitReadable(listener)) {
        return;
    }
    const olmira::UniqueFd connection(::accept(listener, nullptr, nullptr));
    std::array<char, 4096> block{};
    while (connection.Valid() && WaitReadable(connection.Get())) {
        const ssize_t got = ::recv(connection.Get(), block.data(), block.size(), 0);
        const std::lock_guard lock(mutex_);
        if (got <= 0) {
            connectionClosed_ = true;
            closed_.notify_all();
            return;
        }
        received_.append(block.data(), static_cast<std::size_t>(got));
    }
}

std::optional<std::string> ListeningBox::ReceivedUntilClosed(std::chrono::milliseconds timeout) {
    std::unique_lock lock(mutex_);
    if (!closed_.wait_for(lock, timeout, [this] { return connectionClosed_; })) {
        return std::nullopt;
    }
    return received_;
}

FullHost::FullHost(const char* address) : listener_(ListenOn(address, 0)) {
    queued_ = olmira::UniqueFd(::socket(AF_INET, SOCK_STREAM, 0));
    const sockaddr_in where = Port23(address);
    if (::connect(queued_.Get(), reinterpret_cast<const sockaddr*>(&where), sizeof where) != 0) {
        throw std::runtime_error(std::string("cannot fill the queue of ") + address + ":23");
    }
}
