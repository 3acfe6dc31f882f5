#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <string_view>
#include <vector>

#include "conversation/reply_lines.h"

namespace olmira {

// How the box lists when an entry was last changed: "2026-12-09 14:03", in
// its own local time.
inline constexpr std::size_t kListedDateLength = 16;

// When each of a pane's entries was last changed, by entry index. The dates
// come after the entries, by a command of their own, so a folder of 100,000
// entries is shown without waiting for them.
class EntryDates {
public:
    EntryDates() = default;
    explicit EntryDates(std::size_t entries);

    // A date of another length is left out.
    void Set(std::size_t index, std::string_view date);
    // Empty where the box gave none.
    std::string_view operator[](std::size_t index) const;
    bool empty() const { return text_.empty(); }

private:
    // kListedDateLength bytes an entry, blanks for none.
    std::string text_;
};

using SharedDates = std::shared_ptr<const EntryDates>;
const SharedDates& NoDates();

inline constexpr std::uint32_t kNotListed = UINT32_MAX;

// Where a listing's entries stand in the box's own order, which the dates
// follow: the folders come first in a pane, and a running job's temporary
// copies are left out.
struct ListedOrder {
    // Per entry, the ordinal of its line among the listing's entry lines;
    // kNotListed for ./ and ../.
    std::vector<std::uint32_t> lineOf;
    // The listing's entry lines, those left out included.
    std::uint32_t lines = 0;
};

// The dates of a listing's entries from the reply to DatesCommand: one date
// line for each entry line of the listing, in the same order. None at all
// where their number differs, as when the folder changed in between.
EntryDates ListedDates(const ReplyLines& replyLines, const ListedOrder& order);

}  // namespace olmira
