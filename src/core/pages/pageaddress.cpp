#include "core/pages/pageaddress.h"

#include "core/pages/pagetext.h"
#include "core/text/sjis.h"

namespace tessaly {

namespace {

bool bendsAddress(char16_t u) {
    return u < 0x20 || u == 0x7F || u == '#' || u == '?' || u == '%' || u == '\\';
}

bool isMarkup(char16_t u) { return u == '"' || u == '&' || u == '<' || u == '>'; }

QString encoded(const QString& path, AddressUse use) {
    const bool script = use == AddressUse::SlideScript;
    QString out;
    out.reserve(path.size());
    for (const QChar c : path) {
        const char16_t u = c.unicode();
        if (bendsAddress(u) || (!script && isMarkup(u))) {
            out += percentEncoded(u);
        } else if (sjis::changesOnRoundTrip(u) ||
                   (script && (isMarkup(u) || u == 0x2028 || u == 0x2029))) {
            out += characterReference(u);  // the page would name another file, or end a string
        } else {
            out += c;
        }
    }
    return out;
}

// True when a browser would read the address's start as a scheme: a letter, then letters,
// digits, '+', '-' or '.', then ':'.
bool readsAsScheme(const QString& address) {
    for (qsizetype i = 0; i < address.size(); ++i) {
        const char16_t u = address.at(i).unicode();
        const bool letter = (u >= 'a' && u <= 'z') || (u >= 'A' && u <= 'Z');
        if (i == 0 && !letter) return false;
        if (u == ':') return true;
        if (!letter && !(u >= '0' && u <= '9') && u != '+' && u != '-' && u != '.') return false;
    }
    return false;
}

}  // namespace

QString pageAddress(const QString& relativePath, AddressUse use) {
    QString address = encoded(relativePath, use);
    if (address.endsWith(QLatin1Char(' ')))
        address.replace(address.size() - 1, 1, QStringLiteral("%20"));
    if (address.startsWith(QLatin1Char(' '))) address.replace(0, 1, QStringLiteral("%20"));
    if (readsAsScheme(address)) address.prepend(QStringLiteral("./"));
    return address;
}

}  // namespace tessaly
