// Thumbnail making of 12-megapixel photographs: the bare libjpeg decode against the whole
// thumbnail step on the plain path and on the filter path, each made from the decoder's rows
// (as runs make them) and through the whole decoded picture, with the peak memory of each.
// Every measurement runs in a child process so that its peak resident size is its own.
// Times are processor time of that process (user + system), which other programs running
// on the machine disturb far less than wall-clock time; the wall-clock time is shown too.

#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <QByteArray>
#include <QDir>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <ctime>
#include <random>
#include <vector>

// jpeglib.h needs <cstdio> first.
#include <jpeglib.h>

#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/thumbnailmaker.h"

using namespace tessaly;

namespace {

constexpr int kWidth = 4000;
constexpr int kHeight = 3000;
constexpr int kRounds = 3;

// A photo-like picture: smooth gradients, soft shapes and sensor-like noise.
void writePhoto(const QString& path, unsigned pattern, int noise) {
    PixelImage picture(kWidth, kHeight, PixelFormat::Bgr24);
    std::mt19937 random(pattern);
    std::uniform_int_distribution<int> jitter(-noise, noise);
    for (int y = 0; y < kHeight; ++y) {
        uchar* row = picture.scanLine(y);
        for (int x = 0; x < kWidth; ++x) {
            const int dx = x - kWidth / 3, dy = y - kHeight / 2;
            const int disc = (dx * dx + dy * dy < 900 * 900) ? 60 : 0;
            const int r = x * 200 / kWidth + disc + jitter(random);
            const int g = y * 180 / kHeight + ((x / 250 + y / 250) % 2) * 30 + jitter(random);
            const int b = 120 + (x + y) % 97 + jitter(random);
            row[3 * x] = uchar(std::clamp(b, 0, 255));
            row[3 * x + 1] = uchar(std::clamp(g, 0, 255));
            row[3 * x + 2] = uchar(std::clamp(r, 0, 255));
        }
    }
    JpegImage jpeg;  // baseline, 4:2:0
    jpeg.Assign(picture);
    jpeg.setCompressionQuality(90);
    jpeg.saveToFile(path);
}

// The bare decode: the file read and a full-size best-quality libjpeg decode, nothing else.
void bareDecode(const QString& path) {
    QFile file(path);
    file.open(QIODevice::ReadOnly);
    const QByteArray data = file.readAll();
    jpeg_decompress_struct cinfo;
    jpeg_error_mgr jerr;
    cinfo.err = jpeg_std_error(&jerr);
    jpeg_create_decompress(&cinfo);
    jpeg_mem_src(&cinfo, reinterpret_cast<const unsigned char*>(data.constData()),
                 static_cast<unsigned long>(data.size()));
    jpeg_read_header(&cinfo, TRUE);
    cinfo.dct_method = JDCT_ISLOW;
    cinfo.do_fancy_upsampling = TRUE;
    cinfo.out_color_space = JCS_EXT_BGR;
    jpeg_start_decompress(&cinfo);
    const size_t stride = (size_t(cinfo.output_width) * 3 + 3) & ~size_t(3);
    std::vector<unsigned char> pixels(stride * cinfo.output_height);
    while (cinfo.output_scanline < cinfo.output_height) {
        JSAMPROW row = pixels.data() + stride * cinfo.output_scanline;
        jpeg_read_scanlines(&cinfo, &row, 1);
    }
    jpeg_finish_decompress(&cinfo);
    jpeg_destroy_decompress(&cinfo);
}

void makeThumbnail(const QString& path, const QString& thumb, bool filter, bool streamed) {
    ThumbnailMaker maker(streamed ? ThumbnailMaker::Decoding::Streamed
                                  : ThumbnailMaker::Decoding::FullPicture);
    maker.open(path);
    maker.make(ThumbnailBox{110, 150, 80, filter}, thumb);
}

struct Result {
    double milliseconds;  // processor time
    double wallMilliseconds;
    double peakMiB;
};

double cpuMilliseconds() {
    timespec t{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &t);
    return t.tv_sec * 1e3 + t.tv_nsec / 1e6;
}

// Runs one mode in a child process: best time of kRounds and the child's peak RSS.
Result measure(int mode, const QString& path, const QString& thumb) {
    int fds[2];
    if (pipe(fds) != 0) return {0, 0, 0};
    const pid_t pid = fork();
    if (pid == 0) {
        close(fds[0]);
        double best[2] = {1e30, 1e30};
        for (int round = 0; round < kRounds && mode != 0; ++round) {
            QElapsedTimer timer;
            timer.start();
            const double start = cpuMilliseconds();
            if (mode == 1) bareDecode(path);
            if (mode >= 2) makeThumbnail(path, thumb, mode >= 4, mode % 2 == 1);
            best[0] = std::min(best[0], cpuMilliseconds() - start);
            best[1] = std::min(best[1], timer.nsecsElapsed() / 1e6);
        }
        if (write(fds[1], best, sizeof best) != sizeof best) _exit(1);
        _exit(0);
    }
    close(fds[1]);
    double ms[2] = {-1, -1};
    if (read(fds[0], ms, sizeof ms) != sizeof ms) ms[0] = ms[1] = -1;
    close(fds[0]);
    int status = 0;
    rusage usage{};
    wait4(pid, &status, 0, &usage);
    return {ms[0], ms[1], usage.ru_maxrss / 1024.0};
}

}  // namespace

int main() {
    QTemporaryDir dir;
    const double decodedMiB = kWidth * kHeight * 3 / 1048576.0;
    std::printf("thumbnail making, %d x %d photographs, quality 90, 4:2:0, box 110 x 150\n", kWidth,
                kHeight);
    std::printf(
        "one decoded image = %.1f MiB; times are the best of %d; peaks are the\n"
        "process's largest resident size (+ the part above an idle child)\n\n",
        decodedMiB, kRounds);
    const struct {
        const char* name;
        unsigned pattern;
        int noise;
    } photos[] = {{"smooth", 1, 2}, {"noisy", 2, 12}};
    for (const auto& photo : photos) {
        const QString path = dir.filePath(QString(photo.name) + ".jpg");
        writePhoto(path, photo.pattern, photo.noise);
        const QString thumb = dir.filePath("thumb.jpg");
        const Result idle = measure(0, path, thumb);
        const Result bare = measure(1, path, thumb);
        const Result plainFull = measure(2, path, thumb);
        const Result plain = measure(3, path, thumb);
        const Result filterFull = measure(4, path, thumb);
        const Result filter = measure(5, path, thumb);
        std::printf("%s photo (%.1f MiB file)\n", photo.name, QFile(path).size() / 1048576.0);
        std::printf("  %-20s %7.1f ms cpu        (wall %7.1f ms)  peak %5.1f MiB (+%.1f)\n",
                    "bare libjpeg decode", bare.milliseconds, bare.wallMilliseconds, bare.peakMiB,
                    bare.peakMiB - idle.peakMiB);
        for (const auto& [label, r] : {std::pair{"plain, whole picture", plainFull},
                                       {"plain, from rows", plain},
                                       {"filter, whole picture", filterFull},
                                       {"filter, from rows", filter}}) {
            std::printf("  %-20s %7.1f ms cpu x%.2f  (wall %7.1f ms)  peak %5.1f MiB (+%.1f)\n",
                        label, r.milliseconds, r.milliseconds / bare.milliseconds,
                        r.wallMilliseconds, r.peakMiB, r.peakMiB - idle.peakMiB);
        }
        std::printf("\n");
    }
    return 0;
}
