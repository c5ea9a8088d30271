#pragma once

#include <QString>
#include <cstdint>

namespace tessaly {

// A stored Windows colour (0x00BBGGRR) as six upper-case hex digits in RRGGBB order.
QString htmlColorCode(qint64 colour);

// A counter as the status lines and progress show it: every digit of the number, padded with
// zeros to at least three ("007", "1200").
QString counterText(qint64 number);

// The three-digit count of a page's head comment, which the contents pages read back from
// fixed columns: the last three characters of "000" + the number.
QString pageCountText(qint64 number);

// Rounds to the nearest integer, halves to the even neighbour (82.5 -> 82, 83.5 -> 84).
long long roundHalfEven(long double value);

// A folder path ready for a file name to be appended: "/" added unless it already ends in one.
QString folderPath(const QString& folder);

// A text as a terminal shows it: control characters (C0, DEL and C1) become "\xNN", so a
// file name inside it cannot move the cursor, clear or restyle the terminal. With
// keepLineBreaks (a message), its newlines are kept.
QString terminalText(const QString& text, bool keepLineBreaks = false);

// The program's home page given at build time (TESSALY_HOME_URL); empty when none was given.
extern const char* const kHomePageUrl;

// The credit at the foot of the pages: caption as a link (tag "A" or "a", as the page writes
// its tags) to the home page, or caption alone when there is no home page to link to.
QString creditLink(const QString& caption, const QString& tag = QStringLiteral("A"),
                   const QString& home = QString::fromUtf8(kHomePageUrl));

// The program version printed in pages and the settings file.
extern const char* const kVersion;

}  // namespace tessaly
