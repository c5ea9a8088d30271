// tessaly-batch: the command-line front end of the catalogue core.
//   tessaly-batch [options] FOLDER            make a catalogue
//   tessaly-batch --toc FOLDER [options]      make a table of contents
//   tessaly-batch --convert-bmp [options] FILE.bmp...
//   tessaly-batch --convert [options] FILE...   (BMP or HEIC/HEIF)
//   tessaly-batch --rotate right|left|180 [options] FILE.jpg...
//   tessaly-batch --check-privacy [-R] FOLDER
#include <QCoreApplication>
#include <cstdio>
#include <new>

#include "batch/batchcommands.h"
#include "core/text/errors.h"

namespace tessaly::batch {

bool asksForHelp(const QStringList& args) {
    return args.contains(QStringLiteral("--help")) || args.contains(QStringLiteral("-h"));
}

namespace {

int runMode(const QStringList& args) {
    if (args.contains(QStringLiteral("--toc"))) return runTocCommand(args);
    if (args.contains(QStringLiteral("--convert-bmp"))) return runConvertBmpCommand(args);
    if (args.contains(QStringLiteral("--convert"))) return runConvertCommand(args);
    if (args.contains(QStringLiteral("--rotate"))) return runRotateCommand(args);
    if (args.contains(QStringLiteral("--check-privacy"))) return runCheckPrivacyCommand(args);
    return runCatalogCommand(args);
}

}  // namespace

}  // namespace tessaly::batch

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessaly-batch"));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    // Every mode ends here when memory runs out: a message and status 1, never an abort.
    // Files being replaced are untouched, as their temporary files go on the way out.
    try {
        return tessaly::batch::runMode(args);
    } catch (const std::bad_alloc&) {
        std::fprintf(stderr, "tessaly-batch: %s\n",
                     tessaly::outOfMemoryMessage().toUtf8().constData());
        return 1;
    }
}
