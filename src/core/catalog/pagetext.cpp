#include "core/catalog/pagetext.h"

namespace tessaly {

bool startsCharacterReference(const QString& text, qsizetype i) {
    if (i < 0 || i >= text.size() || text.at(i) != QLatin1Char('&')) return false;
    qsizetype j = i + 1;
    while (j < text.size() && text.at(j).unicode() < 0x80 &&
           (text.at(j).isLetterOrNumber() || text.at(j) == QLatin1Char('#'))) {
        ++j;
    }
    return j > i + 1 && j < text.size() && text.at(j) == QLatin1Char(';');
}

QString percentEncoded(char16_t c) {
    return QStringLiteral("%%1").arg(static_cast<uint>(c), 2, 16, QLatin1Char('0')).toUpper();
}

QString characterReference(char16_t c) { return QStringLiteral("&#%1;").arg(static_cast<uint>(c)); }

}  // namespace tessaly
