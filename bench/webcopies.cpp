// Web copies of 24 twelve-megapixel camera-like photographs (GPS, serial numbers, an EXIF
// thumbnail, XMP, IPTC, an ICC profile; a third turned by EXIF): tessaly-batch's catalogue
// with --web-copies (2048 pixels) and without, against libvips' vipsthumbnail -s 2048 writing
// stripped JPEGs of the same files (Debian package libvips-tools). Each side runs as a child
// process from an empty output folder; the figures are wall-clock and processor time (user +
// system, all threads), the best of a few rounds.
//   bench_webcopies [FOLDER]   FOLDER keeps the photographs between runs (made when missing)

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>

#include <QCoreApplication>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QFileInfo>
#include <QTemporaryDir>
#include <cstdio>
#include <functional>
#include <vector>

#include "support/testimages.h"

extern char** environ;

using namespace tessaly;

namespace {

constexpr int kFiles = 24;
constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kRounds = 3;

void makePhotos(const QString& folder) {
    for (int i = 0; i < kFiles; ++i) {
        const QString path =
            folder + QStringLiteral("/IMG_%1.jpg").arg(i + 1, 4, 10, QLatin1Char('0'));
        if (QFileInfo::exists(path)) continue;
        test::JpegLayout layout;
        layout.noise = 6;
        const int orientation = i % 3 == 0 ? 6 : 1;
        layout.segments = test::privateCameraSegments(kWidth, kHeight, orientation);
        const QByteArray jpeg = test::makePhotoJpeg(kWidth, kHeight, layout);
        QFile file(path);
        if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size()) {
            std::fprintf(stderr, "cannot write %s\n", qPrintable(path));
            std::exit(1);
        }
    }
}

struct Figures {
    double wall = 1e9, cpu = 1e9;
};

double seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; }

// Runs the command once; false when it failed.
bool runOnce(const QStringList& command, Figures& best) {
    std::vector<QByteArray> bytes;
    for (const QString& arg : command) bytes.push_back(arg.toLocal8Bit());
    std::vector<char*> argv;
    for (QByteArray& b : bytes) argv.push_back(b.data());
    argv.push_back(nullptr);
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawnp(&pid, argv[0], nullptr, nullptr, argv.data(), environ) != 0) return false;
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return false;
    const double wall = double(clock.nsecsElapsed()) / 1e9;
    const double cpu = seconds(usage.ru_utime) + seconds(usage.ru_stime);
    best.wall = std::min(best.wall, wall);
    best.cpu = std::min(best.cpu, cpu);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

Figures measure(const char* name, const std::function<QStringList()>& prepare) {
    Figures best;
    for (int round = 0; round < kRounds; ++round) {
        if (!runOnce(prepare(), best)) {
            std::fprintf(stderr, "%s failed\n", name);
            std::exit(1);
        }
    }
    std::printf("%-34s wall %6.2f s   processor %6.2f s\n", name, best.wall, best.cpu);
    return best;
}

}  // namespace

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QTemporaryDir scratch;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : scratch.filePath("photos");
    QDir().mkpath(folder);
    makePhotos(folder);
    const QString batch =
        QCoreApplication::applicationDirPath() + QStringLiteral("/../src/batch/tessaly-batch");
    const QString settings = scratch.filePath("settings");
    QDir().mkpath(settings);
    const QString thumbs = folder + QStringLiteral("/htm_image");
    const QString vipsOut = scratch.filePath("vips");
    const auto fresh = [&](const QStringList& command) {
        return [&, command] {
            QDir(thumbs).removeRecursively();
            QDir(vipsOut).removeRecursively();
            QDir().mkpath(vipsOut);
            return command;
        };
    };
    QStringList photos;
    for (const QString& name : QDir(folder).entryList({"*.jpg"}, QDir::Files, QDir::Name))
        photos << folder + QLatin1Char('/') + name;
    const Figures vips = measure(
        "vipsthumbnail -s 2048 (strip)",
        fresh(QStringList{"vipsthumbnail", "-s", "2048", "-o", vipsOut + "/%s.jpg[Q=80,strip]"} +
              photos));
    const Figures plain =
        measure("tessaly-batch (no copies)", fresh({batch, "-q", "-s", settings, folder}));
    const Figures copies = measure("tessaly-batch --web-copies",
                                   fresh({batch, "-q", "-s", settings, "--web-copies", folder}));
    std::printf("catalogue with copies / vipsthumbnail: wall %.2fx, processor %.2fx\n",
                copies.wall / vips.wall, copies.cpu / vips.cpu);
    std::printf("catalogue with copies / without:       wall %.2fx, processor %.2fx\n",
                copies.wall / plain.wall, copies.cpu / plain.cpu);
    QDir(thumbs).removeRecursively();
    for (const QString& page : {QStringLiteral("index.htm")}) QFile::remove(folder + "/" + page);
    return 0;
}
