#include "telnet/cursor_query.h"

namespace olmira {

namespace {

constexpr std::string_view kCursorQuery = "\x1b[6n";

}  // namespace

int CursorQueryScanner::Feed(std::string_view data) {
    int found = 0;
    for (const char c : data) {
        if (c == kCursorQuery[matched_]) {
            ++matched_;
        } else {
            // No part of the request repeats its start but the ESC itself.
            matched_ = c == kCursorQuery.front() ? 1 : 0;
        }
        if (matched_ == kCursorQuery.size()) {
            ++found;
            matched_ = 0;
        }
    }
    return found;
}

}  // namespace olmira
