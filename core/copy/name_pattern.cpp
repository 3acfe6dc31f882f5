#include "copy/name_pattern.h"

#include <algorithm>

namespace olmira {

namespace {

// How many folders and files of entries have a caption that fits.
template <class Fits>
std::size_t CountListed(const EntryList& entries, Fits fits) {
    std::size_t count = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        if (IsFolderOrFile(entries.Kind(i)) && fits(entries.Caption(i))) {
            ++count;
        }
    }
    return count;
}

}  // namespace

std::string_view BareName(std::string_view caption) {
    if (!caption.empty() && caption.back() == '/') {
        caption.remove_suffix(1);
    }
    return caption;
}

bool MatchesListedName(std::string_view caption, std::string_view other) {
    const std::string_view pattern = BareName(caption);
    const std::string_view name = BareName(other);
    return pattern.size() == name.size() &&
           std::equal(pattern.begin(), pattern.end(), name.begin(),
                      [](char p, char n) { return p == '?' || p == n; });
}

std::size_t CountMatches(std::string_view caption, const EntryList& entries) {
    return CountListed(
        entries, [caption](std::string_view listed) { return MatchesListedName(caption, listed); });
}

bool ByteListedAs(char byte, char shown) {
    const bool printable = byte >= ' ' && byte <= '~';
    return byte == shown || (shown == '?' && !printable);
}

bool ListedAs(std::string_view name, std::string_view caption) {
    const std::string_view bytes = BareName(name);
    const std::string_view shown = BareName(caption);
    return bytes.size() == shown.size() &&
           std::equal(bytes.begin(), bytes.end(), shown.begin(), ByteListedAs);
}

bool ListsName(std::string_view name, const EntryList& entries) {
    return CountListed(entries, [name](std::string_view listed) {
               return MatchesListedName(name, listed) || ListedAs(name, listed);
           }) > 0;
}

}  // namespace olmira
