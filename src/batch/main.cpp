// tessaly-batch: the command-line front end of the catalogue core.
//   tessaly-batch [options] FOLDER            make a catalogue
//   tessaly-batch --toc FOLDER [options]      make a table of contents
//   tessaly-batch --convert-bmp [options] FILE.bmp...
//   tessaly-batch --convert [options] FILE...   (BMP or HEIC/HEIF)
//   tessaly-batch --rotate right|left|180 [options] FILE.jpg...
#include <QCoreApplication>

#include "batch/batchcommands.h"

int main(int argc, char* argv[]) {
    QCoreApplication app(argc, argv);
    QCoreApplication::setApplicationName(QStringLiteral("tessaly-batch"));
    QStringList args = QCoreApplication::arguments();
    args.removeFirst();
    if (args.contains(QStringLiteral("--toc"))) return tessaly::batch::runTocCommand(args);
    if (args.contains(QStringLiteral("--convert-bmp"))) {
        return tessaly::batch::runConvertBmpCommand(args);
    }
    if (args.contains(QStringLiteral("--convert"))) return tessaly::batch::runConvertCommand(args);
    if (args.contains(QStringLiteral("--rotate"))) return tessaly::batch::runRotateCommand(args);
    return tessaly::batch::runCatalogCommand(args);
}
