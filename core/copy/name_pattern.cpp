#include "copy/name_pattern.h"

#include <algorithm>
#include <optional>

namespace olmira {

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
    std::size_t matches = 0;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const EntryKind kind = entries.Kind(i);
        if ((kind == EntryKind::Folder || kind == EntryKind::File) &&
            MatchesListedName(caption, entries.Caption(i))) {
            ++matches;
        }
    }
    return matches;
}

std::string ListedCaption(std::string_view name, const EntryList& entries) {
    std::optional<std::string_view> match;
    for (std::size_t i = 0; i < entries.size(); ++i) {
        const std::string_view caption = entries.Caption(i);
        if (caption == name) {
            return std::string(name);
        }
        if (MatchesListedName(caption, name)) {
            if (match) {
                return std::string(name);
            }
            match = caption;
        }
    }
    return std::string(match.value_or(name));
}

}  // namespace olmira
