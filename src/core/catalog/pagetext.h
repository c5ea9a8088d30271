#pragma once

#include <QString>

namespace tessaly {

// Small helpers for putting file names into generated pages.

// True when the "&" at position i of text starts what a browser reads as a character
// reference ("&amp;", "&#38;"); a lone "&" is read as itself.
bool startsCharacterReference(const QString& text, qsizetype i);

// "%" and two upper-case hex digits of a character below U+0100.
QString percentEncoded(char16_t c);

// "&#N;" for a character.
QString characterReference(char16_t c);

}  // namespace tessaly
