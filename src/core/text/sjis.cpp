#include "core/text/sjis.h"

#include <iconv.h>

#include <QList>
#include <algorithm>
#include <cerrno>

#include "core/text/errors.h"

namespace tessaly::sjis {
namespace {

class Converter {
public:
    Converter(const char* to, const char* from) : cd_(iconv_open(to, from)) {
        if (cd_ == reinterpret_cast<iconv_t>(-1)) {
            throw EncodingError(QStringLiteral("文字コード変換を開始できません (%1 → %2)")
                                    .arg(QLatin1String(from), QLatin1String(to)));
        }
    }
    ~Converter() { iconv_close(cd_); }
    Converter(const Converter&) = delete;
    Converter& operator=(const Converter&) = delete;

    // Converts as much as possible; returns errno of the stop (0 when all input was used).
    int run(char*& in, size_t& inLeft, QByteArray& out) {
        char buffer[4096];
        while (inLeft > 0) {
            char* outPtr = buffer;
            size_t outLeft = sizeof buffer;
            size_t rc = iconv(cd_, &in, &inLeft, &outPtr, &outLeft);
            out.append(buffer, static_cast<qsizetype>(sizeof buffer - outLeft));
            if (rc == static_cast<size_t>(-1) && errno != E2BIG) {
                return errno;
            }
        }
        return 0;
    }

private:
    iconv_t cd_;
};

// Length in bytes of the UTF-8 sequence that starts with this byte.
size_t utf8Length(unsigned char lead) {
    if (lead < 0x80) return 1;
    if ((lead & 0xE0) == 0xC0) return 2;
    if ((lead & 0xF0) == 0xE0) return 3;
    return 4;
}

// Tag characters (U+E0000 to U+E007F) convert to nothing at all: they would vanish silently.
bool vanishes(char32_t character) { return character >= 0xE0000 && character <= 0xE007F; }

QString describe(uint codePoint) {
    const char32_t character = codePoint;
    return QStringLiteral("「%1」(U+%2)")
        .arg(QString::fromUcs4(&character, 1),
             QString::number(codePoint, 16).toUpper().rightJustified(4, QLatin1Char('0')));
}

QByteArray encodeMappable(const QString& text, Unmappable mode);

}  // namespace

QByteArray encode(const QString& text, Unmappable mode) {
    if (!text.contains(QChar(0xDB40))) return encodeMappable(text, mode);  // no tag character
    // Tag characters are treated as characters code page 932 cannot hold.
    QByteArray out;
    QString run;
    for (const char32_t character : text.toUcs4()) {
        if (!vanishes(character)) {
            run += QString::fromUcs4(&character, 1);
            continue;
        }
        out += encodeMappable(run, mode);
        run.clear();
        if (mode == Unmappable::Refuse) {
            throw EncodingError(
                QStringLiteral("文字 %1 はShift-JISで保存できません。").arg(describe(character)));
        }
        out += "&#" + QByteArray::number(uint(character)) + ';';
    }
    return out + encodeMappable(run, mode);
}

namespace {

QByteArray encodeMappable(const QString& text, Unmappable mode) {
    QByteArray utf8 = text.toUtf8();
    QByteArray out;
    out.reserve(utf8.size());
    Converter conv("CP932", "UTF-8");
    char* in = utf8.data();
    size_t inLeft = static_cast<size_t>(utf8.size());
    while (inLeft > 0) {
        if (conv.run(in, inLeft, out) == 0) break;
        size_t len = std::min(utf8Length(static_cast<unsigned char>(*in)), inLeft);
        QString bad = QString::fromUtf8(in, static_cast<qsizetype>(len));
        uint cp = bad.isEmpty() ? 0xFFFD : bad.toUcs4().value(0, 0xFFFD);
        if (mode == Unmappable::Refuse) {
            throw EncodingError(
                QStringLiteral("文字 %1 はShift-JISで保存できません。").arg(describe(cp)));
        }
        out.append("&#" + QByteArray::number(cp) + ';');
        in += len;
        inLeft -= len;
    }
    return out;
}

}  // namespace

QString decode(const QByteArray& bytes) {
    QByteArray copy = bytes;
    QByteArray utf8;
    utf8.reserve(copy.size() * 3 / 2);
    Converter conv("UTF-8", "CP932");
    char* in = copy.data();
    size_t inLeft = static_cast<size_t>(copy.size());
    while (inLeft > 0) {
        if (conv.run(in, inLeft, utf8) == 0) break;
        utf8.append("\xEF\xBF\xBD");  // U+FFFD for the byte that could not be read
        ++in;
        --inLeft;
    }
    return QString::fromUtf8(utf8);
}

bool changesOnRoundTrip(char32_t character) {
    switch (character) {
        case 0x00A2:  // CENT SIGN -> FULLWIDTH CENT SIGN
        case 0x00A3:  // POUND SIGN -> FULLWIDTH POUND SIGN
        case 0x00A5:  // YEN SIGN -> REVERSE SOLIDUS
        case 0x00AC:  // NOT SIGN -> FULLWIDTH NOT SIGN
        case 0x2014:  // EM DASH -> HORIZONTAL BAR
        case 0x2016:  // DOUBLE VERTICAL LINE -> PARALLEL TO
        case 0x203E:  // OVERLINE -> TILDE
        case 0x2212:  // MINUS SIGN -> FULLWIDTH HYPHEN-MINUS
        case 0x301C:  // WAVE DASH -> FULLWIDTH TILDE
            return true;
        default:
            return false;
    }
}

void requireExact(const QString& text) {
    encode(text, Unmappable::Refuse);
    for (const char32_t character : text.toUcs4()) {
        if (changesOnRoundTrip(character)) {
            throw EncodingError(
                QStringLiteral("文字 %1 はShift-JISで保存できません。").arg(describe(character)));
        }
    }
}

QString roundTripped(const QString& text) {
    QString out;
    out.reserve(text.size());
    for (const char32_t character : text.toUcs4()) {
        const QString one = QString::fromUcs4(&character, 1);
        out += changesOnRoundTrip(character) ? decode(encode(one, Unmappable::Refuse)) : one;
    }
    return out;
}

bool canEncode(const QString& text) {
    try {
        encode(text, Unmappable::Refuse);
        return true;
    } catch (const EncodingError&) {
        return false;
    }
}

}  // namespace tessaly::sjis
