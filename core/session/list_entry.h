#pragma once

#include <cstdint>
#include <memory>
#include <span>
#include <string>
#include <string_view>
#include <vector>

#include "conversation/index_iterator.h"
#include "conversation/reply_lines.h"

namespace olmira {

enum class EntryKind : std::uint8_t { ThisFolder, ParentFolder, Folder, File };

// A folder or file of the listed folder, not "./" or "../".
inline bool IsFolderOrFile(EntryKind kind) {
    return kind == EntryKind::Folder || kind == EntryKind::File;
}

// One row of a pane's entry list. Caption and size are bytes as the box sent
// them; the window decides how to show them and hands them back unchanged.
struct ListEntry {
    std::string caption;
    EntryKind kind = EntryKind::File;
    std::string size;

    bool operator==(const ListEntry&) const = default;
};

// A pane's entries, kept compact: a row is eight bytes, and captions and
// sizes stand in one text, each size a blank ahead of its caption. A
// listing's entries keep the reply's own text, so a folder of 100,000
// entries holds its names once; the list itself is shared by the session
// and the window.
class EntryList {
public:
    using const_iterator = IndexIterator<EntryList, ListEntry>;
    using value_type = ListEntry;
    using iterator = const_iterator;

    EntryList();
    // Entries with a text of their own, laid out as a reply would hold them.
    EntryList(std::initializer_list<ListEntry> entries);
    explicit EntryList(std::span<const ListEntry> entries);
    // Entries of a listing whose captions and sizes stand in reply.
    explicit EntryList(std::shared_ptr<const ReplyText> reply);

    void reserve(std::size_t rows) { rows_.reserve(rows); }
    // The caption of "./" and "../" goes by the kind. Caption and size must
    // be views into the reply, the size (if any) a blank ahead of the
    // caption. A caption longer than 65,535 bytes or a size longer than 255
    // is cut.
    void Add(EntryKind kind, std::string_view caption, std::string_view size = {});

    std::size_t size() const { return rows_.size(); }
    bool empty() const { return rows_.empty(); }
    std::string_view Caption(std::size_t index) const;
    std::string_view Size(std::size_t index) const;
    EntryKind Kind(std::size_t index) const { return rows_[index].kind; }
    // A copy of one row.
    ListEntry operator[](std::size_t index) const;
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

private:
    struct Row {
        std::uint32_t start;  // the caption's, in text_
        std::uint16_t captionLength;
        std::uint8_t sizeLength;
        EntryKind kind;
    };

    std::string_view Text() const { return {text_->data(), text_->size()}; }
    std::size_t OffsetOf(std::string_view part) const;
    void AddRow(EntryKind kind, std::size_t start, std::size_t captionLength,
                std::size_t sizeLength);

    std::shared_ptr<const ReplyText> text_;
    std::vector<Row> rows_;
};

using SharedEntries = std::shared_ptr<const EntryList>;

// What a pane lists before its first listing and after a disconnect.
const SharedEntries& NoEntries();

}  // namespace olmira
