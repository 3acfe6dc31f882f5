#include "telnet/host_address.h"

#include <arpa/inet.h>
#include <netdb.h>
#include <netinet/in.h>
#include <sys/socket.h>

#include <algorithm>
#include <cctype>
#include <memory>

#include "telnet/socket_error.h"

namespace olmira {
namespace {

constexpr int kPartCount = 4;
constexpr unsigned kPartMax = 255;

// Reads one part up to the next "." or the end; nullopt unless it is a
// whole number in range.
std::optional<unsigned> ReadPart(std::string_view& rest) {
    const auto length = std::min(rest.find('.'), rest.size());
    if (length == 0) {
        return std::nullopt;
    }
    unsigned value = 0;
    for (const char digit : rest.substr(0, length)) {
        if (digit < '0' || digit > '9') {
            return std::nullopt;
        }
        value = value * 10 + static_cast<unsigned>(digit - '0');
        if (value > kPartMax) {
            return std::nullopt;
        }
    }
    rest.remove_prefix(length);
    return value;
}

bool IsLocalhost(std::string_view host) {
    constexpr std::string_view kLocalhost = "localhost";
    return std::equal(
        host.begin(), host.end(), kLocalhost.begin(), kLocalhost.end(),
        [](char a, char b) { return std::tolower(static_cast<unsigned char>(a)) == b; });
}

struct AddrInfoFree {
    void operator()(addrinfo* info) const { freeaddrinfo(info); }
};

Ipv4Address LookUp(const std::string& host) {
    addrinfo hints{};
    hints.ai_family = AF_INET;
    hints.ai_socktype = SOCK_STREAM;
    addrinfo* found = nullptr;
    const int status = getaddrinfo(host.c_str(), nullptr, &hints, &found);
    if (status != 0) {
        throw ResolverError(status);
    }
    const std::unique_ptr<addrinfo, AddrInfoFree> answers(found);
    for (const addrinfo* answer = found; answer != nullptr; answer = answer->ai_next) {
        if (answer->ai_family == AF_INET) {
            return reinterpret_cast<const sockaddr_in*>(answer->ai_addr)->sin_addr.s_addr;
        }
    }
    throw ResolverError(EAI_NONAME);
}

}  // namespace

std::optional<Ipv4Address> ParseDottedQuad(std::string_view text) {
    std::uint32_t address = 0;
    for (int part = 0; part < kPartCount; ++part) {
        if (part > 0) {
            if (text.empty() || text.front() != '.') {
                return std::nullopt;
            }
            text.remove_prefix(1);
        }
        const auto value = ReadPart(text);
        if (!value) {
            return std::nullopt;
        }
        address = address << 8 | *value;
    }
    if (!text.empty()) {
        return std::nullopt;
    }
    return htonl(address);
}

Ipv4Address ResolveIpv4(const std::string& host) {
    if (IsLocalhost(host)) {
        return htonl(INADDR_LOOPBACK);
    }
    if (const auto quad = ParseDottedQuad(host)) {
        return *quad;
    }
    return LookUp(host);
}

}  // namespace olmira
