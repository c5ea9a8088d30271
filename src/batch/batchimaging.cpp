// The BMP conversion and rotation modes of tessaly-batch: the converter window and the
// rotation window, driven from the command line through the same core.
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <QSet>
#include <cstdio>
#include <functional>
#include <iostream>
#include <new>
#include <optional>
#include <string>

#include "batch/batchcommands.h"
#include "batch/interruption.h"
#include "batch/settingsoption.h"
#include "batch/usageerror.h"
#include "core/conversion/bmpconversion.h"
#include "core/conversion/conversionrun.h"
#include "core/imaging/jobs/rotationjob.h"
#include "core/imaging/pixels/heaptuning.h"
#include "core/settings/catalogsettings.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/toc/jpegsize.h"
#include "core/work/orderedpool.h"

namespace tessaly::batch {

namespace {

const char* const kConvertUsage =
    "Usage: tessaly-batch --convert-bmp [-Q N] [-j N] [-R] [--overwrite | --no-overwrite] "
    "FILE.bmp|FOLDER...\n"
    "Writes each BMP file as a JPEG file beside it (pic.bmp -> pic.jpg).\n"
    "  -Q, --quality N   JPEG quality, 70..100 (default 95)\n"
    "  -j, --jobs N      files worked on at once (default: one per core); the output and the\n"
    "                    messages are those of one file after the other\n"
    "  -R, --recursive   a folder's sub-folders too (a folder alone: the files in it)\n"
    "      --overwrite   replace existing JPEG files without asking\n"
    "      --no-overwrite  keep existing JPEG files without asking\n"
    "                    (neither: asked on a terminal, kept otherwise)\n"
    "Stops at the first file that cannot be read or written; files converted before it stay.\n"
    "Exit status: 0 done, 1 a file failed, 2 usage error.\n";

const char* const kConvertAnyUsage =
    "Usage: tessaly-batch --convert [-Q N] [-j N] [-R] [--overwrite | --no-overwrite] "
    "FILE|FOLDER...\n"
    "Writes each BMP, HEIC/HEIF, PNG, WebP or AVIF file (told apart by content) as a JPEG\n"
    "file beside it (pic.bmp -> pic.jpg, IMG_0001.HEIC -> IMG_0001.jpg). Phone photographs\n"
    "come out upright, keeping their date and camera EXIF fields; transparency becomes white.\n"
    "  -Q, --quality N   JPEG quality, 70..100 (default 95)\n"
    "  -j, --jobs N      files worked on at once (default: one per core); the output and the\n"
    "                    messages are those of one file after the other\n"
    "  -R, --recursive   a folder's sub-folders too (a folder alone: the BMP, HEIC, HEIF,\n"
    "                    PNG, WebP and AVIF files in it)\n"
    "      --overwrite   replace existing JPEG files without asking\n"
    "      --no-overwrite  keep existing JPEG files without asking\n"
    "                    (neither: asked on a terminal, kept otherwise)\n"
    "Stops at the first file that cannot be read or written; files converted before it stay.\n"
    "Ctrl-C, SIGTERM or SIGHUP stop after the file in hand.\n"
    "Exit status: 0 done, 1 a file failed, 2 usage error, 128 + the signal's number when\n"
    "interrupted (130 Ctrl-C).\n";

const char* const kRotateUsage =
    "Usage: tessaly-batch --rotate right|left|180 [-Q N] [-j N] [--lossless] [--no-backup] "
    "[--settings FILE] FILE.jpg...\n"
    "Turns each photograph as a viewer shows it and saves it over its own file (replaced in\n"
    "one step), keeping its EXIF, XMP, IPTC and comment data and its colour profile; the EXIF\n"
    "orientation becomes 1 (upright) and the embedded EXIF thumbnail is left out.\n"
    "A photograph named twice is turned once.\n"
    "  -Q, --quality N     JPEG quality, 50..100 (default: the rotation quality of the settings)\n"
    "  -j, --jobs N        photographs worked on at once (default: one per core); the files and\n"
    "                      the messages are those of one photograph after the other\n"
    "      --lossless      turn the coded image without re-encoding where its size allows it;\n"
    "                      other photographs are re-encoded at the quality, and said so\n"
    "      --no-backup     no copy of the original in the folder's _backup\n"
    "                      (by default the first original is kept there, never replaced)\n"
    "  -s, --settings FILE settings file, or the folder holding Quorvel.ini (default:\n"
    "                      Quorvel.ini beside the program, else ~/.config/tessaly/)\n"
    "Only files whose extension is .jpg (any letter case) are turned.\n"
    "Exit status: 0 done, 1 a file failed, 2 usage error.\n";

// Messages go to standard error, one per line.
// A message on the terminal: control characters in a file name are shown, never obeyed.
void say(const QString& text) {
    std::fprintf(stderr, "%s\n", terminalText(text, true).toUtf8().constData());
}

bool parse(QCommandLineParser& parser, const QStringList& args) {
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.addOption({{"Q", "quality"}, "", "N"});
    parser.addOption({{"h", "help"}, ""});
    return parser.parse(QStringList{QCoreApplication::applicationFilePath()} + args);
}

// The quality option, or fallback when it is not given; false when it is out of range.
bool qualityOption(const QCommandLineParser& parser, int low, int high, int fallback,
                   int& quality) {
    if (!parser.isSet("quality")) {
        quality = fallback;
        return true;
    }
    bool ok = false;
    quality = parser.value("quality").toInt(&ok);
    return ok && quality >= low && quality <= high;
}

// The overwrite question on a terminal; No when nobody can answer it.
bool askOverwrite(const QString& outputPath) {
    if (!::isatty(STDIN_FILENO) || !::isatty(STDERR_FILENO)) return false;
    const QString question = BmpConversion::overwriteQuestion(outputPath);
    std::fprintf(stderr, "%s [y/N] ", terminalText(question, true).toUtf8().constData());
    std::fflush(stderr);
    std::string answer;
    if (!std::getline(std::cin, answer)) return false;
    const QString reply = QString::fromStdString(answer).trimmed().toLower();
    return reply == QLatin1String("y") || reply == QLatin1String("yes");
}

enum class Overwrite { Ask, Always, Never };

// What became of one file, in the order of the files given.
void reportFile(const QString& file, const BmpConversion::Result& result) {
    const QString folder = QFileInfo(file).absolutePath() + QLatin1Char('/');
    for (const QString& output : result.written) say(QStringLiteral("変換: ") + folder + output);
    for (const QString& output : result.skipped) {
        say(QStringLiteral("スキップ: ") + folder + output);
    }
    if (result.failure != BmpConversion::Failure::Read &&
        result.failure != BmpConversion::Failure::Write) {
        return;
    }
    say(QStringLiteral("tessaly-batch: ") + file + QStringLiteral(": ") + result.message +
        (result.detail.isEmpty() ? QString()
                                 : QStringLiteral("（") + result.detail + QStringLiteral("）")));
    if (result.failure == BmpConversion::Failure::Write) say(BmpConversion::writeErrorMessage());
}

// The files to convert: files as given, folders as the files they hold (with their
// sub-folders' when recursive).
QStringList filesToConvert(const QStringList& given, BmpConversion::Source source, bool recursive) {
    QStringList files;
    for (const QString& path : given) {
        if (QFileInfo(path).isDir()) {
            files << ConversionRun::filesOf(path, source, recursive);
        } else {
            files << path;
        }
    }
    return files;
}

// The -j option: the number of workers, one per core when it is not given; false when it
// is not a number from 1 up.
bool jobsOption(const QCommandLineParser& parser, int& jobs) {
    jobs = PoolPlanning::defaultWorkers();
    if (!parser.isSet("jobs")) return true;
    bool ok = false;
    jobs = parser.value("jobs").toInt(&ok);
    return ok && jobs >= 1;
}

}  // namespace

namespace {

// --convert-bmp (BMP files only, as the converter window reads them) and --convert (BMP or
// HEIF, told apart by content).
int runConversion(const QStringList& args, bool anyKind) {
    const char* const usage = anyKind ? kConvertAnyUsage : kConvertUsage;
    QCommandLineParser parser;
    parser.addOption({anyKind ? "convert" : "convert-bmp", ""});
    parser.addOption({"overwrite", ""});
    parser.addOption({"no-overwrite", ""});
    parser.addOption({{"j", "jobs"}, "", "N"});
    parser.addOption({{"R", "recursive"}, ""});
    if (!parse(parser, args)) return usageError(parser.errorText(), usage);
    if (parser.isSet("help")) {
        std::fputs(usage, stdout);
        return 0;
    }
    int quality = 95;
    if (!qualityOption(parser, 70, 100, 95, quality)) {
        return usageError(QStringLiteral("the quality must be a number from 70 to 100"), usage);
    }
    if (parser.isSet("overwrite") && parser.isSet("no-overwrite")) {
        return usageError(QStringLiteral("--overwrite and --no-overwrite exclude each other"),
                          usage);
    }
    int jobs = 1;
    if (!jobsOption(parser, jobs)) {
        return usageError(QStringLiteral("the number of jobs must be a number from 1 up"), usage);
    }
    const auto source = anyKind ? BmpConversion::Source::Any : BmpConversion::Source::Bmp;
    const QStringList files =
        filesToConvert(parser.positionalArguments(), source, parser.isSet("recursive"));
    if (files.isEmpty()) return usageError(RotationJob::noFileMessage(), usage);
    const Overwrite overwrite = parser.isSet("overwrite")      ? Overwrite::Always
                                : parser.isSet("no-overwrite") ? Overwrite::Never
                                                               : Overwrite::Ask;
    const BmpConversion conversion(quality, source);
    if (anyKind) keepLargeBlocksOnHeap();  // the next photograph reuses the last one's memory
    const Interruption interruption;
    int turn = -1;  // the file whose turn it is
    BmpConversion::Hooks hooks;
    hooks.starting = [&turn](const QString&) { ++turn; };
    hooks.stopped = [&interruption] { return interruption.caught(); };
    hooks.overwrite = [&](const QString& output) {
        if (overwrite != Overwrite::Ask) return overwrite == Overwrite::Always;
        return askOverwrite(QFileInfo(files[turn]).absolutePath() + QLatin1Char('/') + output);
    };
    const BmpConversion::Result result =
        ConversionRun(conversion, jobs, interruption.stop())
            .run(files, hooks,
                 [&files](int k, const BmpConversion::Result& one) { reportFile(files[k], one); });
    const bool complete = result.failure == BmpConversion::Failure::None;
    if (complete && !interruption.caught()) say(BmpConversion::finishedStatus());
    say(QStringLiteral("%1 件変換、%2 件スキップ")
            .arg(result.written.size())
            .arg(result.skipped.size()));
    if (interruption.caught()) return interruption.interruptedStatus();
    return complete ? 0 : 1;
}

}  // namespace

int runConvertBmpCommand(const QStringList& args) { return runConversion(args, false); }

int runConvertCommand(const QStringList& args) { return runConversion(args, true); }

namespace {

bool parseTurn(const QString& text, Turn& turn) {
    if (text == QLatin1String("right")) {
        turn = Turn::Right;
    } else if (text == QLatin1String("left")) {
        turn = Turn::Left;
    } else if (text == QLatin1String("180")) {
        turn = Turn::Half;
    } else {
        return false;
    }
    return true;
}

struct RotateOptions {
    int quality = 95;
    bool backup = true;
    bool lossless = false;
};

// Turns one photograph; false (after its message) when it failed. Its messages go to lines,
// to be shown in the order of the files given.
bool rotateOne(const QString& file, Turn turn, const RotateOptions& options, QStringList& lines) {
    const auto say = [&lines](const QString& text) { lines << text; };
    const QFileInfo info(file);
    const QString name = info.fileName();
    const auto fail = [&](const QString& text) {
        say(QStringLiteral("tessaly-batch: ") + file + QStringLiteral(": ") + text);
        return false;
    };
    if (!RotationJob::isRotatableName(name)) return fail(RotationJob::noFileMessage());
    const RotationJob job(info.absolutePath(), options.quality, options.backup, options.lossless);
    RotationJob::Step step = RotationJob::Step::Reading;
    bool lossless = false;
    QStringList warnings;  // each starts with the file's name
    try {
        lossless = job.rotateFile(name, turn, &step, &warnings);
    } catch (const ImageError& error) {  // its text starts with the file's name already
        say(QStringLiteral("tessaly-batch: ") + folderPath(info.path()) + diagnosticText(error));
        return false;
    } catch (const Error& error) {
        if (step == RotationJob::Step::Reading) return fail(diagnosticText(error));
        const QString what = step == RotationJob::Step::BackingUp
                                 ? RotationJob::backupErrorMessage()
                                 : RotationJob::saveErrorMessage();
        return fail(what + QLatin1Char(' ') + diagnosticText(error));
    } catch (const std::bad_alloc&) {
        return fail(outOfMemoryMessage());
    }
    say(QStringLiteral("回転: ") + file);
    for (const QString& warning : warnings) {
        say(QStringLiteral("tessaly-batch: ") + folderPath(info.path()) + warning);
    }
    if (options.lossless && !lossless) say(RotationJob::notLosslessMessage(file));
    return true;
}

// The files as given, each photograph once: "F/./a.jpg" and "F/a.jpg" name the same file.
QStringList distinctFiles(const QStringList& files) {
    QStringList distinct;
    QSet<QString> seen;
    for (const QString& file : files) {
        const QFileInfo info(file);
        const QString key = info.canonicalFilePath();
        if (!key.isEmpty() && seen.contains(key)) continue;
        seen.insert(key.isEmpty() ? info.absoluteFilePath() : key);
        distinct << file;
    }
    return distinct;
}

// Turns the files (each photograph once) with several workers; the messages of each file come
// in the order given, and the counts. No file is started once interrupted.
void rotateAll(const QStringList& files, int jobs, const Interruption& interruption,
               const std::function<bool(const QString&, QStringList&)>& rotate, int& turned,
               int& failed) {
    struct Rotated {
        bool started = false;
        bool turned = false;
        QStringList lines;
    };
    OrderedPool<Rotated>::Plan plan;
    plan.workers = jobs;
    plan.ahead = jobs;
    plan.weigh = [&files](int k) {
        const std::optional<JpegSize> size = readJpegSize(files[k]);
        return size ? qint64(size->width) * size->height * 6 : 0;
    };
    OrderedPool<Rotated> work(int(files.size()), std::move(plan), [&](int k) {
        Rotated result;
        if (interruption.caught()) return result;
        result.started = true;
        result.turned = rotate(files[k], result.lines);
        return result;
    });
    for (int k = 0; k < files.size(); ++k) {
        const std::optional<Rotated> result = work.take(k);
        if (!result) break;
        for (const QString& line : result->lines) say(line);
        if (result->started) (result->turned ? turned : failed)++;
    }
}

}  // namespace

int runRotateCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.addOption({"rotate", "", "DIRECTION"});
    parser.addOption({"no-backup", ""});
    parser.addOption({"lossless", ""});
    parser.addOption({{"s", "settings"}, "", "FILE"});
    parser.addOption({{"j", "jobs"}, "", "N"});
    if (asksForHelp(args)) {
        std::fputs(kRotateUsage, stdout);
        return 0;
    }
    if (!parse(parser, args)) return usageError(parser.errorText(), kRotateUsage);
    if (parser.isSet("help")) {
        std::fputs(kRotateUsage, stdout);
        return 0;
    }
    Turn turn = Turn::Right;
    if (!parseTurn(parser.value("rotate"), turn)) {
        return usageError(QStringLiteral("the turn must be right, left or 180"), kRotateUsage);
    }
    const QString given = parser.value("settings");
    if (!given.isEmpty() && !QFileInfo::exists(given)) {
        return usageError(QStringLiteral("settings file not found: ") + given, kRotateUsage);
    }
    CatalogSettings settings;
    try {
        settings = readSettingsOption(given);
    } catch (const Error& error) {
        say(QStringLiteral("tessaly-batch: ") + diagnosticText(error));
        return 1;
    }
    const SettingRange& qualities = settingRow(&CatalogSettings::rotateQuality)->range;
    int quality = 95;
    if (!qualityOption(parser, qualities.minimum, qualities.maximum,
                       qualities.clamped(settings.rotateQuality), quality)) {
        return usageError(QStringLiteral("the quality must be a number from %1 to %2")
                              .arg(qualities.minimum)
                              .arg(qualities.maximum),
                          kRotateUsage);
    }
    int jobs = 1;
    if (!jobsOption(parser, jobs)) {
        return usageError(QStringLiteral("the number of jobs must be a number from 1 up"),
                          kRotateUsage);
    }
    const QStringList files = distinctFiles(parser.positionalArguments());
    if (files.isEmpty()) return usageError(RotationJob::noFileMessage(), kRotateUsage);
    RotateOptions options;
    options.quality = quality;
    options.backup = !parser.isSet("no-backup");
    options.lossless = parser.isSet("lossless");
    const Interruption interruption;
    int turned = 0, failed = 0;
    rotateAll(
        files, jobs, interruption,
        [&](const QString& file, QStringList& lines) {
            return rotateOne(file, turn, options, lines);
        },
        turned, failed);
    say(QStringLiteral("%1 件回転、%2 件失敗").arg(turned).arg(failed));
    if (interruption.caught()) return interruption.interruptedStatus();
    return failed == 0 ? 0 : 1;
}

}  // namespace tessaly::batch
