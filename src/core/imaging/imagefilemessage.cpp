#include "core/imaging/imagefilemessage.h"

#include <QFileInfo>

namespace tessaly {

namespace {

const QString kTooLarge = QStringLiteral("画像が大きすぎるため読み込めません");

QString named(const QString& path, const QString& sentence) {
    return QFileInfo(path).fileName() + QStringLiteral(": ") + sentence;
}

QString codecText(const Error& codec) {
    return codec.detail().isEmpty() ? codec.message() : codec.detail();
}

bool startsWithOneOf(const QString& detail, std::initializer_list<const char*> texts) {
    for (const char* text : texts) {
        if (detail.startsWith(QLatin1String(text))) return true;
    }
    return false;
}

}  // namespace

QString jpegReason(const QString& detail) {
    if (startsWithOneOf(detail, {"JPEG file is too large", "JPEG image is too large",
                                 "Maximum supported image dimension"})) {
        return kTooLarge;
    }
    if (detail.startsWith(QLatin1String("Not a JPEG file"))) {
        return QStringLiteral("JPEG ファイルではありません");
    }
    if (startsWithOneOf(detail, {"JPEG datastream contains no image", "Empty JPEG image"})) {
        return QStringLiteral("JPEG データに画像がありません");
    }
    if (startsWithOneOf(detail, {"Premature end of", "Empty input file"})) {
        return QStringLiteral("ファイルが途中で切れています");
    }
    if (detail.contains(QLatin1String("Huffman"))) {
        return QStringLiteral("JPEG データのハフマン符号が壊れています");
    }
    if (detail.startsWith(QLatin1String("Unsupported JPEG color space"))) {
        return QStringLiteral("この色形式の JPEG 画像には対応していません");
    }
    if (startsWithOneOf(detail, {"Unsupported", "Requested features are incompatible"})) {
        return QStringLiteral("この形式の JPEG 画像には対応していません");
    }
    if (detail.startsWith(QLatin1String("Too many progressive scans"))) {
        return QStringLiteral(
            "走査（スキャン）の数が多すぎるため読み込みません。壊れているか、"
            "読み込みを妨げるために作られたファイルです");
    }
    if (startsWithOneOf(detail, {"Corrupt JPEG data", "Bogus", "Invalid JPEG file structure"})) {
        return QStringLiteral("JPEG データが壊れています");
    }
    return QStringLiteral("JPEG 画像として読み込めません");
}

JpegError jpegFileError(const QString& path, const QString& detail) {
    return JpegError(named(path, jpegReason(detail)), detail);
}

JpegError jpegFileError(const QString& path, const Error& codec) {
    return jpegFileError(path, codecText(codec));
}

BmpFormatError bmpFileError(const QString& path, const QString& detail) {
    QString sentence = QStringLiteral("BMP ファイルが壊れているか、途中で切れています");
    if (detail == QLatin1String(imagemsg::kFileType)) {
        sentence = QStringLiteral("BMP ファイルではありません");
    } else if (detail == QLatin1String(imagemsg::kTooLarge)) {
        sentence = kTooLarge;
    } else if (startsWithOneOf(detail,
                               {imagemsg::kHeaderSize, imagemsg::kMasks, imagemsg::kBitCoutWindows,
                                imagemsg::kBitCountOs2, imagemsg::kBiBitCount})) {
        sentence = QStringLiteral("この形式の BMP ファイルには対応していません");
    }
    return BmpFormatError(named(path, sentence), detail);
}

BmpFormatError bmpFileError(const QString& path, const Error& codec) {
    return bmpFileError(path, codecText(codec));
}

}  // namespace tessaly
