// Table-of-contents mode of tessaly-batch: the generator of the table-of-contents window,
// driven from the command line.
#include <unistd.h>

#include <QCommandLineParser>
#include <QCoreApplication>
#include <QFileInfo>
#include <cstdio>

#include "batch/batchcommands.h"
#include "batch/processshell.h"
#include "batch/settingsoption.h"
#include "batch/usageerror.h"
#include "core/pages/pagekind.h"
#include "core/settings/catalogsettings.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/toc/tocgenerator.h"

namespace tessaly::batch {

namespace {

const char* const kTocUsage =
    "Usage: tessaly-batch --toc [options] --title TEXT FOLDER\n"
    "Makes the table of contents of the catalogues in FOLDER's sub-folders.\n"
    "  -t, --title TEXT              title of the contents page (required)\n"
    "      --grid                    show the catalogues' thumbnails, five to a row\n"
    "      --frames                  write a frame set (top page and title.htm) instead, in\n"
    "                                the classic style\n"
    "      --background-image FILE   copy FILE beside the page as its background\n"
    "      --background-color N      page colour, Windows colour value (default 8421504)\n"
    "      --date Y-M-D              date written into the pages (default: today)\n"
    "      --style classic|modern    the page style (default: as the settings file says);\n"
    "                                a modern page always shows the thumbnails\n"
    "  -s, --settings FILE           settings file, or the folder holding Quorvel.ini (default:\n"
    "                                Quorvel.ini beside the program, else ~/.config/tessaly/)\n"
    "      --open                    open the page afterwards (browser setting or xdg-open)\n"
    "  -q, --quiet                   no progress display\n"
    "  -h, --help                    this text\n"
    "The page's path is printed on standard output.\n"
    "Exit status: 0 done, 1 the run failed, 2 usage error.\n";

struct Request {
    TocOptions options;
    QString settingsFolder;
    QString style;  // empty: as the settings file says
    bool open = false;
    bool quiet = false;
};

// A message as the terminal shows it: the message box's line break becomes a newline.
void reportError(const QString& message) {
    std::fprintf(stderr, "tessaly-batch: %s\n", terminalText(message, true).toUtf8().constData());
}

void addOptions(QCommandLineParser& parser) {
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.addOptions({{"toc", ""},
                       {{"t", "title"}, "", "TEXT"},
                       {"grid", ""},
                       {"frames", ""},
                       {"background-image", "", "FILE"},
                       {"background-color", "", "N"},
                       {"date", "", "Y-M-D"},
                       {"style", "", "STYLE"},
                       {{"s", "settings"}, "", "FILE"},
                       {"open", ""},
                       {{"q", "quiet"}, ""},
                       {{"h", "help"}, ""}});
}

// Fills the request from the parsed line; an empty result means all is well.
QString readRequest(const QCommandLineParser& parser, Request& request) {
    // --toc switches the mode; the folder is the one positional argument, before or after
    // the options (so "--toc FOLDER" reads as before).
    const QStringList positional = parser.positionalArguments();
    if (positional.size() > 1) return QStringLiteral("unexpected argument: ") + positional.at(1);
    TocOptions& options = request.options;
    options.folder = positional.value(0);
    if (options.folder.isEmpty()) return QStringLiteral("--toc takes the folder to work on");
    options.title = parser.value("title");
    options.showImages = parser.isSet("grid");
    options.useFrames = parser.isSet("frames");
    options.useBackgroundImage = parser.isSet("background-image");
    options.backgroundImageFile = parser.value("background-image");
    if (parser.isSet("background-color")) {
        bool ok = false;
        options.backgroundColor = parser.value("background-color").toLongLong(&ok);
        if (!ok || options.backgroundColor < 0 || options.backgroundColor > 0xFFFFFF) {
            return QStringLiteral("--background-color takes a colour value from 0 to 16777215");
        }
    }
    if (parser.isSet("date")) {
        options.date = QDate::fromString(parser.value("date"), QStringLiteral("yyyy-M-d"));
        if (!options.date.isValid()) return QStringLiteral("--date takes a date such as 2026-1-5");
    }
    request.style = parser.value("style");
    if (parser.isSet("style") && request.style != QLatin1String("classic") &&
        request.style != QLatin1String("modern"))
        return QStringLiteral("--style takes classic or modern");
    if (options.useFrames && request.style == QLatin1String("modern"))
        return QStringLiteral("--frames writes the classic frame set: leave out --style modern");
    request.settingsFolder = parser.value("settings");
    request.open = parser.isSet("open");
    request.quiet = parser.isSet("quiet");
    return QString();
}

int runToc(Request& request) {
    CatalogSettings settings = readSettingsOption(request.settingsFolder);
    if (!request.style.isEmpty()) settings.pageStyle = request.style;
    request.options.folder = QFileInfo(request.options.folder).absoluteFilePath();
    if (!request.options.title.isEmpty() && !QFileInfo(request.options.folder).isDir()) {
        throw IoError(QStringLiteral("no such folder: ") + request.options.folder);
    }
    const bool showProgress = !request.quiet && isatty(STDERR_FILENO);
    TocGenerator generator(settings);
    if (const auto replacing = generator.replacementQuestion(request.options)) {
        const QString notice = pageReplacementNotice(replacing->title);
        std::fprintf(stderr, "%s\n", terminalText(notice, true).toUtf8().constData());
    }
    const QString page = generator.run(request.options, [showProgress](const QString& text) {
        if (showProgress) std::fprintf(stderr, "\r%s", text.toUtf8().constData());
    });
    if (showProgress) std::fputs("\n", stderr);
    std::printf("%s\n", page.toUtf8().constData());
    if (request.open) {
        ProcessShell shell;
        TocGenerator::openPage(settings, shell, page);
    }
    return 0;
}

}  // namespace

int runTocCommand(const QStringList& args) {
    QCommandLineParser parser;
    addOptions(parser);
    if (asksForHelp(args)) {
        std::fputs(kTocUsage, stdout);
        return 0;
    }
    if (!parser.parse(QStringList{QStringLiteral("tessaly-batch")} + args)) {
        return usageError(parser.errorText(), kTocUsage);
    }
    if (parser.isSet("help")) {
        return 0;
    }
    Request request;
    const QString problem = readRequest(parser, request);
    if (!problem.isEmpty()) return usageError(problem, kTocUsage);
    try {
        return runToc(request);
    } catch (const Error& error) {
        reportError(diagnosticText(error));
        return 1;
    }
}

}  // namespace tessaly::batch
