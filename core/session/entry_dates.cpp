#include "session/entry_dates.h"

#include "tidy/tidy_commands.h"

namespace olmira {

namespace {

constexpr char kNoDate = ' ';

}  // namespace

EntryDates::EntryDates(std::size_t entries) : text_(entries * kListedDateLength, kNoDate) {}

void EntryDates::Set(std::size_t index, std::string_view date) {
    if (date.size() == kListedDateLength && (index + 1) * kListedDateLength <= text_.size()) {
        text_.replace(index * kListedDateLength, kListedDateLength, date);
    }
}

std::string_view EntryDates::operator[](std::size_t index) const {
    if ((index + 1) * kListedDateLength > text_.size() ||
        text_[index * kListedDateLength] == kNoDate) {
        return {};
    }
    return std::string_view(text_).substr(index * kListedDateLength, kListedDateLength);
}

const SharedDates& NoDates() {
    static const SharedDates none = std::make_shared<const EntryDates>();
    return none;
}

EntryDates ListedDates(const ReplyLines& replyLines, const ListedOrder& order) {
    std::vector<std::string_view> dates;
    // Between the echo and the prompt.
    for (std::size_t i = 1; i + 1 < replyLines.size(); ++i) {
        if (HasShape(replyLines[i], "9999-99-99 99:99")) {
            dates.push_back(replyLines[i]);
        }
    }
    if (dates.size() != order.lines) {
        return {};
    }
    EntryDates result(order.lineOf.size());
    for (std::size_t entry = 0; entry < order.lineOf.size(); ++entry) {
        if (order.lineOf[entry] != kNotListed) {
            result.Set(entry, dates[order.lineOf[entry]]);
        }
    }
    return result;
}

}  // namespace olmira
