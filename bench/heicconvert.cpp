// HEIC to JPEG conversion of 24 twelve-megapixel phone-like photographs: the converter of
// tessaly-batch --convert (BmpConversion reading by content) against libheif's own
// heif-convert (Debian package libheif-examples) over the same files at the same JPEG
// quality. Each side runs in child processes; the figures are wall-clock time and processor
// time (user + system, all threads) of those processes, the best of a few rounds, and the
// peak resident size. Processor time is the fairer figure on a shared machine.
//   bench_heicconvert [FOLDER]   FOLDER keeps the HEIC files between runs (made when missing)
//   bench_heicconvert FOLDER --make-only   only makes the files (for bench/speed)

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>

#include "core/conversion/bmpconversion.h"
#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/pixels/heaptuning.h"
#include "support/testheif.h"

extern char** environ;

using namespace tessaly;

namespace {

constexpr int kFiles = 24;
constexpr int kWidth = 4032;  // 12.2 megapixels, as phones take them
constexpr int kHeight = 3024;
constexpr int kQuality = 90;  // heif-convert's default
constexpr int kRounds = 3;

// A photo-like picture: gradients, a soft disc, squares and sensor-like noise.
unsigned photoPattern(int x, int y, int width, int height) {
    unsigned hash = unsigned(x) * 73856093u ^ unsigned(y) * 19349663u;
    hash = (hash ^ (hash >> 13)) * 0x5bd1e995u;
    const int noise = int(hash >> 28) - 8;
    const int dx = x - width / 3, dy = y - height / 2;
    const int disc = (dx * dx + dy * dy < 900 * 900) ? 60 : 0;
    const int r = std::clamp(x * 200 / width + disc + noise, 0, 255);
    const int g = std::clamp(y * 180 / height + ((x / 250 + y / 250) % 2) * 30 + noise, 0, 255);
    const int b = std::clamp(120 + (x + y) % 97 + noise, 0, 255);
    return unsigned(r) | (unsigned(g) << 8) | (unsigned(b) << 16);
}

QString heicName(int i) {
    return QStringLiteral("IMG_%1.HEIC").arg(i + 1, 4, 10, QLatin1Char('0'));
}

void makeFiles(const QString& folder) {
    for (int i = 0; i < kFiles; ++i) {
        const QString path = folder + QLatin1Char('/') + heicName(i);
        if (QFileInfo::exists(path)) continue;
        test::HeicOptions options;
        options.pattern = photoPattern;
        options.orientation = i % 3 == 0 ? 6 : 1;  // a third taken upright in portrait
        options.quality = 60;
        options.preset = "superfast";
        std::fprintf(stderr, "making %s\n", qPrintable(path));
        test::writeTestHeic(path, kWidth, kHeight, options);
    }
}

struct Figures {
    double wall = 0, cpu = 0;
    long peakKiB = 0;
};

double seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; }

