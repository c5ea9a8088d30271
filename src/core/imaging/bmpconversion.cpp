#include "core/imaging/bmpconversion.h"

#include <QFile>
#include <QFileInfo>

#include "core/imaging/filereplacement.h"
#include "core/imaging/tjpegimage.h"
#include "core/text/charfuncs.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/text/textfile.h"

namespace tessaly {

BmpConversion::BmpConversion(int quality) : quality_(qBound(1, quality, 100)) {}

QString BmpConversion::outputName(const QString& bmpName) {
    return charLeft(bmpName, qMax(0, charLength(bmpName) - 3)) + QStringLiteral("jpg");
}

TNkDIB BmpConversion::load(const QString& path) {
    TNkDIB picture;
    picture.LoadFromFile(path);
    return picture;
}

void BmpConversion::write(const TNkDIB& picture, const QString& path) const {
    TJPEGImage jpeg;
    TNkDIB colour(picture);
    if (colour.PixelFormat() != nk24Bit) colour.SetPixelFormat(nk24Bit);
    jpeg.Assign(colour);
    jpeg.SetCompressionQuality(quality_);
    FileReplacement::replace(path, jpeg.SaveToData());
}

BmpConversion::Result BmpConversion::run(const QString& folder, const QStringList& names,
                                         const Hooks& hooks) const {
    Result result;
    const QString base = folderPath(folder);
    for (const QString& name : names) {
        if (hooks.starting) hooks.starting(name);
        TNkDIB picture;
        try {
            picture = load(base + name);
        } catch (const Error& error) {
            result.failure = Failure::Read;
            result.failedName = name;
            result.message = error.message();
            return result;
        }
        if (hooks.loaded) hooks.loaded(picture);
        const QString output = outputName(name);
        if (QFileInfo(base + output) == QFileInfo(base + name)) {
            result.skipped << output;  // never written over its own source
            continue;
        }
        if (QFileInfo::exists(base + output) && !(hooks.overwrite && hooks.overwrite(output))) {
            result.skipped << output;
            continue;
        }
        try {
            write(picture, base + output);
        } catch (const Error& error) {
            result.failure = Failure::Write;
            result.failedName = name;
            result.message = error.message();
            return result;
        }
        result.written << output;
    }
    return result;
}

QString BmpConversion::overwriteQuestion(const QString& outputName) {
    return QStringLiteral("同名のファイルが存在します。\r") + outputName +
           QStringLiteral("\r上書きしてよろしいですか？");
}

QString BmpConversion::writeErrorMessage() {
    return QStringLiteral("ファイル書き込みエラーが発生しました。\r処理は中断されました。");
}

QString BmpConversion::convertingStatus() { return QStringLiteral("BMP→JPG 変換中"); }

QString BmpConversion::finishedStatus() { return QStringLiteral("変換終了"); }

}  // namespace tessaly
