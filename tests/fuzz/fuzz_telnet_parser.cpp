#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>

#include "telnet/telnet_parser.h"

namespace {

class Collector final : public olmira::TelnetSink {
public:
    std::string data;
    std::string answers;

    void OnData(std::string_view run) override {
        // Runs are views of the input, and never empty.
        if (run.empty()) {
            std::abort();
        }
        data.append(run);
    }
    void OnAnswer(std::string_view answer) override { answers.append(answer); }
};

}  // namespace

// Whatever the box sends, the parser must not crash; text without IAC must
// pass untouched; and where a receive happens to split the bytes must not
// change the data handed on nor the answers given.
extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* bytes, std::size_t size) {
    const std::string_view input(reinterpret_cast<const char*>(bytes), size);

    olmira::TelnetParser whole;
    Collector wholeOut;
    whole.Feed(input, wholeOut);
    if (wholeOut.data.size() > input.size()) {
        std::abort();
    }
    if (input.find('\xff') == std::string_view::npos && wholeOut.data != input) {
        std::abort();
    }

    const std::size_t split = size == 0 ? 0 : bytes[0] % (size + 1);
    olmira::TelnetParser parts;
    Collector partsOut;
    parts.Feed(input.substr(0, split), partsOut);
    parts.Feed(input.substr(split), partsOut);
    if (partsOut.data != wholeOut.data || partsOut.answers != wholeOut.answers ||
        parts.State() != whole.State()) {
        std::abort();
    }
    return 0;
}
