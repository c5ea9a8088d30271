// Catalogue mode of tessaly-batch: the catalogue run of the main window, driven from the
// command line.
#include <QCommandLineParser>
#include <QCoreApplication>
#include <QDir>
#include <QFileInfo>
#include <QTemporaryDir>
#include <QThread>
#include <algorithm>
#include <atomic>
#include <cstdio>
#include <memory>
#include <optional>

#include "batch/batchcommands.h"
#include "batch/batchrunhost.h"
#include "batch/interruption.h"
#include "batch/processshell.h"
#include "batch/settingsoption.h"
#include "batch/usageerror.h"
#include "core/catalog/captureorder.h"
#include "core/catalog/catalogrun.h"
#include "core/imaging/reader/photoreader.h"
#include "core/settings/catalogsettings.h"
#include "core/settings/programfolders.h"
#include "core/text/errors.h"
#include "core/text/folderlisting.h"
#include "core/text/formatting.h"
#include "core/text/undecodablenames.h"

namespace tessaly::batch {

namespace {

constexpr int kLeftOutStatus = 3;  // the page was made, some photos left out

const char* const kUsage =
    "Usage: tessaly-batch [options] FOLDER [NAME...]\n"
    "Makes the catalogue page of FOLDER's JPEG files (or of the NAMEs, in that order).\n"
    "  -t, --title TEXT     page title (default: the folder's own name)\n"
    "  -r, --per-row N      thumbnails per row, 1..10 (default 5)\n"
    "  -c, --comments       add the comment rows from PicComment.txt\n"
    "  -s, --settings FILE  settings file, or the folder holding Quorvel.ini (default:\n"
    "                       Quorvel.ini beside the program, else ~/.config/tessaly/)\n"
    "      --files A,B,...  the names to catalogue, comma-separated (as NAME...)\n"
    "      --date Y-M-D     date written into the pages (default: today)\n"
    "  -j, --jobs N         images decoded at once (default: the number of cores)\n"
    "      --open           open the finished page as the run's browser step would\n"
    "      --sort name|date the order of the photos: by name (default; NAMEs keep their\n"
    "                       order), or by the capture time in their EXIF data, photos\n"
    "                       without one last, by name\n"
    "      --all-formats    take .jpeg, .png, .webp, .avif, .heic and .heif photos beside\n"
    "                       .jpg ones (as the settings line [JPEG以外の画像も扱う] on does)\n"
    "      --style classic|modern  the page style: the designed table page (default, or as\n"
    "                       the settings file says), or a page for today's browsers and\n"
    "                       phones (UTF-8, responsive grid, lightbox, 2x thumbnails)\n"
    "      --keep-going     leave out photos that cannot be read (empty, cut short in their\n"
    "                       header, of no format read, too large to decode) and make the page "
    "with\n"
    "                       the rest; each is named on standard error, and listed at the end\n"
    "      --web-copies[=PIXELS]  link the pages to light JPEG copies of the photos (in the\n"
    "                       thumbnail folder's web folder), their longer side at most PIXELS\n"
    "                       (320..8192, default the settings' or 2048), without GPS\n"
    "                       positions, serial numbers, owner names and maker notes\n"
    "      --keep-location  the web copies keep where the photos were taken\n"
    "      --publish DIR    also write the site into DIR, ready to upload: the pages,\n"
    "                       thumbnails, web copies (always made), style files and the\n"
    "                       background without its metadata; no photograph, backup, comment\n"
    "                       or settings file. A re-run rewrites only what changed and removes\n"
    "                       from DIR what it published before and no longer shows\n"
    "      --zip            with --publish: one zip of the web copies (stored, not\n"
    "                       compressed), linked from the page as \"すべての写真をダウンロード\"\n"
    "  -q, --quiet          no progress display\n"
    "  -h, --help           this text\n"
    "  -v, --version        the program version\n"
    "Other modes: --toc, --convert, --convert-bmp, --rotate, --check-privacy (see their own\n"
    "--help).\n"
    "Exit status: 0 done, 1 the run failed (without --keep-going, also at the first photo that\n"
    "cannot be read), 2 usage error, 3 done with photos left out (--keep-going), 128 + the\n"
    "signal's number when interrupted (130 Ctrl-C, 143 SIGTERM, 129 SIGHUP). The pages are put\n"
    "in place, with the thumbnails they show, only when the run ends: a failed or interrupted\n"
    "run leaves the earlier pages and thumbnails as they were (a first run, interrupted, ends\n"
    "its pages with the images done).\n";

struct Options {
    QString folder;
    QStringList names;
    std::optional<QString> title;
    int perRow = kDefaultImagesPerRow;
    bool comments = false;
    QString settings;
    QDate date;
    int jobs = 1;
    bool open = false;
    bool quiet = false;
    bool keepGoing = false;
    bool byDate = false;
    bool allFormats = false;
    QString style;  // empty: as the settings file says
    bool webCopies = false;
    int webCopySide = 0;  // 0: the settings' size
    bool keepLocation = false;
    QString publish;  // empty: as the settings say
    bool zip = false;
};

bool numberWithin(const QString& text, const SettingRange& range, int& value) {
    bool ok = false;
    value = text.toInt(&ok);
    return ok && range.contains(value);
}

// "from 1 to 10", as the usage errors give a range.
QString rangeText(const SettingRange& range) {
    return QStringLiteral("from %1 to %2").arg(range.minimum).arg(range.maximum);
}

void addOptions(QCommandLineParser& parser) {
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.addOptions({{{"t", "title"}, "", "TEXT"},
                       {{"r", "per-row"}, "", "N"},
                       {{"c", "comments"}, ""},
                       {{"s", "settings"}, "", "FILE"},
                       {"files", "", "NAMES"},
                       {"date", "", "Y-M-D"},
                       {{"j", "jobs"}, "", "N"},
                       {"open", ""},
                       {"sort", "", "ORDER"},
                       {"keep-going", ""},
                       {"all-formats", ""},
                       {"style", "", "STYLE"},
                       {"keep-location", ""},
                       {"publish", "", "DIR"},
                       {"zip", ""},
                       {{"q", "quiet"}, ""},
                       {{"h", "help"}, ""},
                       {{"v", "version"}, ""}});
}

// Fills options from the parsed line; an empty result means all is well.
QString readOptions(const QCommandLineParser& parser, Options& options) {
    const QStringList positional = parser.positionalArguments();
    if (positional.isEmpty()) return QStringLiteral("no folder given");
    options.folder = positional.first();
    options.names = positional.mid(1);
    if (parser.isSet("files"))
        options.names << parser.value("files").split(',', Qt::SkipEmptyParts);
    for (const QString& name : options.names) {
        if (name.contains('/'))
            return QStringLiteral("a NAME is a file name without folder: ") + name;
    }
    if (parser.isSet("title")) options.title = parser.value("title");
    if (parser.isSet("per-row") &&
        !numberWithin(parser.value("per-row"), kImagesPerRow, options.perRow)) {
        return QStringLiteral("--per-row takes a number ") + rangeText(kImagesPerRow);
    }
    options.jobs = std::max(1, QThread::idealThreadCount());
    if (parser.isSet("jobs") && !numberWithin(parser.value("jobs"), kWorkerThreads, options.jobs)) {
        return QStringLiteral("--jobs takes a number ") + rangeText(kWorkerThreads);
    }
    if (parser.isSet("date")) {
        options.date = QDate::fromString(parser.value("date"), QStringLiteral("yyyy-M-d"));
        if (!options.date.isValid()) return QStringLiteral("--date takes a date such as 2026-1-5");
    }
    options.comments = parser.isSet("comments");
    options.settings = parser.value("settings");
    options.open = parser.isSet("open");
    options.quiet = parser.isSet("quiet");
    options.keepGoing = parser.isSet("keep-going");
    options.allFormats = parser.isSet("all-formats");
    options.keepLocation = parser.isSet("keep-location");
    if (parser.isSet("publish")) {
        options.publish = QFileInfo(parser.value("publish")).absoluteFilePath();
        if (parser.value("publish").isEmpty()) return QStringLiteral("--publish takes a folder");
    }
    options.zip = parser.isSet("zip");
    if (options.zip && options.publish.isEmpty())
        return QStringLiteral("--zip goes with --publish");
    const QString order = parser.value("sort");
    if (parser.isSet("sort") && order != QLatin1String("name") && order != QLatin1String("date"))
        return QStringLiteral("--sort takes name or date");
    options.byDate = order == QLatin1String("date");
    options.style = parser.value("style");
    if (parser.isSet("style") && options.style != QLatin1String("classic") &&
        options.style != QLatin1String("modern"))
        return QStringLiteral("--style takes classic or modern");
    return QString();
}

// Photographs the folder list had to leave out, on standard error also when quiet: quiet
// silences progress, not warnings.
void reportUndecodableNames(const QString& folder, bool allFormats) {
    QStringList names;
    for (const QString& extension : photoExtensions(allFormats))
        names << undecodableFileNames(folder, extension.toUtf8());
    std::sort(names.begin(), names.end());
    if (names.isEmpty()) return;
    QString text = undecodableNamesMessage(names);
    text.replace(QLatin1Char('\n'), QStringLiteral("\n  "));
    std::fprintf(stderr, "tessaly-batch: %s\n", text.toUtf8().constData());
}

// The folder's own name, as the main window puts it into the title box.
QString folderOwnName(const QString& folder) {
    const QString clean = QDir::cleanPath(folder);
    return clean == QStringLiteral("/") ? QString() : clean.section('/', -1);
}

int exitStatus(CatalogRunOutcome outcome, const Interruption& interruption, bool leftOut) {
    // A signal at any moment says so, whatever the run managed before it was seen.
    if (interruption.caught()) return interruption.interruptedStatus();
    if (outcome != CatalogRunOutcome::Completed) return 1;
    return leftOut ? kLeftOutStatus : 0;
}

int runCatalogue(const Options& options) {
    const Interruption interruption;  // first: the stop is there before any work begins
    const QString folder = QFileInfo(options.folder).absoluteFilePath();
    if (!QFileInfo(folder).isDir()) {
        std::fprintf(stderr, "tessaly-batch: no such folder: %s\n",
                     terminalText(folder).toUtf8().constData());
        return 1;
    }
    CatalogSettings settings = readSettingsOption(options.settings);
    if (options.open) settings.noBrowserLaunch = QStringLiteral("off");
    if (!options.style.isEmpty()) settings.pageStyle = options.style;
    if (options.webCopies) settings.setOn(&CatalogSettings::webCopies, true);
    if (options.webCopySide > 0) settings.webCopyLongSide = QString::number(options.webCopySide);
    if (options.keepLocation) settings.webCopyLocation = QStringLiteral("keep");
    if (!options.publish.isEmpty()) settings.publishFolder = options.publish;
    if (options.zip) settings.setOn(&CatalogSettings::publishZip, true);
    // The program's own folders (thumbnails, backups, web copies) hold no album.
    const QString refusal = programFolderMessage(folder, settings);
    if (!refusal.isEmpty()) {
        std::fprintf(stderr, "%s\n", terminalText(refusal, true).toUtf8().constData());
        return 1;
    }
    CatalogRunInput input;
    input.folder = QDir::cleanPath(folder);
    const bool allFormats = options.allFormats || settings.isOn(&CatalogSettings::otherFormats);
    input.allFormats = allFormats;
    input.names =
        options.names.isEmpty() ? listFiles(folder, photoNameMask(allFormats)) : options.names;
    if (options.byDate) input.names = sortedByCaptureTime(folder, input.names, allFormats);
    input.selected.assign(static_cast<std::size_t>(input.names.size()), true);
    input.title = options.title ? *options.title : folderOwnName(folder);
    input.titleIsName = !options.title;
    input.perRow = options.perRow;
    input.date = options.date;
    input.jobs = options.jobs;
    input.stop = interruption.stop();
    input.positionsLinked = std::make_shared<std::atomic<int>>(0);
    BatchRunHost host(options.quiet, options.open);
    host.setComments(options.comments);
    host.setKeepGoing(options.keepGoing);
    ProcessShell shell;
    CatalogRun run(settings, host, shell);
    const CatalogRunOutcome outcome = run.execute(input);
    if (options.names.isEmpty()) reportUndecodableNames(folder, allFormats);
    host.reportLeftOut();
    // As the window's closing question: photographs linked as they are that give away where
    // they were taken (a warning: on standard error, also when quiet).
    if (outcome == CatalogRunOutcome::Completed && input.positionsLinked->load() > 0) {
        std::fprintf(stderr, "tessaly-batch: %s\n",
                     positionsLinkedMessage(input.positionsLinked->load()).toUtf8().constData());
    }
    return exitStatus(outcome, interruption, !host.leftOut().isEmpty());
}

}  // namespace

// Takes --web-copies and --web-copies=PIXELS out of args (the parser knows no option whose
// value may be left out); an empty result means all is well.
QString takeWebCopies(QStringList& args, Options& options) {
    const QString option = QStringLiteral("--web-copies");
    for (int i = int(args.size()) - 1; i >= 0; --i) {
        if (args[i] != option && !args[i].startsWith(option + QLatin1Char('='))) continue;
        options.webCopies = true;
        const SettingRange& sides = settingRow(&CatalogSettings::webCopyLongSide)->range;
        if (args[i] != option &&
            !numberWithin(args[i].mid(option.size() + 1), sides, options.webCopySide)) {
            return QStringLiteral("--web-copies takes a number of pixels ") + rangeText(sides);
        }
        args.removeAt(i);
    }
    return QString();
}

int runCatalogCommand(const QStringList& given) {
    QStringList args = given;
    Options options;
    const QString copies = takeWebCopies(args, options);
    if (!copies.isEmpty()) return usageError(copies);
    QCommandLineParser parser;
    addOptions(parser);
    if (!parser.parse(QStringList{QStringLiteral("tessaly-batch")} + args)) {
        return usageError(parser.errorText());
    }
    if (parser.isSet("help")) {
        std::fputs(kUsage, stdout);
        return 0;
    }
    if (parser.isSet("version")) {
        std::printf("tessaly-batch %s\n", kVersion);
        return 0;
    }
    if (parser.positionalArguments().isEmpty()) {
        std::fputs(kUsage, stderr);
        return 2;
    }
    const QString problem = readOptions(parser, options);
    if (!problem.isEmpty()) return usageError(problem);
    try {
        return runCatalogue(options);
    } catch (const Error& error) {
        std::fprintf(stderr, "tessaly-batch: %s\n",
                     terminalText(diagnosticText(error), true).toUtf8().constData());
        return 1;
    }
}

}  // namespace tessaly::batch
