#pragma once

#include <cstddef>
#include <cstdint>
#include <initializer_list>
#include <string>
#include <string_view>
#include <vector>

#include "conversation/index_iterator.h"

namespace olmira {

// The lines of a reply, each without its line end, kept in one text with
// the end of every line beside it: a listing of 100,000 entries costs its
// bytes and four more a line, not a string of its own for every line.
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
    void AppendToOpenLine(std::string_view part) { text_.append(part); }
    // The text added since the last line ended.
    std::string_view OpenLine() const;
    void EndLine();
    void DropOpenLine();
    void clear();

private:
    std::size_t StartOf(std::size_t index) const { return index == 0 ? 0 : ends_[index - 1]; }

    std::string text_;
    std::vector<std::uint32_t> ends_;
};

}  // namespace olmira
