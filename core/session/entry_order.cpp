#include "session/entry_order.h"

#include <algorithm>
#include <numeric>
#include <string_view>

namespace olmira {

namespace {

int GroupOf(EntryKind kind) {
    switch (kind) {
        case EntryKind::ThisFolder:
            return 0;
        case EntryKind::ParentFolder:
            return 1;
        case EntryKind::Folder:
            return 2;
        case EntryKind::File:
            break;
    }
    return 3;
}

std::string_view WithoutLeadingZeros(std::string_view digits) {
    const std::size_t first = digits.find_first_not_of('0');
    return first == std::string_view::npos ? std::string_view() : digits.substr(first);
}

// Sizes are the box's digits, of any length: the longer number is larger.
int CompareSizes(std::string_view a, std::string_view b) {
    a = WithoutLeadingZeros(a);
    b = WithoutLeadingZeros(b);
    if (a.size() != b.size()) {
        return a.size() < b.size() ? -1 : 1;
    }
    return a.compare(b);
}

int Sign(int value) {
    return (value > 0) - (value < 0);
}

class EntryLess {
public:
    EntryLess(const EntryList& entries, const EntryDates& dates, EntrySort sort)
        : entries_(entries), dates_(dates), sort_(sort) {}

    bool operator()(std::uint32_t a, std::uint32_t b) const {
        const int groupA = GroupOf(entries_.Kind(a));
        const int groupB = GroupOf(entries_.Kind(b));
        if (groupA != groupB) {
            return groupA < groupB;
        }
        int order = Sign(ByKey(a, b));
        if (sort_.descending) {
            order = -order;
        }
        if (order == 0 && sort_.key != SortKey::Name) {
            order = entries_.Caption(a).compare(entries_.Caption(b));
        }
        return order < 0;
    }

private:
    int ByKey(std::uint32_t a, std::uint32_t b) const {
        switch (sort_.key) {
            case SortKey::Size:
                return CompareSizes(entries_.Size(a), entries_.Size(b));
            case SortKey::Date:
                return dates_[a].compare(dates_[b]);
            case SortKey::Name:
                break;
        }
        return entries_.Caption(a).compare(entries_.Caption(b));
    }

    const EntryList& entries_;
    const EntryDates& dates_;
    EntrySort sort_;
};

}  // namespace

// A listing comes in name order mostly, so the check spares the sort then.
std::vector<std::uint32_t> SortedIndices(const EntryList& entries, const EntryDates& dates,
                                         EntrySort sort) {
    std::vector<std::uint32_t> indices(entries.size());
    std::iota(indices.begin(), indices.end(), 0u);
    const EntryLess less(entries, dates, sort);
    if (!std::is_sorted(indices.begin(), indices.end(), less)) {
        std::stable_sort(indices.begin(), indices.end(), less);
    }
    return indices;
}

}  // namespace olmira
