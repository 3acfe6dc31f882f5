#include "session/entry_order.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace olmira {
namespace {

// A folder below a drive's root as a listing gives it: "./", "../", the
// folders and then the files, each in the box's order, and their dates.
struct Listing {
    EntryList entries;
    EntryDates dates;
};

EntryDates DatesOf(std::initializer_list<std::string_view> dates) {
    EntryDates made(dates.size());
    std::size_t index = 0;
    for (const std::string_view date : dates) {
        made.Set(index++, date);
    }
    return made;
}

const Listing& Listed() {
    static const Listing listing{
        {
            {"./", EntryKind::ThisFolder, ""},
            {"../", EntryKind::ParentFolder, ""},
            {"Serien/", EntryKind::Folder, ""},
            {"Alt/", EntryKind::Folder, ""},
            {"b.ts", EntryKind::File, "900"},
            {"A.ts", EntryKind::File, "10000"},
            {"c.crid", EntryKind::File, "4"},
            {"a.ts", EntryKind::File, "900"},
            {"z.ts", EntryKind::File, "0012"},
        },
        DatesOf({"", "", "2026-01-05 10:00", "2019-03-01 08:00", "2026-12-09 14:03",
                 "2024-05-05 05:05", "", "2026-12-09 14:03", "2025-07-01 12:00"}),
    };
    return listing;
}

std::vector<std::string> Captions(const Listing& listing, EntrySort sort) {
    std::vector<std::string> captions;
    for (const std::uint32_t index : SortedIndices(listing.entries, listing.dates, sort)) {
        captions.emplace_back(listing.entries.Caption(index));
    }
    return captions;
}

TEST(SortedIndicesTest, FoldersFirstSpecialEntriesOnTopEitherWay) {
    struct Case {
        EntrySort sort;
        std::vector<std::string> captions;
    };
    const std::vector<Case> cases = {
        {{SortKey::Name, false},
         {"./", "../", "Alt/", "Serien/", "A.ts", "a.ts", "b.ts", "c.crid", "z.ts"}},
        {{SortKey::Name, true},
         {"./", "../", "Serien/", "Alt/", "z.ts", "c.crid", "b.ts", "a.ts", "A.ts"}},
        // As numbers, not as text; equal sizes and folders by name.
        {{SortKey::Size, false},
         {"./", "../", "Alt/", "Serien/", "c.crid", "z.ts", "a.ts", "b.ts", "A.ts"}},
        {{SortKey::Size, true},
         {"./", "../", "Alt/", "Serien/", "A.ts", "a.ts", "b.ts", "z.ts", "c.crid"}},
        // No date is the oldest; equal dates by name.
        {{SortKey::Date, false},
         {"./", "../", "Alt/", "Serien/", "c.crid", "A.ts", "z.ts", "a.ts", "b.ts"}},
        {{SortKey::Date, true},
         {"./", "../", "Serien/", "Alt/", "a.ts", "b.ts", "z.ts", "A.ts", "c.crid"}},
    };
    for (const Case& c : cases) {
        EXPECT_EQ(Captions(Listed(), c.sort), c.captions)
            << "key " << static_cast<int>(c.sort.key) << (c.sort.descending ? " down" : " up");
    }
}

TEST(SortedIndicesTest, AnEmptyOrDriveRootListingSortsToo) {
    EXPECT_TRUE(SortedIndices(EntryList{}, EntryDates{}, {SortKey::Date, true}).empty());
    const Listing root{{{"./", EntryKind::ThisFolder, ""}, {"x/", EntryKind::Folder, ""}}, {}};
    EXPECT_EQ(Captions(root, {SortKey::Name, true}), (std::vector<std::string>{"./", "x/"}));
}

}  // namespace
}  // namespace olmira
