#include "settings/text_lines.h"

namespace olmira {

std::vector<TextLine> SplitTextLines(std::string_view text) {
    std::vector<TextLine> lines;
    while (!text.empty()) {
        const std::size_t endAt = text.find_first_of("\r\n");
        if (endAt == std::string_view::npos) {
            lines.push_back({text, {}});
            break;
        }
        const bool crLf = text[endAt] == '\r' && endAt + 1 < text.size() && text[endAt + 1] == '\n';
        const std::size_t endLength = crLf ? 2 : 1;
        lines.push_back({text.substr(0, endAt), text.substr(endAt, endLength)});
        text.remove_prefix(endAt + endLength);
    }
    return lines;
}

}  // namespace olmira
