// Times captureOrder (the order photographs were taken, read from each file's EXIF header) over
// a folder of 5,000 photographs with capture times, each padded after its picture so that a
// reader that went past the header would show in the figure.
//   bench_captureorder [DIR]   (DIR is made when missing; default: a temporary folder)
#include "core/catalog/captureorder.h"

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <cstdio>

#include "support/tempdir.h"
#include "support/testheif.h"

using namespace tessaly;

int main(int argc, char** argv) {
    constexpr int kPhotos = 5000;
    QTemporaryDir scratch;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : scratch.path();
    QDir().mkpath(folder);
    QStringList names;
    const QByteArray padding(64 * 1024, '\0');
    for (int i = 0; i < kPhotos; ++i) {
        const QString name = QStringLiteral("p%1.jpg").arg(i, 5, 10, QLatin1Char('0'));
        names << name;
        if (QFile::exists(folder + "/" + name)) continue;
        const QString taken = QStringLiteral("2024:05:%1 %2:%3:00")
                                  .arg(1 + i % 28, 2, 10, QLatin1Char('0'))
                                  .arg(i % 24, 2, 10, QLatin1Char('0'))
                                  .arg(i % 60, 2, 10, QLatin1Char('0'));
        test::writeFile(folder + "/" + name, test::makeCameraJpeg(taken, {}, {}, true) + padding);
    }
    QElapsedTimer clock;
    clock.start();
    const std::vector<int> order = captureOrder(folder, names);
    const qint64 ms = clock.elapsed();
    std::printf("captureOrder: %d photographs in %lld ms (first %s)\n", kPhotos,
                static_cast<long long>(ms), qPrintable(names[order.front()]));
    return 0;
}
