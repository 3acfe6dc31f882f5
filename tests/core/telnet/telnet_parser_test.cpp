#include "telnet/telnet_parser.h"

#include <gtest/gtest.h>

#include <string>
#include <vector>

namespace olmira {
namespace {

using Bytes = std::string;

class RecordingSink final : public TelnetSink {
public:
    std::vector<Bytes> runs;
    std::vector<Bytes> answers;

    Bytes Data() const {
        Bytes all;
        for (const auto& run : runs) {
            all += run;
        }
        return all;
    }

    void OnData(std::string_view run) override { runs.emplace_back(run); }
    void OnAnswer(std::string_view answer) override { answers.emplace_back(answer); }
};

Bytes B(std::initializer_list<int> values) {
    Bytes bytes;
    for (const int value : values) {
        bytes.push_back(static_cast<char>(value));
    }
    return bytes;
}

const Bytes kTerminalDumb = B({255, 250, 24, 0, 'd', 'u', 'm', 'b', 255, 240});

struct Case {
    const char* name;
    std::vector<Bytes> feeds;  // one per receive
    Bytes data;
    std::vector<Bytes> answers;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

std::string CaseName(const testing::TestParamInfo<Case>& tested) {
    return tested.param.name;
}

class ParserTable : public testing::TestWithParam<Case> {};

TEST_P(ParserTable, DataAndAnswers) {
    const Case& c = GetParam();
    TelnetParser parser;
    RecordingSink sink;
    for (const auto& feed : c.feeds) {
        parser.Feed(feed, sink);
    }
    EXPECT_EQ(sink.Data(), c.data);
    EXPECT_EQ(sink.answers, c.answers);
}

INSTANTIATE_TEST_SUITE_P(
    Negotiation, ParserTable,
    testing::Values(Case{"WillEchoAccepted", {B({255, 251, 1})}, "", {B({255, 253, 1})}},
                    Case{"WillEndOfRecordAccepted", {B({255, 251, 25})}, "", {B({255, 253, 25})}},
                    Case{"WillOtherRefused", {B({255, 251, 3})}, "", {B({255, 254, 3})}},
                    Case{"DoEchoAccepted", {B({255, 253, 1})}, "", {B({255, 251, 1})}},
                    Case{"DoTerminalTypeAccepted", {B({255, 253, 24})}, "", {B({255, 251, 24})}},
                    Case{"DoNawsRefused", {B({255, 253, 31})}, "", {B({255, 252, 31})}},
                    Case{"DoAuthenticationRefused", {B({255, 253, 37})}, "", {B({255, 252, 37})}},
                    Case{"WontAnsweredDont", {B({255, 252, 1})}, "", {B({255, 254, 1})}},
                    Case{"DontAnsweredWont", {B({255, 254, 1})}, "", {B({255, 252, 1})}},
                    Case{"SameRequestAnsweredEachTime",
                         {B({255, 253, 24, 255, 253, 24})},
                         "",
                         {B({255, 251, 24}), B({255, 251, 24})}},
                    Case{"RequestSplitAfterIac", {B({255}), B({251, 1})}, "", {B({255, 253, 1})}},
                    Case{"RequestSplitBeforeOption",
                         {B({'a', 255, 253}), B({1, 'b'})},
                         "ab",
                         {B({255, 251, 1})}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Subnegotiation, ParserTable,
    testing::Values(
        Case{"TerminalTypeSend", {B({255, 250, 24, 1, 255, 240})}, "", {kTerminalDumb}},
        Case{"OptionByteNotExamined", {B({255, 250, 39, 1, 255, 240})}, "", {kTerminalDumb}},
        Case{"TerminalTypeIsIgnored", {B({255, 250, 24, 0, 255, 240})}, "", {}},
        Case{"EmptyParametersIgnored", {B({255, 250, 24, 255, 240})}, "", {}},
        Case{"LongerParametersIgnored", {B({255, 250, 24, 1, 1, 255, 240})}, "", {}},
        Case{"SplitBeforeParameters", {B({255, 250, 24}), B({1, 255, 240})}, "", {kTerminalDumb}},
        // The parameters of the first receive are forgotten with it.
        Case{"SplitAfterParameters", {B({255, 250, 24, 1}), B({255, 240})}, "", {}},
        Case{"SbEndsOneAndStartsNext",
             {B({255, 250, 24, 1, 255, 250, 24, 1, 255, 240})},
             "",
             {kTerminalDumb, kTerminalDumb}},
        Case{"DoubledIacIsAParameter", {B({255, 250, 24, 255, 255, 255, 240})}, "", {}},
        Case{"OtherCommandAbandonsIt", {B({255, 250, 24, 1, 255, 241, 'x'})}, "x", {}},
        Case{"IacAsOptionDropsNextByte", {B({255, 250, 255, 'x', 'y'})}, "y", {}},
        Case{"DataAfterwardsPasses",
             {B({'a', 255, 250, 24, 1, 255, 240, 'b'})},
             "ab",
             {kTerminalDumb}}),
    CaseName);

INSTANTIATE_TEST_SUITE_P(
    Data, ParserTable,
    testing::Values(Case{"PlainTextUnchanged",
                         {Bytes("login: \r\n\0\x1b[0m\x80\xfe", 14)},
                         Bytes("login: \r\n\0\x1b[0m\x80\xfe", 14),
                         {}},
                    Case{"DoubledIacIsOneByte", {B({'a', 255, 255, 'b'})}, B({'a', 255, 'b'}), {}},
                    Case{"DoubledIacSplit", {B({255}), B({255})}, B({255}), {}},
                    Case{"NopVanishes", {B({'a', 255, 241, 'b'})}, "ab", {}},
                    Case{"GoAheadVanishes", {B({'a', 255, 249, 'b'})}, "ab", {}},
                    Case{"StraySeVanishes", {B({'a', 255, 240, 'b'})}, "ab", {}},
                    Case{"EndOfRecordVanishes", {B({'a', 255, 239, 'b'})}, "ab", {}},
                    Case{"CommandsOnly", {B({255, 253, 1, 255, 241})}, "", {B({255, 251, 1})}}),
    CaseName);

TEST(TelnetParser, HandsDataOnInRunsNotBytes) {
    TelnetParser parser;
    RecordingSink sink;
    parser.Feed("first line\r\n" + B({255, 241}) + "second", sink);
    EXPECT_EQ(sink.runs, (std::vector<Bytes>{"first line\r\n", "second"}));
}

TEST(TelnetParser, StateCarriesOverFeeds) {
    TelnetParser parser;
    RecordingSink sink;
    parser.Feed(B({'a', 255}), sink);
    EXPECT_EQ(parser.State(), TelnetState::Command);
    parser.Feed(B({250}), sink);
    EXPECT_EQ(parser.State(), TelnetState::SubOption);
}

TEST(TelnetParser, ReportsTheTerminalItWasGiven) {
    TelnetParser parser("vt100");
    RecordingSink sink;
    parser.Feed(B({255, 250, 24, 1, 255, 240}), sink);
    ASSERT_EQ(sink.answers.size(), 1u);
    EXPECT_EQ(sink.answers[0], B({255, 250, 24, 0}) + "vt100" + B({255, 240}));
}

TEST(TelnetParser, EmptyTerminalIsReportedAsDumb) {
    TelnetParser parser("");
    RecordingSink sink;
    parser.Feed(B({255, 250, 24, 1, 255, 240}), sink);
    EXPECT_EQ(sink.answers, std::vector<Bytes>{kTerminalDumb});
}

}  // namespace
}  // namespace olmira
