// Writes the starting inputs of the fuzz targets with the program's own writers:
//   bench_fuzzcorpus OUT_FOLDER
// makes OUT/settings, OUT/comments, OUT/toc, OUT/jpeg, OUT/sjis and OUT/heif.
#include <QCoreApplication>
#include <QDate>
#include <QDir>
#include <cstdio>

#include "core/comments/commenttable.h"
#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/pixels/pixelimage.h"
#include "core/pages/classic/catalogpagewriter.h"
#include "core/pages/outputlayout.h"
#include "core/settings/catalogsettings.h"
#include "core/text/sjis.h"
#include "support/tempdir.h"
#include "support/testheif.h"
#include "support/testimages.h"

using namespace tessaly;

namespace {

QString make(const QString& out, const QString& area) {
    const QString folder = out + QLatin1Char('/') + area;
    QDir().mkpath(folder);
    return folder;
}

void settingsSeeds(const QString& out) {
    CatalogSettings settings;
    settings.appFolder = make(out, QStringLiteral("settings"));
    settings.headerText = QStringLiteral("ヘッダー <b>");
    settings.windowLeft = -20;
    saveSettings(settings);
}

void commentSeeds(const QString& out) {
    CommentTable table;
    table.set(QStringLiteral("a.jpg"), QStringLiteral("春の海"), QStringLiteral(" 二行目 "));
    table.set(QStringLiteral("B.JPG"), QString(), QStringLiteral("x"));
    table.save(make(out, QStringLiteral("comments")),
               {QStringLiteral("a.jpg"), QStringLiteral("b.jpg"), QStringLiteral("c.jpg")});
}

void pageSeeds(const QString& out) {
    CatalogSettings settings;
    settings.useScriptPopup = QStringLiteral("on");
    const OutputLayout layout(settings, make(out, QStringLiteral("toc")));
    CatalogPageWriter writer(settings, layout.pageFiles(false, false));
    writer.writeHead(layout.page().path, QStringLiteral("写真の目録"), 3, 2,
                     layout.thumbnailFileName(QStringLiteral("a.jpg")), QDate(2026, 1, 5));
    writer.writeBodyStart();
    CatalogEntry entry;
    entry.fileName = QStringLiteral("a.jpg");
    entry.link = layout.photo(entry.fileName).fromPage;
    entry.thumbnail = layout.thumbnail(entry.fileName).fromPage;
    entry.imageWidth = 660;
    entry.imageHeight = 450;
    entry.thumbnailWidth = 110;
    entry.thumbnailHeight = 75;
    writer.writeImage(1, entry, true);
    writer.writeTail(true);
}

void jpegSeeds(const QString& out) {
    const QString folder = make(out, QStringLiteral("jpeg"));
    const int sizes[][2] = {{8, 8}, {17, 9}, {40, 64}};
    for (const auto& size : sizes) {
        PixelImage picture(size[0], size[1], PixelFormat::Bgr24);
        for (int y = 0; y < size[1]; ++y) {
            for (int x = 0; x < size[0]; ++x) picture.setPixel(x, y, (x * 37 + y * 11) & 0xFFFFFF);
        }
        JpegImage jpeg;
        jpeg.Assign(picture);
        jpeg.setCompressionQuality(50);
        jpeg.saveToFile(folder + QStringLiteral("/%1x%2.jpg").arg(size[0]).arg(size[1]));
    }
}

void sjisSeeds(const QString& out) {
    test::writeFile(
        make(out, QStringLiteral("sjis")) + QStringLiteral("/text.txt"),
        sjis::encode(QStringLiteral("日本語ﾃｷｽﾄ　ABC①"), sjis::Unmappable::CharacterRef));
}

// Small HEIC files with each transform, an alpha plane, 10 bits and an EXIF block.
void heifSeeds(const QString& out) {
    const QString folder = make(out, QStringLiteral("heif"));
    for (int orientation : {1, 2, 6, 7}) {
        test::HeicOptions options;
        options.orientation = orientation;
        options.quality = 30;
        options.clap = orientation == 2;
        options.alpha = orientation == 6;
        options.bitDepth = orientation == 7 ? 10 : 8;
        if (orientation == 1) options.exif = test::makeTestExif("Maker", "2024:01:02 03:04:05", 6);
        test::writeTestHeic(folder + QStringLiteral("/o%1.heic").arg(orientation), 33, 17, options);
    }
}

// Heads of camera photographs (EXIF with a thumbnail, XMP, IPTC, ICC chunks, a comment) in
// each orientation, and an EXIF block written by hand with two Orientation entries.
void metadataStarts(const QString& out) {
    const QString folder = make(out, QStringLiteral("metadata"));
    for (int orientation : {1, 6, 8}) {
        test::JpegLayout layout;
        layout.segments = test::cameraSegments(24, 16, orientation);
        test::writeFile(folder + QStringLiteral("/camera%1.jpg").arg(orientation),
                        test::makePhotoJpeg(24, 16, layout).left(65536));
    }
    test::writeFile(
        folder + QStringLiteral("/two-orientations.tif"),
        test::handMadeExif({test::shortEntry(0x0112, 3, 0), test::shortEntry(0x0112, 6),
                            test::textEntry(0x0132, "2024:01:02 03:04:05")},
                           {test::longEntry(0xA002, 70000), test::shortEntry(0xA003, 9)})
            .mid(6));
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    if (argc < 2) {
        std::fputs("usage: bench_fuzzcorpus OUT_FOLDER\n", stderr);
        return 2;
    }
    const QString out = QString::fromLocal8Bit(argv[1]);
    try {
        settingsSeeds(out);
        commentSeeds(out);
        pageSeeds(out);
        jpegSeeds(out);
        sjisSeeds(out);
        heifSeeds(out);
        metadataStarts(out);
    } catch (const std::exception& e) {
        std::fprintf(stderr, "%s\n", e.what());
        return 1;
    }
    return 0;
}
