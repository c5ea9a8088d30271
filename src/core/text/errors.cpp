#include "core/text/errors.h"

#include <cstdio>

#include "core/text/formatting.h"

namespace tessaly {

Error::Error(QString message, QString detail)
    : message_(std::move(message)), detail_(std::move(detail)), utf8_(message_.toUtf8()) {}

QString diagnosticText(const Error& error) {
    if (error.detail().isEmpty()) return error.message();
    return error.message() + QStringLiteral("（") + error.detail() + QStringLiteral("）");
}

void logDetail(const Error& error) {
    if (error.detail().isEmpty()) return;
    std::fprintf(stderr, "%s\n", terminalText(diagnosticText(error), true).toUtf8().constData());
    std::fflush(stderr);
}

QString outOfMemoryMessage() {
    return QStringLiteral("メモリが足りません。\n処理は中断されました。");
}

}  // namespace tessaly
