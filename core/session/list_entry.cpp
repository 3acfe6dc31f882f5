#include "session/list_entry.h"

#include <algorithm>
#include <cstdint>
#include <stdexcept>

namespace olmira {

namespace {

constexpr std::string_view kThisFolder = "./";
constexpr std::string_view kParentFolder = "../";

bool IsSpecial(EntryKind kind) {
    return kind == EntryKind::ThisFolder || kind == EntryKind::ParentFolder;
}

}  // namespace

EntryList::EntryList() : text_(std::make_shared<const ReplyText>()) {}

EntryList::EntryList(std::initializer_list<ListEntry> entries)
    : EntryList(std::span<const ListEntry>(entries.begin(), entries.size())) {}

EntryList::EntryList(std::span<const ListEntry> entries) {
    auto text = std::make_shared<ReplyText>();
    rows_.reserve(entries.size());
    for (const ListEntry& entry : entries) {
        text->Append(entry.size.data(), entry.size.size());
        text->push_back(' ');
        AddRow(entry.kind, text->size(), entry.caption.size(), entry.size.size());
        text->Append(entry.caption.data(), entry.caption.size());
    }
    text_ = std::move(text);
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
        AddRow(kind, 0, 0, 0);
        return;
    }
    const std::size_t start = OffsetOf(caption);
    if (!size.empty() && OffsetOf(size) + size.size() + 1 != start) {
        throw std::logic_error("an entry's size does not stand ahead of its name");
    }
    AddRow(kind, start, caption.size(), size.size());
}

void EntryList::AddRow(EntryKind kind, std::size_t start, std::size_t captionLength,
                       std::size_t sizeLength) {
    if (IsSpecial(kind)) {
        captionLength = sizeLength = 0;
    }
    rows_.push_back({static_cast<std::uint32_t>(start),
                     static_cast<std::uint16_t>(std::min<std::size_t>(captionLength, UINT16_MAX)),
                     static_cast<std::uint8_t>(std::min<std::size_t>(sizeLength, UINT8_MAX)),
                     kind});
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

const SharedEntries& NoEntries() {
    static const SharedEntries none = std::make_shared<const EntryList>();
    return none;
}

ListEntry EntryList::operator[](std::size_t index) const {
    return {std::string(Caption(index)), Kind(index), std::string(Size(index))};
}

}  // namespace olmira
