#include <benchmark/benchmark.h>

#include <cstring>
#include <string>

#include "telnet/telnet_parser.h"

namespace {

constexpr std::size_t kTotal = 64 << 20;
// The reader feeds the parser one receive at a time.
constexpr std::size_t kReceive = 32768;
constexpr std::size_t kNegotiationEvery = 100;

std::string PlainText() {
    const std::string line =
        "-rw-r--r--    1 root     root     1048576 Jan  1 00:00 recording.ts\r\n";
    std::string text;
    text.reserve(kTotal);
    while (text.size() < kTotal) {
        text.append(line, 0, std::min(line.size(), kTotal - text.size()));
    }
    return text;
}

// Every hundredth byte starts a request that must be answered.
std::string NegotiationText() {
    std::string text = PlainText();
    const std::string request = "\xff\xfd\x1f";
    for (std::size_t at = 0; at + request.size() <= text.size(); at += kNegotiationEvery) {
        text.replace(at, request.size(), request);
    }
    return text;
}

class CollectingSink final : public olmira::TelnetSink {
public:
    std::string data;
    std::size_t answers = 0;

    void OnData(std::string_view run) override { data.append(run); }
    void OnAnswer(std::string_view) override { ++answers; }
};

void RunParser(benchmark::State& state, const std::string& input) {
    olmira::TelnetParser parser;
    CollectingSink sink;
    sink.data.reserve(input.size());
    for (auto _ : state) {
        sink.data.clear();
        for (std::size_t at = 0; at < input.size(); at += kReceive) {
            parser.Feed(std::string_view(input).substr(at, kReceive), sink);
        }
        benchmark::DoNotOptimize(sink.data.data());
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

void BM_ParserPlainText(benchmark::State& state) {
    RunParser(state, PlainText());
}

void BM_ParserNegotiationEvery100Bytes(benchmark::State& state) {
    RunParser(state, NegotiationText());
}

// The floor the parser is measured against: copying the same bytes.
void BM_Memcpy(benchmark::State& state) {
    const std::string input = PlainText();
    std::string copy(input.size(), '\0');
    for (auto _ : state) {
        std::memcpy(copy.data(), input.data(), input.size());
        benchmark::DoNotOptimize(copy.data());
        benchmark::ClobberMemory();
    }
    state.SetBytesProcessed(static_cast<std::int64_t>(state.iterations() * input.size()));
}

BENCHMARK(BM_Memcpy)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParserPlainText)->Unit(benchmark::kMillisecond);
BENCHMARK(BM_ParserNegotiationEvery100Bytes)->Unit(benchmark::kMillisecond);

}  // namespace
