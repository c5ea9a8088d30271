#pragma once

#include <QByteArray>
#include <QString>

namespace tessaly {

// Conversion between the program's texts and code page 932 (Shift-JIS), through iconv.
namespace sjis {

// How a character that code page 932 cannot hold is treated when encoding.
enum class Unmappable {
    Refuse,        // raise EncodingError naming the character (plain-text files)
    CharacterRef,  // write it as "&#N;" (HTML pages)
};

QByteArray encode(const QString& text, Unmappable mode);

// Decodes Shift-JIS bytes; a byte sequence that is not valid becomes U+FFFD.
QString decode(const QByteArray& bytes);

// True when every character of the text can be stored in code page 932.
bool canEncode(const QString& text);

// True for a character that code page 932 stores but reads back as another one: U+301C WAVE
// DASH comes back as U+FF5E FULLWIDTH TILDE, U+00A5 YEN SIGN as "\", and so on. Harmless in
// running text, but a file name holding one no longer names the file once read back.
bool changesOnRoundTrip(char32_t character);

// Raises the EncodingError of encode(..., Refuse) when the text holds a character that
// code page 932 cannot hold or would read back as another one (for names and paths, which
// must come back exactly).
void requireExact(const QString& text);

// The text as it reads after being stored and read back (characters code page 932 cannot hold
// are kept as they are).
QString roundTripped(const QString& text);

}  // namespace sjis
}  // namespace tessaly
