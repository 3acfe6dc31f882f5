#include "text_codec.h"

#include <gtest/gtest.h>

namespace {

struct Decoding {
    const char* name;
    std::string bytes;
    QString shown;
};

void PrintTo(const Decoding& decoding, std::ostream* out) {
    *out << decoding.name;
}

class DecodeTextTest : public testing::TestWithParam<Decoding> {};

TEST_P(DecodeTextTest, ShowsUtf8AsUtf8AndAnythingElseAsWindows1252) {
    EXPECT_EQ(DecodeText(GetParam().bytes), GetParam().shown);
}

INSTANTIATE_TEST_SUITE_P(
    Texts, DecodeTextTest,
    testing::Values(
        Decoding{"Empty", "", QString()},
        Decoding{"Ascii", "hdd/Filme/", QStringLiteral("hdd/Filme/")},
        Decoding{"Utf8",
                 "Gr\xc3\xb6\xc3\x9f"
                 "e",
                 QStringLiteral("Größe")},
        Decoding{"Utf8Euro", "\xe2\x82\xac", QStringLiteral("€")},
        Decoding{"Windows1252Umlauts", "W\xe4lder", QStringLiteral("Wälder")},
        Decoding{"Windows1252HighRange", "\x80\x84\x93x\x94\x9f",
                 QString::fromUtf16(u"\u20ac\u201e\u201cx\u201d\u0178")},
        Decoding{"UndefinedBytesKeepTheirControlCode", "\x81\x8d\x8f\x90\x9d",
                 QString::fromUtf16(u"\u0081\u008d\u008f\u0090\u009d")},
        Decoding{"TruncatedUtf8IsNotUtf8", "abc\xc3", QStringLiteral("abcÃ")},
        Decoding{"OverlongUtf8IsNotUtf8", "\xc0\xaf", QStringLiteral("À¯")},
        Decoding{"EncodedSurrogateIsNotUtf8", "\xed\xa0\x80", QStringLiteral("í\u00a0€")},
        Decoding{"MixedIsWindows1252", "\xc3\xa4 \xe4", QStringLiteral("Ã¤ ä")},
        Decoding{"NulByteKept", std::string("a\0b", 3), QString::fromUtf16(u"a\u0000b", 3)}),
    [](const testing::TestParamInfo<Decoding>& decoding) { return decoding.param.name; });

}  // namespace
