#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <memory>
#include <string_view>

#include "conversation/growing_array.h"
#include "conversation/index_iterator.h"

namespace olmira {

// The bytes of a reply's lines, one after another.
using ReplyText = GrowingArray<char>;

// The lines of a reply, each without its line end, kept in one text with
// the end of every line beside it: a listing of 100,000 entries costs its
// bytes and four more a line, not a string of its own for every line. The
// text can be shared, so a listing's entries name it instead of copying
// their names; it is copied only when changed while shared.
class ReplyLines {
public:
    using const_iterator = IndexIterator<ReplyLines, std::string_view>;
    using value_type = std::string_view;
    using iterator = const_iterator;

    ReplyLines() = default;
    ReplyLines(std::initializer_list<std::string_view> lines);

    std::size_t size() const { return ends_.size(); }
    bool empty() const { return ends_.empty(); }
    std::string_view operator[](std::size_t index) const;
    std::string_view back() const { return (*this)[size() - 1]; }
    const_iterator begin() const { return {this, 0}; }
    const_iterator end() const { return {this, size()}; }

    // Ends the open line with line added to it.
    void push_back(std::string_view line);
    // Adds to the line that is being received; EndLine ends it.
    void AppendToOpenLine(std::string_view part) { Writable().Append(part.data(), part.size()); }
    // The text added since the last line ended.
    std::string_view OpenLine() const;
    void EndLine();
    void DropOpenLine();
    void clear();

    // The text the lines' views point into, for whoever keeps them longer.
    std::shared_ptr<const ReplyText> SharedText() const { return text_; }

private:
    std::size_t StartOf(std::size_t index) const { return index == 0 ? 0 : ends_[index - 1]; }
    std::string_view Text() const { return {text_->data(), text_->size()}; }
    ReplyText& Writable();

    std::shared_ptr<ReplyText> text_ = std::make_shared<ReplyText>();
    GrowingArray<std::uint32_t> ends_;
};

}  // namespace olmira
