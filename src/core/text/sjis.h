#pragma once

#include <QByteArray>
#include <QString>

namespace tessaly {

// Conversion between the program's texts and code page 932 (Shift-JIS), through iconv.
namespace sjis {

// How a character that code page 932 cannot hold is treated when encoding.
enum class Unmappable {
    Refuse,          // raise EncodingError naming the character (plain-text files)
    CharacterRef,    // write it as "&#N;" (HTML pages)
};

QByteArray encode(const QString& text, Unmappable mode);

// Decodes Shift-JIS bytes; a byte sequence that is not valid becomes U+FFFD.
QString decode(const QByteArray& bytes);

// True when every character of the text can be stored in code page 932.
bool canEncode(const QString& text);

}  // namespace sjis
}  // namespace tessaly
