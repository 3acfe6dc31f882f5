#pragma once

#include <QByteArray>
#include <QString>
#include <string>
#include <string_view>

// Texts reach the window as bytes: the program's own in UTF-8, names from the
// box and values from the INI file in whatever the box or an editor wrote,
// often Windows-1252. Valid UTF-8 is shown as UTF-8; anything else is taken
// as Windows-1252, which maps every byte to some character.
QString DecodeText(std::string_view bytes);

// The Windows-1252 reading alone, for bytes known not to be UTF-8.
QString DecodeWindows1252(std::string_view bytes);

// Bytes as an item's data, unchanged: a drive box finds its entry by them.
inline QByteArray ItemData(const std::string& bytes) {
    return QByteArray(bytes.data(), static_cast<qsizetype>(bytes.size()));
}
