// Thumbnails of PNG, WebP and AVIF photographs: this program's thumbnail work
// (makeThumbnail with every format read, on one worker per core, as a catalogue run makes
// them) against vipsthumbnail (package libvips-tools) over the same files: 12 PNG, 12 WebP and
// 6 AVIF of 2000 x 1500, made from a photo-like pattern. Each side runs in a child process;
// the figures are wall-clock and processor time (user + system, all threads), the best of a
// few rounds, and the peak resident size.
//   bench_formatthumbnails [FOLDER]   FOLDER keeps the files between runs (made when missing)

#include <spawn.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <cstdio>

#include "core/catalog/thumbnailwork.h"
#include "core/imaging/pixels/heaptuning.h"
#include "core/work/orderedpool.h"
#include "support/tempdir.h"
#include "support/testformats.h"
#include "support/testheif.h"

extern char** environ;

using namespace tessaly;

namespace {

constexpr int kWidth = 2000;
constexpr int kHeight = 1500;
constexpr int kRounds = 3;
const ThumbnailBox kBox{160, 160, 80, true};

unsigned photoPattern(int x, int y, int width, int height) {
    unsigned hash = unsigned(x) * 73856093u ^ unsigned(y) * 19349663u;
    hash = (hash ^ (hash >> 13)) * 0x5bd1e995u;
    const int noise = int(hash >> 28) - 8;
    const int dx = x - width / 3, dy = y - height / 2;
    const int disc = (dx * dx + dy * dy < 450 * 450) ? 60 : 0;
    const int r = std::clamp(x * 200 / width + disc + noise, 0, 255);
    const int g = std::clamp(y * 180 / height + ((x / 125 + y / 125) % 2) * 30 + noise, 0, 255);
    const int b = std::clamp(120 + (x + y) % 97 + noise, 0, 255);
    return unsigned(r) | (unsigned(g) << 8) | (unsigned(b) << 16);
}

QStringList makeFiles(const QString& folder) {
    QStringList names;
    for (int i = 0; i < 30; ++i) {
        const char* kind = i < 12 ? "png" : i < 24 ? "webp" : "avif";
        const QString name = QStringLiteral("photo%1.%2").arg(i, 2, 10, QLatin1Char('0')).arg(kind);
        names << name;
        const QString path = folder + QLatin1Char('/') + name;
        if (QFileInfo::exists(path)) continue;
        std::fprintf(stderr, "making %s\n", qPrintable(path));
        if (i < 12) {
            test::PngOptions options;
            options.pattern = photoPattern;
            test::writeFile(path, test::makeTestPng(kWidth, kHeight, options));
        } else if (i < 24) {
            test::WebpOptions options;
            options.pattern = photoPattern;
            test::writeFile(path, test::makeTestWebp(kWidth, kHeight, options));
        } else {
            test::HeicOptions options;
            options.av1 = true;
            options.pattern = photoPattern;
            options.quality = 60;
            test::writeTestHeic(path, kWidth, kHeight, options);
        }
    }
    return names;
}

struct Figures {
    double wall = 1e9, cpu = 1e9;
    long peakKiB = 0;
};

double seconds(const timeval& t) { return double(t.tv_sec) + double(t.tv_usec) / 1e6; }

// Waits for the child; keeps the best wall and processor time and the largest peak.
bool reap(pid_t pid, const QElapsedTimer& clock, Figures& figures) {
    int status = 0;
    rusage usage{};
    if (wait4(pid, &status, 0, &usage) != pid) return false;
    figures.wall = std::min(figures.wall, double(clock.nsecsElapsed()) / 1e9);
    figures.cpu = std::min(figures.cpu, seconds(usage.ru_utime) + seconds(usage.ru_stime));
    figures.peakKiB = std::max(figures.peakKiB, usage.ru_maxrss);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0;
}

bool runOurs(const QString& folder, const QStringList& names, const QString& out,
             Figures& figures) {
    QElapsedTimer clock;
    clock.start();
    const pid_t pid = fork();
    if (pid == 0) {
        keepLargeBlocksOnHeap();  // as tessaly-batch does
        std::vector<ThumbnailJob> jobs;
        for (const QString& name : names) {
            const QString thumb = out + QLatin1Char('/') + name + QStringLiteral(".jpg");
            jobs.push_back({folder + QLatin1Char('/') + name, thumb, thumb});
        }
        const int count = int(jobs.size());
        OrderedPool<ThumbnailResult>::Plan plan;
        plan.workers = QThread::idealThreadCount();
        OrderedPool<ThumbnailResult> pool(count, std::move(plan), [&jobs](int k) {
            return makeThumbnail(jobs[std::size_t(k)], kBox, false, nullptr,
                                 ThumbnailMaker::Decoding::Streamed, true);
        });
        bool ok = true;
        for (int k = 0; k < count; ++k) {
            const std::optional<ThumbnailResult> result = pool.take(k);
            ok = ok && result && !result->loadError && !result->saveError;
        }
        _exit(ok ? 0 : 1);
    }
    return reap(pid, clock, figures);
}

bool runVips(const QString& folder, const QStringList& names, const QString& out,
             Figures& figures) {
    std::vector<QByteArray> args = {"vipsthumbnail", "-s", "160", "-o",
                                    QFile::encodeName(out + "/%s.jpg[Q=80]")};
    for (const QString& name : names) args.push_back(QFile::encodeName(folder + "/" + name));
    std::vector<char*> argv;
    for (QByteArray& arg : args) argv.push_back(arg.data());
    argv.push_back(nullptr);
    QElapsedTimer clock;
    clock.start();
    pid_t pid = 0;
    if (posix_spawnp(&pid, "vipsthumbnail", nullptr, nullptr, argv.data(), environ) != 0) {
        return false;
    }
    return reap(pid, clock, figures);
}

void print(const char* who, const char* what, const Figures& f) {
    std::printf("%-14s %-5s wall %6.2f s  cpu %6.2f s  peak %6ld MiB\n", who, what, f.wall, f.cpu,
                f.peakKiB / 1024);
}

}  // namespace

int main(int argc, char** argv) {
    QTemporaryDir scratch;
    const QString folder = argc > 1 ? QString::fromLocal8Bit(argv[1]) : scratch.path();
    QDir().mkpath(folder);
    const QStringList names = makeFiles(folder);
    const struct {
        const char* what;
        QStringList names;
    } sets[] = {{"PNG", names.mid(0, 12)},
                {"WebP", names.mid(12, 12)},
                {"AVIF", names.mid(24)},
                {"all", names}};
    for (const auto& set : sets) {
        Figures ours, vips;
        for (int round = 0; round < kRounds; ++round) {
            QTemporaryDir out1, out2;
            if (!runOurs(folder, set.names, out1.path(), ours)) std::printf("ours failed\n");
            if (!runVips(folder, set.names, out2.path(), vips)) std::printf("vips failed\n");
        }
        print("Tessaly", set.what, ours);
        print("vipsthumbnail", set.what, vips);
    }
    return 0;
}
