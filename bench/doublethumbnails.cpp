// What the double-size thumbnails of the modern page cost: the same folder catalogued in the
// classic style and in the modern style (which adds a thumbnail at twice the box from the
// same decode), side by side in one run, rounds alternating, medians compared.
//   bench_doublethumbnails [COUNT [WIDTH HEIGHT [ROUNDS]]]  (defaults 40 3000 2000 5)
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <cstdlib>
#include <vector>

#include "core/catalog/catalogrun.h"
#include "core/settings/catalogsettings.h"
#include "support/recordingrunhost.h"
#include "support/testimages.h"

using namespace tessaly;

namespace {

class NoShell : public Shell {
public:
    void openDocument(const QString&) override {}
    void startProgram(const QString&, const QString&, const QString&) override {}
};

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
double runSeconds(const QString& folder, const QStringList& names, bool modern, bool filter,
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
    QElapsedTimer clock;
    clock.start();
    if (run.execute(input) != CatalogRunOutcome::Completed) std::exit(1);
    return clock.nsecsElapsed() / 1e9;
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
    std::printf("%-22s %10s %10s %8s\n", "", "classic s", "modern s", "added");
    for (const bool filter : {false, true}) {
        for (const int jobs : {1, 2}) {
            std::vector<double> classic, modern;
            for (int r = 0; r < rounds; ++r) {
                classic.push_back(runSeconds(dir.path(), names, false, filter, jobs));
                modern.push_back(runSeconds(dir.path(), names, true, filter, jobs));
            }
            const double c = median(classic), m = median(modern);
            std::printf("filter %-3s, %d job%s      %10.3f %10.3f %7.1f%%\n", filter ? "on" : "off",
                        jobs, jobs == 1 ? " " : "s", c, m, 100.0 * (m - c) / c);
        }
    }
    return 0;
}
