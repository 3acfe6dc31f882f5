#include "copy/given_name.h"

#include <algorithm>
#include <string>
#include <vector>

#include "copy/name_pattern.h"
#include "error.h"
#include "tidy/tidy_texts.h"

namespace olmira {

namespace {

// Whether the entry listed as caption could be the one name holds the bytes
// of. A "?" that name holds itself goes to the box's shell as a pattern, so
// an entry it would match there counts too: the choice must be the shell's.
bool MayStandFor(std::string_view name, std::string_view caption) {
    const std::string_view shown = BareName(caption);
    return name.size() == shown.size() &&
           std::equal(name.begin(), name.end(), shown.begin(), [](char byte, char listed) {
               return byte == '?' || ByteListedAs(byte, listed);
           });
}

}  // namespace

std::optional<ListEntry> FindGiven(std::string_view name, const EntryList& listing) {
    std::vector<std::size_t> fits;
    for (std::size_t i = 0; i < listing.size(); ++i) {
        if (!IsFolderOrFile(listing.Kind(i))) {
            continue;
        }
        if (BareName(listing.Caption(i)) == name) {
            return listing[i];
        }
        if (MayStandFor(name, listing.Caption(i))) {
            fits.push_back(i);
        }
    }
    if (fits.empty()) {
        return std::nullopt;
    }
    if (fits.size() > 1) {
        std::string shown;
        for (const std::size_t row : fits) {
            shown += (shown.empty() ? "" : ", ") + Quoted(BareName(listing.Caption(row)));
        }
        throw Error(Quoted(name) + " passt auf der Box zu mehreren Einträgen (" + shown +
                    "); bitte zuerst einen davon anders benennen.");
    }
    ListEntry entry = listing[fits.front()];
    entry.caption = std::string(name) + (entry.kind == EntryKind::Folder ? "/" : "");
    return entry;
}

}  // namespace olmira