// Waits for a child and adds its processor time and peak size to the figures.
bool reap(pid_t pid, Figures& figures) {
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return false;
    figures.cpu += seconds(usage.ru_utime) + seconds(usage.ru_stime);
    figures.peakKiB = std::max(figures.peakKiB, usage.ru_maxrss);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

// All files converted by this program's converter in one child process.
bool runOurs(const QString& folder, Figures& figures) {
    QElapsedTimer clock;
    clock.start();
    const pid_t pid = fork();
    if (pid == 0) {
        keepLargeBlocksOnHeap();  // as tessaly-batch --convert does
        const BmpConversion conversion(kQuality, BmpConversion::Source::Any);
        BmpConversion::Hooks hooks;
        hooks.overwrite = [](const QString&) { return true; };
        QStringList names;
        for (int i = 0; i < kFiles; ++i) names << heicName(i);
        const auto result = conversion.run(folder, names, hooks);
        _exit(result.failure == BmpConversion::Failure::None ? 0 : 1);
    }
    const bool ok = reap(pid, figures);
    figures.wall = double(clock.nsecsElapsed()) / 1e9;
    return ok;
}

// heif-convert once per file, as it takes one file at a time.
bool runTheirs(const QString& folder, const QString& out, Figures& figures) {
    QElapsedTimer clock;
    clock.start();
    bool ok = true;
    for (int i = 0; i < kFiles && ok; ++i) {
        const QByteArray in = QFile::encodeName(folder + QLatin1Char('/') + heicName(i));
        const QByteArray jpg =
            QFile::encodeName(out + QLatin1Char('/') + heicName(i).replace(".HEIC", ".jpg"));
        const QByteArray quality = QByteArray::number(kQuality);
        char* argv[] = {const_cast<char*>("heif-convert"),
                        const_cast<char*>("--quiet"),
                        const_cast<char*>("-q"),
                        const_cast<char*>(quality.constData()),
                        const_cast<char*>(in.constData()),
                        const_cast<char*>(jpg.constData()),
                        nullptr};
        pid_t pid = 0;
        if (posix_spawnp(&pid, "heif-convert", nullptr, nullptr, argv, environ) != 0) return false;
        ok = reap(pid, figures);
    }
    figures.wall = double(clock.nsecsElapsed()) / 1e9;
    return ok;
}

void keepBest(Figures& best, const Figures& round) {
    if (best.wall == 0 || round.wall < best.wall) best.wall = round.wall;
    if (best.cpu == 0 || round.cpu < best.cpu) best.cpu = round.cpu;
    best.peakKiB = std::max(best.peakKiB, round.peakKiB);
}

// The two programs' outputs have the same upright size.
bool sameSizes(const QString& folder, const QString& out) {
    for (int i = 0; i < kFiles; ++i) {
        const QString jpg = heicName(i).replace(".HEIC", ".jpg");
        JpegImage ours, theirs;
        ours.loadFromFile(folder + QLatin1Char('/') + jpg);
        theirs.loadFromFile(out + QLatin1Char('/') + jpg);
        if (ours.width() != theirs.width() || ours.height() != theirs.height()) return false;
    }
    return true;
}

}  // namespace

int main(int argc, char* argv[]) {
    QTemporaryDir scratch;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : scratch.path();
    QDir().mkpath(folder + QStringLiteral("/heif-convert"));
    makeFiles(folder);
    if (argc > 2 && QByteArray(argv[2]) == "--make-only") return 0;
    const QString out = folder + QStringLiteral("/heif-convert");
    Figures ours, theirs;
    for (int round = 0; round < kRounds; ++round) {
        Figures a, b;
        if (!runOurs(folder, a) || !runTheirs(folder, out, b)) {
            std::fprintf(stderr, "a conversion failed (is heif-convert installed?)\n");
            return 1;
        }
        std::printf("round %d: ours %.2f s wall %.2f s cpu, heif-convert %.2f s wall %.2f s cpu\n",
                    round + 1, a.wall, a.cpu, b.wall, b.cpu);
        keepBest(ours, a);
        keepBest(theirs, b);
    }
    std::printf("%d files %dx%d, JPEG quality %d, best of %d rounds\n", kFiles, kWidth, kHeight,
                kQuality, kRounds);
    std::printf("tessaly     : %6.2f s wall, %6.2f s cpu, peak %ld MiB\n", ours.wall, ours.cpu,
                ours.peakKiB / 1024);
    std::printf("heif-convert: %6.2f s wall, %6.2f s cpu, peak %ld MiB\n", theirs.wall, theirs.cpu,
                theirs.peakKiB / 1024);
    std::printf("ratio tessaly / heif-convert: %.2f wall, %.2f cpu; same sizes: %s\n",
                ours.wall / theirs.wall, ours.cpu / theirs.cpu,
                sameSizes(folder, out) ? "yes" : "NO");
    return 0;
}
