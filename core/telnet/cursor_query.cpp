#include "telnet/cursor_query.h"

namespace olmira {

int CursorQueryScanner::Feed(std::string_view data) {
    int found = 0;
    for (const char c : data) {
        if (c == kCursorPositionRequest[matched_]) {
            ++matched_;
        } else {
            // No part of the request repeats its start but the ESC itself.
            matched_ = c == kCursorPositionRequest.front() ? 1 : 0;
        }
        if (matched_ == kCursorPositionRequest.size()) {
            ++found;
            matched_ = 0;
        }
    }
    return found;
}

}  // namespace olmira
