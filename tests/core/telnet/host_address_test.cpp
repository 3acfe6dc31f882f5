#include "telnet/host_address.h"

#include <arpa/inet.h>
#include <gtest/gtest.h>

#include "error.h"

namespace olmira {
namespace {

std::string Dotted(Ipv4Address address) {
    char text[INET_ADDRSTRLEN];
    in_addr raw{address};
    return inet_ntop(AF_INET, &raw, text, sizeof text);
}

TEST(ParseDottedQuad, AcceptsFourPartsUpTo255) {
    for (const char* text : {"192.168.0.10", "0.0.0.0", "255.255.255.255", "10.0.0.01"}) {
        const auto address = ParseDottedQuad(text);
        ASSERT_TRUE(address.has_value()) << text;
    }
    EXPECT_EQ(Dotted(*ParseDottedQuad("192.168.0.10")), "192.168.0.10");
    EXPECT_EQ(Dotted(*ParseDottedQuad("10.0.0.010")), "10.0.0.10");
}

TEST(ParseDottedQuad, RejectsAnythingElse) {
    for (const char* text :
         {"192.168.0.300", "192.168.0", "1.2.3.4.5", "1..2.3", ".1.2.3", "1.2.3.", "1.2.3.x", "box",
          "", " 1.2.3.4", "1.2.3.4 ", "-1.2.3.4", "1.2.3.99999999999"}) {
        EXPECT_FALSE(ParseDottedQuad(text).has_value()) << text;
    }
}

TEST(ResolveIpv4, LocalhostInAnyCaseIsLoopbackWithoutLookUp) {
    for (const char* text : {"localhost", "LOCALHOST", "LocalHost"}) {
        EXPECT_EQ(Dotted(ResolveIpv4(text)), "127.0.0.1") << text;
    }
}

TEST(ResolveIpv4, DottedQuadUsedAsItIs) {
    EXPECT_EQ(Dotted(ResolveIpv4("10.1.2.3")), "10.1.2.3");
}

}  // namespace
}  // namespace olmira
