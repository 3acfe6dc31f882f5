#include "conversation/reply_lines.h"

namespace olmira {

std::string_view ReplyLines::operator[](std::size_t index) const {
    const std::size_t start = StartOf(index);
    return std::string_view(text_).substr(start, ends_[index] - start);
}

ReplyLines::ReplyLines(std::initializer_list<std::string_view> lines) {
    for (const std::string_view line : lines) {
        push_back(line);
    }
}

void ReplyLines::push_back(std::string_view line) {
    text_.append(line);
    EndLine();
}

std::string_view ReplyLines::OpenLine() const {
    return std::string_view(text_).substr(StartOf(size()));
}

void ReplyLines::EndLine() {
    ends_.push_back(static_cast<std::uint32_t>(text_.size()));
}

void ReplyLines::DropOpenLine() {
    text_.resize(StartOf(size()));
}

void ReplyLines::clear() {
    text_.clear();
    ends_.clear();
}

}  // namespace olmira
