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

// A text for a page line that is read back by position: line breaks become "&#13;" and
// "&#10;", so the line stays one line.
QString withoutLineBreaks(const QString& text);

// A file name inside an HTML comment line that is read back: as withoutLineBreaks, and "&#N;"
// for an "&" that would read as a character reference, a character Shift-JIS would read back
// as another, "<", ">", and a "-" beside another "-" (so "-->" never ends the comment early).
// decodeCharacterReferences gives the name back exactly (characters Shift-JIS cannot hold
// are written as "&#N;" too).
QString readableName(const QString& name);

// A name from the file system as page text, also inside a double-quoted attribute: "&", "<",
// ">" and '"' become "&amp;", "&lt;", "&gt;" and "&quot;"; control characters (line breaks
// too, so the text stays on its line) and characters Shift-JIS would read back as others
// become "&#N;". A browser shows the name exactly, never as markup.
QString htmlText(const QString& name);

// Every "&#N;" (decimal) replaced by its character.
QString decodeCharacterReferences(const QString& text);

}  // namespace tessaly
