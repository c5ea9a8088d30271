#include "core/text/errors.h"

namespace tessaly {

Error::Error(QString message) : message_(std::move(message)), utf8_(message_.toUtf8()) {}

QString outOfMemoryMessage() {
    return QStringLiteral("メモリが足りません。\n処理は中断されました。");
}

}  // namespace tessaly
