#include "core/text/formatting.h"

#include <cfenv>
#include <cmath>

#include "core/text/charfuncs.h"

namespace tessaly {

#ifndef TESSALY_HOME_URL
#define TESSALY_HOME_URL ""
#endif

const char* const kHomePageUrl = TESSALY_HOME_URL;
const char* const kVersion = "1.60";

QString creditLink(const QString& caption, const QString& tag, const QString& home) {
    if (home.isEmpty()) return caption;
    return QLatin1Char('<') + tag + QStringLiteral(" href=\"") + home + QStringLiteral("\">") +
           caption + QStringLiteral("</") + tag + QLatin1Char('>');
}

QString htmlColorCode(qint64 colour) {
    // Negative values keep their two's complement digits, as a 32-bit colour would print.
    const quint64 bits = colour < 0 ? static_cast<quint32>(colour) : static_cast<quint64>(colour);
    const QString hex = QString::number(bits, 16).toUpper().rightJustified(6, QLatin1Char('0'));
    return charRight(hex, 2) + charMid(hex, 3, 2) + charLeft(hex, 2);
}

QString counterText(qint64 number) {
    return QString::number(number).rightJustified(3, QLatin1Char('0'));
}

QString pageCountText(qint64 number) {
    return charRight(QStringLiteral("000") + QString::number(number), 3);
}

long long roundHalfEven(long double value) {
    return static_cast<long long>(std::nearbyintl(value));
}

QString terminalText(const QString& text, bool keepLineBreaks) {
    QString out;
    out.reserve(text.size());
    for (const QChar c : text) {
        const char16_t u = c.unicode();
        if (keepLineBreaks && u == '\n') {
            out += QLatin1Char('\n');
        } else if (u < 0x20 || (u >= 0x7F && u <= 0x9F)) {
            out += QStringLiteral("\\x%1").arg(static_cast<uint>(u), 2, 16, QLatin1Char('0'));
        } else {
            out += c;
        }
    }
    return out;
}

QString folderPath(const QString& folder) {
    if (folder.endsWith(QLatin1Char('/'))) return folder;
    return folder + QLatin1Char('/');
}

}  // namespace tessaly
