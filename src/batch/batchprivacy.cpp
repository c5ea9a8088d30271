// Privacy check mode of tessaly-batch: which files of a catalogue's folder, as a web server
// would serve them, tell where they were taken, the camera's serial number or its owner's name.
#include <QCommandLineParser>
#include <QDir>
#include <QFileInfo>
#include <cstdio>

#include "batch/batchcommands.h"
#include "batch/settingsoption.h"
#include "batch/usageerror.h"
#include "core/checks/privacycheck.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"

namespace tessaly::batch {

namespace {

constexpr int kFoundStatus = 4;
// After what a file carries when no page links it.
const char* const kNotLinked = "（ページからのリンクなし）";

const char* const kPrivacyUsage =
    "Usage: tessaly-batch --check-privacy [options] FOLDER\n"
    "Lists every file below FOLDER, at any depth, that carries a GPS position, a serial number\n"
    "or an owner name, linked from a page or not, since a web server serves them all: one line\n"
    "each, the file and what it carries, with \"（ページからのリンクなし）\" after a file no page\n"
    "links. Files are told apart by their content; symbolic links are not followed.\n"
    "  -R, --recursive      FOLDER need not hold a catalogue of its own: a contents page or\n"
    "                       the catalogues of its sub-folders will do\n"
    "  -s, --settings FILE  settings file, or the folder holding Quorvel.ini (names the pages)\n"
    "  -h, --help           this text\n"
    "Exit status: 0 none found, 4 some found, 1 a page could not be read, 2 usage error.\n";

int check(const QString& given, bool recursive, const QString& settingsPath) {
    const QString folder = QFileInfo(given).absoluteFilePath();
    if (!QFileInfo(folder).isDir()) {
        std::fprintf(stderr, "tessaly-batch: no such folder: %s\n",
                     terminalText(folder).toUtf8().constData());
        return 1;
    }
    const CatalogSettings settings = readSettingsOption(settingsPath);
    const PrivacyCheck privacy(settings);
    const QStringList pages = privacy.pagesOf(folder, recursive);
    if (pages.isEmpty()) {
        std::fprintf(stderr, "tessaly-batch: no catalogue page in %s\n",
                     terminalText(folder).toUtf8().constData());
        return 1;
    }
    const QDir base(folder);
    const std::vector<PrivacyFinding> findings = privacy.check(folder);
    for (const PrivacyFinding& finding : findings) {
        const QString carried = finding.fields.names().join(QStringLiteral("、")) +
                                (finding.linked ? QString() : QString::fromUtf8(kNotLinked));
        std::printf("%s: %s\n",
                    terminalText(base.relativeFilePath(finding.path)).toUtf8().constData(),
                    carried.toUtf8().constData());
    }
    return findings.empty() ? 0 : kFoundStatus;
}

}  // namespace

int runCheckPrivacyCommand(const QStringList& args) {
    QCommandLineParser parser;
    parser.setOptionsAfterPositionalArgumentsMode(QCommandLineParser::ParseAsOptions);
    parser.addOptions({{"check-privacy", ""},
                       {{"R", "recursive"}, ""},
                       {{"s", "settings"}, "", "FILE"},
                       {{"h", "help"}, ""}});
    if (!parser.parse(QStringList{QStringLiteral("tessaly-batch")} + args)) {
        return usageError(parser.errorText());
    }
    if (parser.isSet("help")) {
        std::fputs(kPrivacyUsage, stdout);
        return 0;
    }
    if (parser.positionalArguments().size() != 1)
        return usageError("--check-privacy takes one FOLDER");
    try {
        return check(parser.positionalArguments().first(), parser.isSet("recursive"),
                     parser.value("settings"));
    } catch (const Error& error) {
        std::fprintf(stderr, "tessaly-batch: %s\n",
                     terminalText(error.message(), true).toUtf8().constData());
        return 1;
    }
}

}  // namespace tessaly::batch
