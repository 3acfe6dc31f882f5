#include "text_codec.h"

#include <QStringDecoder>
#include <array>

namespace {

// 0x80..0x9F differ from Latin-1; the five bytes Windows leaves undefined
// keep their C1 control code, as the Windows conversion does.
constexpr std::array<char16_t, 32> kHighControlRange = {
    0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,  //
    0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,  //
    0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,  //
    0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178,
};

char16_t Windows1252Char(unsigned char byte) {
    if (byte >= 0x80 && byte < 0xA0) {
        return kHighControlRange[byte - 0x80];
    }
    return byte;
}

bool IsAscii(std::string_view bytes) {
    for (const char c : bytes) {
        if (static_cast<unsigned char>(c) >= 0x80) {
            return false;
        }
    }
    return true;
}

}  // namespace

QString DecodeWindows1252(std::string_view bytes) {
    QString text(static_cast<qsizetype>(bytes.size()), Qt::Uninitialized);
    QChar* out = text.data();
    for (const char c : bytes) {
        *out++ = QChar(Windows1252Char(static_cast<unsigned char>(c)));
    }
    return text;
}

QString DecodeText(std::string_view bytes) {
    const QByteArrayView view(bytes.data(), static_cast<qsizetype>(bytes.size()));
    if (IsAscii(bytes)) {
        return QString::fromLatin1(view);
    }
    QStringDecoder utf8(QStringDecoder::Utf8, QStringDecoder::Flag::Stateless);
    QString text = utf8.decode(view);
    if (!utf8.hasError()) {
        return text;
    }
    return DecodeWindows1252(bytes);
}
