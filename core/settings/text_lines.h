#pragma once

#include <string_view>
#include <vector>

namespace olmira {

// One line of a text and the bytes that ended it: "\r\n", "\n", "\r", or
// nothing for a last line without an end.
struct TextLine {
    std::string_view Text;
    std::string_view End;
};

// Files written on other systems mix CR LF, LF and CR; each of them ends a
// line. The views point into text.
std::vector<TextLine> SplitTextLines(std::string_view text);

}  // namespace olmira
