#include "session/list_entry.h"

#include <limits>
#include <stdexcept>

namespace olmira {

namespace {

constexpr std::string_view kThisFolder = "./";
constexpr std::string_view kParentFolder = "../";

bool IsSpecial(EntryKind kind) {
    return kind == EntryKind::ThisFolder || kind == EntryKind::ParentFolder;
}

}  // namespace

EntryList::EntryList() : own_(std::make_shared<ReplyText>()) {
    text_ = own_;
}

EntryList::EntryList(std::initializer_list<ListEntry> entries) : EntryList() {
    rows_.reserve(entries.size());
    for (const ListEntry& entry : entries) {
        Add(entry.kind, entry.caption, entry.size);
    }
}

EntryList::EntryList(std::shared_ptr<const ReplyText> reply) : text_(std::move(reply)) {}

std::size_t EntryList::OffsetOf(std::string_view part) const {
    const std::string_view text = Text();
    if (part.data() < text.data() || part.data() + part.size() > text.data() + text.size()) {
        throw std::logic_error("an entry's name lies outside the reply it is listed from");
    }
    return static_cast<std::size_t>(part.data() - text.data());
}

void EntryList::Add(EntryKind kind, std::string_view caption, std::string_view size) {
    if (IsSpecial(kind)) {
        rows_.push_back({0, 0, 0, kind});
        return;
    }
    caption = caption.substr(0, std::numeric_limits<std::uint16_t>::max());
    size = size.substr(0, std::numeric_limits<std::uint8_t>::max());
    std::size_t start = 0;
    if (own_ != nullptr) {
        own_->Append(size.data(), size.size());
        own_->push_back(' ');
        start = own_->size();
        own_->Append(caption.data(), caption.size());
    } else {
        start = OffsetOf(caption);
        if (!size.empty() && OffsetOf(size) + size.size() + 1 != start) {
            throw std::logic_error("an entry's size does not stand ahead of its name");
        }
    }
    rows_.push_back({static_cast<std::uint32_t>(start), static_cast<std::uint16_t>(caption.size()),
                     static_cast<std::uint8_t>(size.size()), kind});
}

std::string_view EntryList::Caption(std::size_t index) const {
    const Row& row = rows_[index];
    switch (row.kind) {
        case EntryKind::ThisFolder:
            return kThisFolder;
        case EntryKind::ParentFolder:
            return kParentFolder;
        default:
            return Text().substr(row.start, row.captionLength);
    }
}

std::string_view EntryList::Size(std::size_t index) const {
    const Row& row = rows_[index];
    if (row.sizeLength == 0) {
        return {};
    }
    return Text().substr(row.start - 1 - row.sizeLength, row.sizeLength);
}

ListEntry EntryList::operator[](std::size_t index) const {
    return {std::string(Caption(index)), Kind(index), std::string(Size(index))};
}

}  // namespace olmira
