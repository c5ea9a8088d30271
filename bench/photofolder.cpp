// Writes the folders bench/speed measures (files already there are kept):
//   DIR/photos   24 photo-like 4000 x 3000 JPEGs (baseline, 4:2:0, quality 90, about 3 MB each)
//   DIR/mixed    photographs of many sizes and layouts: progressive, greyscale, 4:2:2, 4:4:4,
//                turned by EXIF, small ones, and one much larger than the rest (9000 x 6000)
//                in the middle
//   DIR/plain, DIR/filter, DIR/skip   settings folders (Quorvel.ini): the defaults, with the
//                filter path on, with skip existing thumbnails on
//   bench_photofolder DIR
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <cstdio>

#include "core/settings/catalogsettings.h"
#include "support/testimages.h"

using namespace tessaly;

namespace {

struct Photo {
    const char* name;
    int width, height;
    test::JpegLayout layout;
};

test::JpegLayout layout(unsigned jitterSeed, int lumaH = 2, int lumaV = 2) {
    test::JpegLayout l;
    l.h[0] = lumaH, l.v[0] = lumaV;
    l.noise = 6;
    l.jitterSeed = jitterSeed;
    return l;
}

bool write(const QString& folder, const Photo& photo) {
    const QString path = folder + "/" + photo.name;
    if (QFileInfo::exists(path)) return true;
    const QByteArray jpeg = test::makePhotoJpeg(photo.width, photo.height, photo.layout);
    QFile file(path);
    return file.open(QIODevice::WriteOnly) && file.write(jpeg) == jpeg.size();
}

std::vector<Photo> mixedPhotos() {
    std::vector<Photo> photos;
    auto add = [&photos](const char* name, int w, int h, test::JpegLayout l) {
        photos.push_back({name, w, h, l});
    };
    test::JpegLayout progressive = layout(31), grey = layout(32, 1, 1), turned = layout(33);
    progressive.progressive = true;
    grey.components = 1;
    turned.orientation = 6;
    test::JpegLayout huge = layout(34);
    huge.noise = 12;
    add("m01.jpg", 3264, 2448, layout(21));
    add("m02.jpg", 3000, 2000, progressive);
    add("m03.jpg", 2048, 1536, grey);
    add("m04.jpg", 4000, 3000, layout(22, 2, 1));  // 4:2:2
    add("m05.jpg", 1600, 1200, layout(23, 1, 1));  // 4:4:4
    add("m06.jpg", 3024, 4032, turned);
    add("m07.jpg", 640, 480, layout(24));
    add("m08.jpg", 2592, 1944, progressive);
    add("m09.jpg", 4000, 3000, layout(25));
    add("m10.jpg", 9000, 6000, huge);  // much larger than the rest, in the middle
    add("m11.jpg", 1024, 768, grey);
    add("m12.jpg", 3264, 2448, layout(26));
    add("m13.jpg", 2000, 3000, progressive);
    add("m14.jpg", 4608, 3456, layout(27));
    add("m15.jpg", 1200, 1600, turned);
    add("m16.jpg", 3000, 2000, layout(28, 1, 1));
    add("m17.jpg", 800, 600, progressive);
    add("m18.jpg", 4000, 3000, layout(29));
    add("m19.jpg", 2048, 1536, layout(30, 2, 1));
    add("m20.jpg", 3264, 2448, turned);
    return photos;
}

bool settingsFolder(const QString& folder, const char* filter, const char* skip) {
    if (!QDir().mkpath(folder)) return false;
    CatalogSettings settings;
    settings.appFolder = folder;
    settings.thumbFilter = QString::fromLatin1(filter);
    settings.skipExistingThumbs = QString::fromLatin1(skip);
    settings.makeSlideShow = QStringLiteral("on");
    saveSettings(settings);
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc != 2) {
        std::fprintf(stderr, "usage: bench_photofolder DIR\n");
        return 2;
    }
    const QString root = QFile::decodeName(argv[1]);
    QDir().mkpath(root + "/photos");
    QDir().mkpath(root + "/mixed");
    for (int i = 0; i < 24; ++i) {
        const QByteArray name =
            QStringLiteral("photo%1.jpg").arg(i + 1, 2, 10, QChar('0')).toLatin1();
        if (!write(root + "/photos", {name.constData(), 4000, 3000, layout(unsigned(i + 1))}))
            return 1;
    }
    for (const Photo& photo : mixedPhotos()) {
        if (!write(root + "/mixed", photo)) return 1;
    }
    const bool ok = settingsFolder(root + "/plain", "off", "off") &&
                    settingsFolder(root + "/filter", "on", "off") &&
                    settingsFolder(root + "/skip", "off", "on");
    return ok ? 0 : 1;
}
