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
    // Whether we asked for binary mode before these bytes came.
    bool opened = false;
};

void PrintTo(const Case& c, std::ostream* out) {
    *out << c.name;
}

// Serves every table here, whatever its row type.
constexpr auto CaseName = [](const auto& tested) { return std::string(tested.param.name); };

// What a fresh parser hands on when the bytes come in these receives; an
// opened one has sent its own requests first.
RecordingSink Receive(const std::vector<Bytes>& feeds, bool opened = false) {
    TelnetParser parser;
    RecordingSink sink;
    if (opened) {
        parser.Start(sink);
        sink.answers.clear();
    }
    for (const auto& feed : feeds) {
        parser.Feed(feed, sink);
    }
    return sink;
}

class ParserTable : public testing::TestWithParam<Case> {};

TEST_P(ParserTable, DataAndAnswers) {
    const Case& c = GetParam();
    const RecordingSink sink = Receive(c.feeds, c.opened);
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
                    // A window so wide that the box's line editor never wraps.
                    Case{"DoNawsAnsweredWithTheWindowSize",
                         {B({255, 253, 31})},
                         "",
                         {B({255, 251, 31, 255, 250, 31, 15, 160, 0, 50, 255, 240})}},
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

// Binary mode is agreed once each way: a request in force, or the answer to
// our own, is not answered again.
INSTANTIATE_TEST_SUITE_P(
    Binary, ParserTable,
    testing::Values(
        Case{"WillBinaryAccepted", {B({255, 251, 0})}, "", {B({255, 253, 0})}},
        Case{"DoBinaryAccepted", {B({255, 253, 0})}, "", {B({255, 251, 0})}},
        Case{"RepeatedRequestAnsweredOnce",
             {B({255, 253, 0, 255, 253, 0, 255, 251, 0, 255, 251, 0})},
             "",
             {B({255, 251, 0}), B({255, 253, 0})}},
        Case{"RefusalOfWhatWasNeverAgreedUnanswered", {B({255, 252, 0, 255, 254, 0})}, "", {}},
        Case{"AgreedThenRefusedIsConfirmed",
             {B({255, 253, 0}), B({255, 254, 0})},
             "",
             {B({255, 251, 0}), B({255, 252, 0})}},
        Case{"AnswersToOurRequestsUnanswered", {B({255, 253, 0, 255, 251, 0})}, "", {}, true},
        Case{"RefusalsOfOurRequestsUnanswered", {B({255, 254, 0, 255, 252, 0})}, "", {}, true},
        Case{"OtherOptionsAsBefore", {B({255, 253, 1})}, "", {B({255, 251, 1})}, true}),
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
        Case{"SplitAfterParameters", {B({255, 250, 24, 1}), B({255, 240})}, "", {kTerminalDumb}},
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

// The box's bytes reach us in receives of whatever size the network makes
// them, so no cut may change what is handed on or answered.
struct Stream {
    const char* name;
    Bytes bytes;
};

void PrintTo(const Stream& s, std::ostream* out) {
    *out << s.name;
}

class TelnetSplitTable : public testing::TestWithParam<Stream> {};

TEST_P(TelnetSplitTable, SameAsOneFeed) {
    const Bytes& bytes = GetParam().bytes;
    const RecordingSink whole = Receive({bytes});
    const auto expectSame = [&](const std::vector<Bytes>& feeds) {
        const RecordingSink parts = Receive(feeds);
        EXPECT_EQ(parts.Data(), whole.Data());
        EXPECT_EQ(parts.answers, whole.answers);
    };
    for (std::size_t at = 0; at <= bytes.size(); ++at) {
        SCOPED_TRACE("cut before byte " + std::to_string(at));
        expectSame({bytes.substr(0, at), bytes.substr(at)});
    }
    SCOPED_TRACE("one byte per receive");
    std::vector<Bytes> oneByteEach;
    for (const char byte : bytes) {
        oneByteEach.emplace_back(1, byte);
    }
    expectSame(oneByteEach);
}

INSTANTIATE_TEST_SUITE_P(
    Receives, TelnetSplitTable,
    testing::Values(
        Stream{"WillEcho", B({255, 251, 1})}, Stream{"WillOther", B({255, 251, 3})},
        Stream{"WontEcho", B({255, 252, 1})}, Stream{"DoTerminalType", B({255, 253, 24})},
        Stream{"DoNaws", B({255, 253, 31})}, Stream{"DontEcho", B({255, 254, 1})},
        Stream{"BinaryBothWays", B({255, 251, 0, 255, 253, 0, 255, 254, 0, 255, 252, 0})},
        Stream{"TerminalTypeSend", B({255, 250, 24, 1, 255, 240})},
        Stream{"SbEndsOneAndStartsNext", B({255, 250, 24, 1, 255, 250, 24, 1, 255, 240})},
        Stream{"DoubledIacInData", B({'a', 255, 255, 'b'})},
        // Its parameter is IAC, so it goes unanswered; the SEND behind it
        // shows the parser came out of it in step.
        Stream{"DoubledIacInParameters",
               B({255, 250, 24, 255, 255, 255, 240, 'x', 255, 250, 24, 1, 255, 240})},
        Stream{"DataAroundRequests",
               "log" + B({255, 251, 1}) + "in" + B({255, 250, 24, 1, 255, 240}) + ":" +
                   B({255, 253, 24, 255, 255, 255, 254, 31}) + B({255, 252, 25}) + " \r\n"}),
    CaseName);

TEST(TelnetParser, AsksForBinaryModeAndKnowsWhenTheBoxTakesIt) {
    TelnetParser parser;
    RecordingSink sink;
    parser.Start(sink);
    EXPECT_EQ(sink.answers, std::vector<Bytes>{B({255, 251, 0, 255, 253, 0})});
    EXPECT_FALSE(parser.BinaryInput());
    parser.Feed(B({255, 251, 0}), sink);
    EXPECT_FALSE(parser.BinaryInput()) << "the box's output, not its input";
    parser.Feed(B({255, 253, 0}), sink);
    EXPECT_TRUE(parser.BinaryInput());
    parser.Feed(B({255, 254, 0}), sink);
    EXPECT_FALSE(parser.BinaryInput());
    EXPECT_EQ(sink.answers.size(), 2u) << "only the refusal of what was agreed is confirmed";
}

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
