#include "ssh/known_hosts.h"

#include <sstream>

#include "error.h"
#include "settings/whole_file.h"

namespace olmira {

namespace {

constexpr int kStandardPort = 22;

bool NamesHost(std::string_view names, const std::string& pattern) {
    while (!names.empty()) {
        const std::size_t comma = names.find(',');
        if (names.substr(0, comma) == pattern) {
            return true;
        }
        names.remove_prefix(comma == std::string_view::npos ? names.size() : comma + 1);
    }
    return false;
}

// Calls each(line, whole) for every line, whole with its line end.
template <typename Each>
void ForEachLine(std::string_view text, Each each) {
    while (!text.empty()) {
        const std::size_t end = text.find('\n');
        const std::size_t length = end == std::string_view::npos ? text.size() : end + 1;
        std::string_view whole = text.substr(0, length);
        std::string_view line = whole.substr(0, whole.find_first_of("\r\n"));
        each(line, whole);
        text.remove_prefix(length);
    }
}

}  // namespace

std::string HostPattern(const std::string& host, int port) {
    return port == kStandardPort ? host : "[" + host + "]:" + std::to_string(port);
}

std::vector<KnownKey> KnownKeys(std::string_view fileText, const std::string& pattern) {
    std::vector<KnownKey> keys;
    ForEachLine(fileText, [&](std::string_view line, std::string_view) {
        std::istringstream fields{std::string(line)};
        std::string names;
        KnownKey key;
        if (fields >> names >> key.type >> key.base64 && NamesHost(names, pattern)) {
            keys.push_back(std::move(key));
        }
    });
    return keys;
}

std::string WithoutHost(std::string_view fileText, const std::string& pattern, int& removed) {
    std::string kept;
    removed = 0;
    ForEachLine(fileText, [&](std::string_view line, std::string_view whole) {
        std::istringstream fields{std::string(line)};
        std::string names;
        if (fields >> names && NamesHost(names, pattern)) {
            ++removed;
        } else {
            kept += whole;
        }
    });
    return kept;
}

int ForgetHostKeys(const std::string& path, const std::string& host, int port) {
    const WholeFile file = ReadWholeFile(path);
    if (file.ErrorNumber != 0) {
        return 0;
    }
    int removed = 0;
    const std::string kept = WithoutHost(file.Bytes, HostPattern(host, port), removed);
    if (removed > 0 && !ReplaceWholeFile(path, kept)) {
        throw Error("Die Datei " + path + " lässt sich nicht schreiben.");
    }
    return removed;
}

}  // namespace olmira
