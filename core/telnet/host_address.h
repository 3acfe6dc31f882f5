#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>

namespace olmira {

// An IPv4 address in network byte order.
using Ipv4Address = std::uint32_t;

// Four decimal parts of 0 to 255 separated by "."; nothing else.
std::optional<Ipv4Address> ParseDottedQuad(std::string_view text);

// "localhost" in any letter case, a dotted quad, or a name looked up through
// the system's resolver (its first IPv4 answer). Throws olmira::Error with
// the socket error message when there is no address.
Ipv4Address ResolveIpv4(const std::string& host);

}  // namespace olmira
