#include "telnet/telnet_socket.h"

#include <sys/socket.h>

#include <cerrno>

#include "error.h"
#include "telnet/socket_error.h"

namespace olmira {
namespace {

bool MeansConnectionGone(int error) {
    return error == EPIPE || error == ESHUTDOWN || error == ECONNABORTED || error == ECONNRESET;
}

}  // namespace

void TelnetSocket::Close() {
    closed_ = true;
    ::shutdown(fd_.Get(), SHUT_RDWR);
}

void TelnetSocket::WriteAll(std::string_view bytes) {
    std::lock_guard lock(writeMutex_);
    while (!bytes.empty()) {
        if (closed_) {
            throw Error("Disconnected.");
        }
        // MSG_NOSIGNAL: a box that went away must not end the program.
        const ssize_t sent = ::send(fd_.Get(), bytes.data(), bytes.size(), MSG_NOSIGNAL);
        if (sent > 0) {
            bytes.remove_prefix(static_cast<std::size_t>(sent));
        } else if (sent < 0 && errno == EINTR) {
            continue;
        } else {
            FailWrite(sent == 0 ? 0 : errno);
        }
    }
}

void TelnetSocket::FailWrite(int error) {
    if (error == 0) {
        Close();
        throw Error("Connection Closed Gracefully.");
    }
    if (closed_) {
        // Closed by the other thread while we were sending.
        throw Error("Disconnected.");
    }
    if (MeansConnectionGone(error)) {
        Close();
    }
    throw SocketError(error);
}

}  // namespace olmira
