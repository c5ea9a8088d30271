#pragma once

#include <QString>

namespace tessaly {

// Character-wise text functions: positions and lengths count UTF-16 code units, so a
// double-byte Japanese character counts as one. Positions are 1-based.
int charLength(const QString& text);
QString charLeft(const QString& text, int n);
QString charRight(const QString& text, int n);
QString charMid(const QString& text, int start, int count);

}  // namespace tessaly
