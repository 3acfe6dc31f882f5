#include "telnet/tcp_connect.h"

#include <fcntl.h>
#include <netinet/in.h>
#include <netinet/tcp.h>
#include <poll.h>
#include <sys/socket.h>

#include <cerrno>

#include "error.h"
#include "telnet/host_address.h"
#include "telnet/socket_error.h"

namespace olmira {
namespace {

UniqueFd OpenBoundSocket() {
    UniqueFd fd(::socket(AF_INET, SOCK_STREAM | SOCK_NONBLOCK | SOCK_CLOEXEC, 0));
    if (!fd.Valid()) {
        throw Error("Cannot allocate socket.");
    }
    sockaddr_in local{};
    local.sin_family = AF_INET;
    local.sin_addr.s_addr = htonl(INADDR_ANY);
    if (::bind(fd.Get(), reinterpret_cast<const sockaddr*>(&local), sizeof local) != 0) {
        throw Error("Could not bind socket. Address and port are already in use.");
    }
    return fd;
}

// False when cancelFd woke us first.
bool AwaitConnected(int fd, int cancelFd) {
    pollfd waits[] = {{fd, POLLOUT, 0}, {cancelFd, POLLIN, 0}};
    while (::poll(waits, 2, -1) < 0) {
        if (errno != EINTR) {
            throw SocketError(errno);
        }
    }
    if (waits[1].revents != 0) {
        return false;
    }
    int error = 0;
    socklen_t length = sizeof error;
    if (::getsockopt(fd, SOL_SOCKET, SO_ERROR, &error, &length) != 0) {
        throw SocketError(errno);
    }
    if (error != 0) {
        throw SocketError(error);
    }
    return true;
}

// Each write is a whole line or answer: holding one back until the box has
// acknowledged the one before (Nagle) would only delay it, by as much as the
// box delays its acknowledgement.
void SendAtOnce(int fd) {
    const int on = 1;
    if (::setsockopt(fd, IPPROTO_TCP, TCP_NODELAY, &on, sizeof on) != 0) {
        throw SocketError(errno);
    }
}

void MakeBlocking(int fd) {
    const int flags = ::fcntl(fd, F_GETFL);
    if (flags < 0 || ::fcntl(fd, F_SETFL, flags & ~O_NONBLOCK) != 0) {
        throw SocketError(errno);
    }
}

}  // namespace

UniqueFd ConnectTcp(const std::string& host, int port, int cancelFd) {
    UniqueFd fd = OpenBoundSocket();
    sockaddr_in remote{};
    remote.sin_family = AF_INET;
    remote.sin_addr.s_addr = ResolveIpv4(host);
    remote.sin_port = htons(static_cast<std::uint16_t>(port));
    // Non-blocking only so that a cancel can interrupt the wait; the
    // system's own connect time-out still applies.
    if (::connect(fd.Get(), reinterpret_cast<const sockaddr*>(&remote), sizeof remote) != 0) {
        if (errno != EINPROGRESS && errno != EINTR) {
            throw SocketError(errno);
        }
        if (!AwaitConnected(fd.Get(), cancelFd)) {
            return {};
        }
    }
    MakeBlocking(fd.Get());
    SendAtOnce(fd.Get());
    return fd;
}

}  // namespace olmira
