#include "core/imaging/imagefilemessage.h"

#include <QFileInfo>

#include "core/imaging/imageerrors.h"

namespace tessaly {

namespace {

const QString kTooLarge = QStringLiteral("画像が大きすぎるため読み込めません");

QString compose(const QString& path, const QString& sentence, const QString& detail) {
    return QFileInfo(path).fileName() + QStringLiteral(": ") + sentence + QStringLiteral("（") +
           detail + QStringLiteral("）");
}

bool isOneOf(const QString& detail, std::initializer_list<const char*> texts) {
    for (const char* text : texts) {
        if (detail == QLatin1String(text)) return true;
    }
    return false;
}

}  // namespace

QString jpegFileMessage(const QString& path, const QString& detail) {
    QString sentence = QStringLiteral("JPEG 画像として読み込めません");
    if (detail.startsWith(QLatin1String("JPEG file is too large")) ||
        detail.startsWith(QLatin1String("JPEG image is too large"))) {
        sentence = kTooLarge;
    } else if (detail.startsWith(QLatin1String("Unsupported JPEG color space"))) {
        sentence = QStringLiteral("この色形式の JPEG 画像には対応していません");
    } else if (detail.startsWith(QLatin1String("Too many progressive scans"))) {
        sentence = QStringLiteral(
            "走査（スキャン）の数が多すぎるため読み込みません。壊れているか、"
            "読み込みを妨げるために作られたファイルです");
    }
    return compose(path, sentence, detail);
}

QString bmpFileMessage(const QString& path, const QString& detail) {
    QString sentence = QStringLiteral("BMP ファイルが壊れているか、途中で切れています");
    if (detail == QLatin1String(imagemsg::kFileType)) {
        sentence = QStringLiteral("BMP ファイルではありません");
    } else if (detail == QLatin1String(imagemsg::kTooLarge)) {
        sentence = kTooLarge;
    } else if (isOneOf(detail, {imagemsg::kHeaderSize, imagemsg::kMasks, imagemsg::kBitCoutWindows,
                                imagemsg::kBitCountOs2, imagemsg::kBiBitCount})) {
        sentence = QStringLiteral("この形式の BMP ファイルには対応していません");
    }
    return compose(path, sentence, detail);
}

}  // namespace tessaly
