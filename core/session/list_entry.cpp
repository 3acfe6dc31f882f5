#include "session/list_entry.h"

#include <algorithm>
#include <limits>

namespace olmira {

EntryList::EntryList(std::initializer_list<ListEntry> entries) {
    for (const ListEntry& entry : entries) {
        Add(entry.kind, entry.caption, entry.size);
    }
}

void EntryList::reserve(std::size_t rows, std::size_t textBytes) {
    rows_.reserve(rows);
    text_.reserve(textBytes);
}

void EntryList::Add(EntryKind kind, std::string_view caption, std::string_view size) {
    caption = caption.substr(0, std::numeric_limits<std::uint16_t>::max());
    size = size.substr(0, std::numeric_limits<std::uint8_t>::max());
    rows_.push_back({static_cast<std::uint32_t>(text_.size()),
                     static_cast<std::uint16_t>(caption.size()),
                     static_cast<std::uint8_t>(size.size()), kind});
    text_.append(caption);
    text_.append(size);
}

std::string_view EntryList::Caption(std::size_t index) const {
    const Row& row = rows_[index];
    return std::string_view(text_).substr(row.start, row.captionLength);
}

std::string_view EntryList::Size(std::size_t index) const {
    const Row& row = rows_[index];
    return std::string_view(text_).substr(row.start + row.captionLength, row.sizeLength);
}

ListEntry EntryList::operator[](std::size_t index) const {
    return {std::string(Caption(index)), Kind(index), std::string(Size(index))};
}

}  // namespace olmira
