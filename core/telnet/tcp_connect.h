#pragma once

#include <string>

#include "telnet/unique_fd.h"

namespace olmira {

// Opens an IPv4 TCP connection from any local address and port to host and
// port, and returns the connected, blocking socket. Waits as long as the
// system lets a connect take; becoming readable, cancelFd (if not -1) ends
// the wait early and an invalid UniqueFd is returned. Throws olmira::Error
// with the user's text on failure.
UniqueFd ConnectTcp(const std::string& host, int port, int cancelFd = -1);

}  // namespace olmira
