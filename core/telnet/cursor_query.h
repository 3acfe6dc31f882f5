#pragma once

#include <cstddef>
#include <string_view>

namespace olmira {

// Busybox's line editor asks the terminal where its cursor stands with every
// prompt (ESC [ 6 n). When no answer has come by the time a line is entered,
// it waits 20 ms for a late one before it runs the line: on a box that is
// the larger part of every command's round trip. An answer of row 1,
// column 1 tells the editor nothing it would act on: it only ever widens
// the prompt it measured itself.
inline constexpr std::string_view kCursorPositionAnswer = "\x1b[1;1R";
inline constexpr std::string_view kCursorPositionRequest = "\x1b[6n";

// Finds the requests in the data a box sends, also where one is split
// between two receives.
class CursorQueryScanner {
public:
    // How many requests end within data.
    int Feed(std::string_view data);

private:
    std::size_t matched_ = 0;
};

}  // namespace olmira
