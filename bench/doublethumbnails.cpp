// What the double-size thumbnails of the modern page cost: the same folder catalogued in the
// classic style and in the modern style (which adds a thumbnail at twice the box from the
// same decode), side by side in one run, rounds alternating, medians compared: wall-clock
// seconds, and the process's processor seconds (steadier on a busy machine).
//   bench_doublethumbnails [COUNT [WIDTH HEIGHT [ROUNDS]]]  (defaults 40 3000 2000 5)
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <vector>

#include "benchtiming.h"
#include "core/catalog/catalogrun.h"
#include "core/settings/catalogsettings.h"
#include "support/recordingrunhost.h"
#include "support/testimages.h"

using namespace tessaly;
using namespace tessaly::bench;

namespace {

QStringList makeFolder(const QString& folder, int count, int width, int height) {
    QStringList names;
    for (int i = 0; i < count; ++i) {
        test::JpegLayout layout;
        layout.noise = 30;
        layout.jitterSeed = unsigned(i + 1);
        const QByteArray jpeg = test::makePhotoJpeg(width, height, layout);
        names << QStringLiteral("photo%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
        QFile file(folder + "/" + names.last());
        if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size()) std::exit(1);
    }
    return names;
}

// Seconds of one whole catalogue run from an empty thumbnail folder.
Timing runSeconds(const QString& folder, const QStringList& names, bool modern, bool filter,
                  int jobs) {
    QDir(folder + "/htm_image").removeRecursively();
    CatalogSettings settings;
    settings.noBrowserLaunch = QStringLiteral("on");
    settings.pageStyle = modern ? QStringLiteral("modern") : QString();
    settings.thumbFilter = filter ? QStringLiteral("on") : QStringLiteral("off");
    test::RecordingRunHost host;
    NoShell shell;
    CatalogRunInput input;
    input.folder = folder;
    input.names = names;
    input.selected.assign(size_t(names.size()), true);
    input.title = QStringLiteral("bench");
    input.jobs = jobs;
    CatalogRun run(settings, host, shell);
    return timed([&] {
        if (run.execute(input) != CatalogRunOutcome::Completed) std::exit(1);
    });
}

double median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    return values[values.size() / 2];
}

}  // namespace

int main(int argc, char* argv[]) {
    const int count = argc > 1 ? std::atoi(argv[1]) : 40;
    const int width = argc > 3 ? std::atoi(argv[2]) : 3000;
    const int height = argc > 3 ? std::atoi(argv[3]) : 2000;
    const int rounds = argc > 4 ? std::atoi(argv[4]) : 5;
    QTemporaryDir dir;
    const QStringList names = makeFolder(dir.path(), count, width, height);
    std::printf("%d photos of %dx%d, median of %d rounds\n", count, width, height, rounds);
    std::printf("%-20s %9s %9s %7s %9s %9s %7s\n", "", "classic s", "modern s", "added",
                "cpu cl. s", "cpu mo. s", "added");
    for (const bool filter : {false, true}) {
        for (const int jobs : {1, 2}) {
            std::vector<double> classicWall, modernWall, classicCpu, modernCpu;
            for (int r = 0; r < rounds; ++r) {
                const Timing c = runSeconds(dir.path(), names, false, filter, jobs);
                const Timing m = runSeconds(dir.path(), names, true, filter, jobs);
                classicWall.push_back(c.wall), classicCpu.push_back(c.cpu);
                modernWall.push_back(m.wall), modernCpu.push_back(m.cpu);
            }
            const double cw = median(classicWall), mw = median(modernWall);
            const double cc = median(classicCpu), mc = median(modernCpu);
            std::printf("filter %-3s, %d job%s   %9.3f %9.3f %6.1f%% %9.3f %9.3f %6.1f%%\n",
                        filter ? "on" : "off", jobs, jobs == 1 ? " " : "s", cw, mw,
                        100.0 * (mw - cw) / cw, cc, mc, 100.0 * (mc - cc) / cc);
        }
    }
    return 0;
}
