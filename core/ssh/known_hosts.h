#pragma once

#include <string>
#include <string_view>
#include <vector>

namespace olmira {

// How a known_hosts line names a box: its address alone on port 22,
// "[address]:port" on any other.
std::string HostPattern(const std::string& host, int port);

// A key the file keeps: its type ("ssh-ed25519") and its base64 text.
struct KnownKey {
    std::string type;
    std::string base64;
};

// The keys of the lines that name pattern among their comma-separated names.
std::vector<KnownKey> KnownKeys(std::string_view fileText, const std::string& pattern);

// The file's text without the lines that name pattern; the others stay byte
// for byte. removed tells how many went.
std::string WithoutHost(std::string_view fileText, const std::string& pattern, int& removed);

// Forgets the box's keys in the file at path, so that the next connection
// asks about the key it shows; how many were kept. A missing file keeps none.
// Throws olmira::Error when the file cannot be rewritten.
int ForgetHostKeys(const std::string& path, const std::string& host, int port);

}  // namespace olmira
