#include "core/text/charfuncs.h"

namespace tessaly {

int charLength(const QString& text) { return static_cast<int>(text.size()); }

QString charLeft(const QString& text, int n) {
    if (n <= 0) return QString();
    return text.left(n);
}

QString charRight(const QString& text, int n) {
    if (n <= 0) return QString();
    return text.right(n);
}

QString charMid(const QString& text, int start, int count) {
    if (count <= 0 || start < 1 || text.isEmpty()) return QString();
    const int length = charLength(text);
    if (start > length) start = length;  // a start beyond the end means the last character
    const qsizetype available = length - start + 1;
    return text.mid(start - 1, std::min<qsizetype>(count, available));
}

}  // namespace tessaly
