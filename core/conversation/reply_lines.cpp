#include "conversation/reply_lines.h"

namespace olmira {

std::string_view ReplyLines::operator[](std::size_t index) const {
    const std::size_t start = StartOf(index);
    return Text().substr(start, ends_[index] - start);
}

ReplyLines::ReplyLines(std::initializer_list<std::string_view> lines) {
    for (const std::string_view line : lines) {
        push_back(line);
    }
}

void ReplyLines::push_back(std::string_view line) {
    AppendToOpenLine(line);
    EndLine();
}

std::string_view ReplyLines::OpenLine() const {
    return Text().substr(StartOf(size()));
}

ReplyText& ReplyLines::Writable() {
    if (text_.use_count() > 1) {
        text_ = std::make_shared<ReplyText>(*text_);
    }
    return *text_;
}

void ReplyLines::EndLine() {
    ends_.push_back(static_cast<std::uint32_t>(text_->size()));
}

void ReplyLines::DropOpenLine() {
    Writable().Truncate(StartOf(size()));
}

void ReplyLines::clear() {
    if (text_.use_count() > 1) {
        text_ = std::make_shared<ReplyText>();
    } else {
        text_->clear();
    }
    ends_.clear();
}

}  // namespace olmira
