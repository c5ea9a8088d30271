#include "core/pages/pagetext.h"

#include "core/text/sjis.h"

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

QString withoutLineBreaks(const QString& text) {
    QString out = text;
    out.replace(QLatin1Char('\r'), QLatin1String("&#13;"));
    out.replace(QLatin1Char('\n'), QLatin1String("&#10;"));
    return out;
}

QString readableName(const QString& name) {
    QString out;
    out.reserve(name.size());
    for (qsizetype i = 0; i < name.size(); ++i) {
        const bool dashes =
            name.at(i) == QLatin1Char('-') && (name.mid(i + 1, 1) == QLatin1String("-") ||
                                               (i > 0 && name.at(i - 1) == QLatin1Char('-')));
        if (startsCharacterReference(name, i)) {
            out += QLatin1String("&#38;");
        } else if (dashes) {
            out += QLatin1String("&#45;");
        } else if (name.at(i) == QLatin1Char('<') || name.at(i) == QLatin1Char('>') ||
                   sjis::changesOnRoundTrip(name.at(i).unicode())) {
            out += characterReference(name.at(i).unicode());
        } else {
            out += name.at(i);
        }
    }
    return withoutLineBreaks(out);
}

QString htmlText(const QString& name) {
    QString out;
    out.reserve(name.size());
    for (const QChar c : name) {
        const char16_t u = c.unicode();
        if (u == '&') {
            out += QLatin1String("&amp;");
        } else if (u == '<') {
            out += QLatin1String("&lt;");
        } else if (u == '>') {
            out += QLatin1String("&gt;");
        } else if (u == '"') {
            out += QLatin1String("&quot;");
        } else if (u < 0x20 || u == 0x7F || sjis::changesOnRoundTrip(u)) {
            out += characterReference(u);
        } else {
            out += c;
        }
    }
    return out;
}

QString decodeCharacterReferences(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (qsizetype i = 0; i < text.size(); ++i) {
        if (text.at(i) == QLatin1Char('&') && text.mid(i + 1, 1) == QLatin1String("#")) {
            qsizetype j = i + 2;
            while (j < text.size() && j < i + 10 && text.at(j).isDigit() &&
                   text.at(j).unicode() < 0x80) {
                ++j;
            }
            const uint code = text.mid(i + 2, j - i - 2).toUInt();
            if (j > i + 2 && j < text.size() && text.at(j) == QLatin1Char(';') && code > 0 &&
                code <= 0x10FFFF && (code < 0xD800 || code > 0xDFFF)) {
                const char32_t character = code;
                out += QString::fromUcs4(&character, 1);
                i = j;
                continue;
            }
        }
        out += text.at(i);
    }
    return out;
}

}  // namespace tessaly
