#pragma once

#include <string>

#include "error.h"

namespace olmira {

// The number under which a socket failure is reported: 10000 plus the
// 4.3BSD number of the error, the numbering users of the box know.
int SocketErrorNumber(int errnoValue);
// A host name that cannot be resolved.
inline constexpr int kHostNotFound = 11001;

// "Socket Error # <number>" CR LF <text of the number>; empty text for a
// number without one.
std::string SocketErrorMessage(int number);

Error SocketError(int errnoValue);
// Failure of getaddrinfo (its EAI_* code).
Error ResolverError(int eaiCode);

}  // namespace olmira
