// Catalogue run benchmark: time per image of a whole run against the bare libjpeg decode of
// the same files, the speed-up of two workers, and peak memory for two folder sizes.
//   bench_catalogrun [WIDTH HEIGHT [SMALL LARGE]]  (defaults 1600 1200 50 200)
#include "core/catalog/catalogrun.h"

#include <jpeglib.h>

#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QProcess>
#include <QTemporaryDir>
#include <cstddef>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <string>
#include <vector>

#include "benchtiming.h"
#include "core/settings/catalogsettings.h"
#include "support/recordingrunhost.h"
#include "support/testimages.h"

using namespace tessaly;
using namespace tessaly::bench;

namespace {

QStringList makeFolder(const QString& folder, int count, int width, int height) {
    const QByteArray jpeg = test::makeTestJpeg(width, height, false, 90);
    QStringList names;
    for (int i = 0; i < count; ++i) {
        names << QStringLiteral("photo%1.jpg").arg(i, 4, 10, QLatin1Char('0'));
        QFile file(folder + "/" + names.last());
        if (!file.open(QIODevice::WriteOnly) || file.write(jpeg) != jpeg.size()) std::exit(1);
    }
    return names;
}

// Plain libjpeg decode of every file into one row buffer: the floor for a run.
void bareDecode(const QString& folder, const QStringList& names) {
    for (const QString& name : names) {
        FILE* file = std::fopen(QFile::encodeName(folder + "/" + name).constData(), "rb");
        if (file == nullptr) std::exit(1);
        jpeg_decompress_struct cinfo;
        jpeg_error_mgr jerr;
        cinfo.err = jpeg_std_error(&jerr);
        jpeg_create_decompress(&cinfo);
        jpeg_stdio_src(&cinfo, file);
        jpeg_read_header(&cinfo, TRUE);
        jpeg_start_decompress(&cinfo);
        std::vector<unsigned char> row(size_t(cinfo.output_width) * cinfo.output_components);
        JSAMPROW rows[1] = {row.data()};
        while (cinfo.output_scanline < cinfo.output_height) jpeg_read_scanlines(&cinfo, rows, 1);
        jpeg_finish_decompress(&cinfo);
        jpeg_destroy_decompress(&cinfo);
        std::fclose(file);
    }
}

void runCatalogue(const QString& folder, const QStringList& names, int jobs) {
    QDir(folder + "/htm_image").removeRecursively();
    CatalogSettings settings;
    settings.noBrowserLaunch = QStringLiteral("on");
    settings.makeSlideShow = QStringLiteral("on");
    test::RecordingRunHost host;
    NoShell shell;
    CatalogRunInput input;
    input.folder = folder;
    input.names = names;
    input.selected.assign(size_t(names.size()), true);
    input.title = QStringLiteral("bench");
    input.jobs = jobs;
    CatalogRun run(settings, host, shell);
    if (run.execute(input) != CatalogRunOutcome::Completed) {
        for (const QString& text : host.told + host.errors) {
            std::fprintf(stderr, "%s\n", text.toUtf8().constData());
        }
        std::exit(1);
    }
}

// Peak resident memory (KiB) of a fresh process that makes a catalogue of the first count
// images (this program again, started with --peak, reporting its own high-water mark).
long peakKiB(const QString& folder, int count, int jobs) {
    QProcess child;
    child.start(QFile::symLinkTarget("/proc/self/exe"),
                {"--peak", folder, QString::number(count), QString::number(jobs)});
    if (!child.waitForFinished(-1) || child.exitCode() != 0) return -1;
    return child.readAllStandardOutput().trimmed().toLong();
}

int peakChild(char* argv[]) {
    const QString folder = QFile::decodeName(argv[2]);
    const QStringList names = QDir(folder).entryList({"*.jpg"}, QDir::Files, QDir::Name);
    runCatalogue(folder, names.mid(0, std::atoi(argv[3])), std::atoi(argv[4]));
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly)) return 1;
    for (const QByteArray& line : status.readAll().split('\n')) {
        if (line.startsWith("VmHWM:"))
            std::printf("%s\n", line.mid(6).trimmed().split(' ')[0].constData());
    }
    return 0;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc == 5 && std::string(argv[1]) == "--peak") return peakChild(argv);
    const int width = argc > 2 ? std::atoi(argv[1]) : 1600;
    const int height = argc > 2 ? std::atoi(argv[2]) : 1200;
    const int small = argc > 4 ? std::atoi(argv[3]) : 50;
    const int large = argc > 4 ? std::atoi(argv[4]) : 200;
    QTemporaryDir dir;
    const QStringList names = makeFolder(dir.path(), large, width, height);
    std::printf("%d images of %dx%d\n", large, width, height);
    const Timing bare = timed([&] { bareDecode(dir.path(), names); });
    const Timing one = timed([&] { runCatalogue(dir.path(), names, 1); });
    const Timing two = timed([&] { runCatalogue(dir.path(), names, 2); });
    const auto line = [large](const char* what, const Timing& t) {
        std::printf("%-20s: %8.2f ms/image wall, %8.2f ms/image processor\n", what,
                    1000 * t.wall / large, 1000 * t.cpu / large);
    };
    line("bare libjpeg decode", bare);
    line("run, 1 job", one);
    line("run, 2 jobs", two);
    std::printf("run / bare decode, 1 job: %.2f wall, %.2f processor\n", one.wall / bare.wall,
                one.cpu / bare.cpu);
    std::printf("speed-up of 2 jobs over 1: %.2f wall\n", one.wall / two.wall);
    for (int jobs : {1, 2}) {
        const long a = peakKiB(dir.path(), small, jobs);
        const long b = peakKiB(dir.path(), large, jobs);
        std::printf("peak RSS, %d job(s)  : %d images %ld KiB, %d images %ld KiB (%+.1f%%)\n", jobs,
                    small, a, large, b, 100.0 * (b - a) / a);
    }
    return 0;
}
