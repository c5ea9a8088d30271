#include "tocfixture.h"

#include "core/text/charfuncs.h"
#include "core/text/formatting.h"
#include "support/testimages.h"

namespace tessaly::test {

QByteArray catalogueHead(const QString& title, int count, const QString& thumbnail,
                         const QString& date, bool marked) {
    const QStringList lines = {
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">"),
        marked ? QStringLiteral("<!-- Tessaly Version 1.60 -->")
               : QStringLiteral("<!-- Other Version 1.60 -->"),
        QStringLiteral("<!-- FILE=") + pageCountText(count) + QLatin1Char(' ') + thumbnail +
            QStringLiteral(" -->"),
        QStringLiteral("<!-- ") + charRight(QStringLiteral("    ") + date, 10) +
            QStringLiteral(" -->"),
        QStringLiteral("<HTML>"),
        QStringLiteral(
            "<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">"),
        QStringLiteral("<TITLE>") + title + QStringLiteral("</TITLE>"),
        QStringLiteral("</HEAD>"),
        QStringLiteral("<BODY bgcolor=\"#FFFFFF\">"),
    };
    QByteArray bytes;
    for (const QString& line : lines) bytes += sjisBytes(line) + "\r\n";
    return bytes;
}

TocFixture::TocFixture() { settings.appFolder = dir.path(); }

void TocFixture::addCatalogue(const QString& sub, const QString& title, int count,
                              const QString& thumbnail, bool marked, const QString& date) {
    QDir(dir.path()).mkpath(sub);
    writeFile(dir.file(sub + QLatin1Char('/') + settings.htmlFileName),
              catalogueHead(title, count, thumbnail, date, marked));
}

void TocFixture::addThumbnail(const QString& sub, const QString& name, int width, int height) {
    const QString folder = sub + QLatin1Char('/') + settings.thumbFolderName;
    QDir(dir.path()).mkpath(folder);
    writeTestJpeg(dir.file(folder + QLatin1Char('/') + name), width, height);
}

TocOptions TocFixture::options(const QString& title) const {
    TocOptions options;
    options.folder = dir.path();
    options.title = title;
    options.date = QDate(2026, 12, 7);
    return options;
}

QString TocFixture::run(const TocOptions& options) {
    TocGenerator generator(settings);
    return generator.run(options, [this](const QString& text) { progress << text; });
}

QStringList TocFixture::lines(const QString& name) const { return sjisLines(dir.read(name)); }

}  // namespace tessaly::test
