#include "telnet/socket_error.h"

#include <netdb.h>

#include <cerrno>

#include <gtest/gtest.h>

namespace olmira {
namespace {

TEST(SocketErrorMessage, NumberThenCrLfThenText) {
    EXPECT_EQ(SocketErrorMessage(10061), "Socket Error # 10061\r\nConnection refused.");
    EXPECT_EQ(SocketErrorMessage(11001), "Socket Error # 11001\r\nHost not found.");
    EXPECT_EQ(SocketErrorMessage(10035), "Socket Error # 10035\r\nOperation would block. ");
    EXPECT_EQ(SocketErrorMessage(10066), "Socket Error # 10066\r\nDirectory not empty");
}

TEST(SocketErrorMessage, UnknownNumberHasNoText) {
    EXPECT_EQ(SocketErrorMessage(10001), "Socket Error # 10001\r\n");
}

// Linux numbers its errors differently from BSD; the numbers users know
// must come out all the same.
TEST(SocketErrorNumber, MapsByMeaning) {
    const std::pair<int, int> cases[] = {
        {ECONNREFUSED, 10061}, {ETIMEDOUT, 10060},    {ENETUNREACH, 10051}, {EHOSTUNREACH, 10065},
        {ECONNRESET, 10054},   {ECONNABORTED, 10053}, {EPIPE, 10058},       {ESHUTDOWN, 10058},
        {EADDRINUSE, 10048},   {EINTR, 10004},        {EWOULDBLOCK, 10035}, {ENOTEMPTY, 10066},
    };
    for (const auto& [errnoValue, number] : cases) {
        EXPECT_EQ(SocketErrorNumber(errnoValue), number) << errnoValue;
    }
}

TEST(ResolverError, EveryLookUpFailureIsHostNotFound) {
    for (const int code : {EAI_NONAME, EAI_FAIL, EAI_AGAIN}) {
        EXPECT_STREQ(ResolverError(code).what(), "Socket Error # 11001\r\nHost not found.");
    }
}

}  // namespace
}  // namespace olmira
