#include "telnet/cursor_query.h"

#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

using olmira::CursorQueryScanner;

struct Case {
    const char* what;
    std::vector<std::string> receives;
    int asked;
};

// Each request is answered once, however the receives cut it, and nothing
// that only resembles one is.
TEST(CursorQueryScannerTest, CountsEachRequestOnce) {
    const std::vector<Case> cases = {
        {"a prompt", {"/ # \x1b[6n"}, 1},
        {"split after ESC", {"/ # \x1b", "[6n"}, 1},
        {"split in three", {"\x1b[", "6", "n"}, 1},
        {"two prompts", {"\x1b[6n\r\n/ # \x1b[6n"}, 2},
        {"ESC twice", {"\x1b\x1b[6n"}, 1},
        {"another sequence", {"\x1b[6m \x1b[5n \x1b[1;1R"}, 0},
        {"interrupted", {"\x1b[6", "x", "n"}, 0},
        {"text only", {"ls -1A /var/media\r\n"}, 0},
    };
    for (const Case& c : cases) {
        CursorQueryScanner scanner;
        int asked = 0;
        for (const std::string& receive : c.receives) {
            asked += scanner.Feed(receive);
        }
        EXPECT_EQ(asked, c.asked) << c.what;
    }
}

}  // namespace
