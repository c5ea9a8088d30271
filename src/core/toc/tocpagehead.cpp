#include "core/toc/tocpagehead.h"

#include <QFileInfo>

#include "core/pages/classic/catalogpagewriter.h"
#include "core/pages/pageaddress.h"
#include "core/pages/pagetext.h"
#include "core/text/formatting.h"

namespace tessaly {

TocPageHead::TocPageHead(const CatalogSettings& settings, const TocOptions& options,
                         int catalogueCount)
    : settings_(settings),
      title_(options.title),
      useBackgroundImage_(options.useBackgroundImage),
      backgroundSuffix_(QFileInfo(options.backgroundImageFile).suffix().toLower()),
      pageColour_(htmlColorCode(options.backgroundColor)),
      date_(options.date.isValid() ? options.date : QDate::currentDate()),
      count_(catalogueCount) {}

void TocPageHead::writeDocumentStart(TextFileWriter& out, const QString& thirdLine) const {
    out.writeLine(QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">"));
    out.writeLine(QStringLiteral("<!-- Tessaly Version ") + settings_.version +
                  QStringLiteral(" -->"));
    out.writeLine(thirdLine);
    out.writeLine(
        QStringLiteral("<!-- %1.%2.%3 -->").arg(date_.year()).arg(date_.month()).arg(date_.day()));
    out.writeLine(QStringLiteral("<HTML>"));
    out.writeLine(QStringLiteral(
        "<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">"));
    // A contents page is read back by position like a catalogue page: one line for the title.
    out.writeLine(QStringLiteral("<TITLE>") + withoutLineBreaks(title_) +
                  QStringLiteral("</TITLE>"));
    out.writeLine(QStringLiteral("</HEAD>"));
}

void TocPageHead::writeOpening(TextFileWriter& out) const {
    writeDocumentStart(
        out, QStringLiteral("<!-- FILE=") + pageCountText(count_) + QStringLiteral(" -->"));
    out.writeLine(bodyLine());
    out.writeLine(QString());
    out.writeLine(QStringLiteral("<CENTER>"));
    out.writeLine(QStringLiteral("<TABLE border=\"3\">"));
    out.writeLine(QStringLiteral("<TR>"));
}

QString TocPageHead::bodyLine() const {
    const QString colour = QStringLiteral("bgcolor=\"#") + pageColour_ + QStringLiteral("\">");
    if (!useBackgroundImage_) return QStringLiteral("<BODY ") + colour;
    const QString image = backgroundSuffix_ == QLatin1String("jpg") ? QStringLiteral("back.jpg")
                                                                    : QStringLiteral("back.gif");
    return QStringLiteral("<BODY background=\"") + image + QStringLiteral("\" ") + colour;
}

QString TocPageHead::titleCell(const QString& fontSize, bool padTitle) const {
    const QString pad = padTitle ? QStringLiteral("　") : QString();
    return CatalogPageWriter::titleCellStart(settings_) +
           CatalogPageWriter::titleFont(settings_, fontSize, pad + title_ + pad) +
           QStringLiteral("</TD></TR>");
}

QString TocPageHead::dateCaption() const {
    return QStringLiteral("[%1年%2月%3日作成]")
        .arg(date_.year())
        .arg(date_.month())
        .arg(date_.day());
}

QString TocPageHead::thumbnailPath(const QString& folder, const TocEntry& entry) const {
    return folderPath(folder) + entry.folderName + QLatin1Char('/') + settings_.thumbFolderName +
           QLatin1Char('/') + entry.thumbnailName;
}

QString TocPageHead::pageLink(const TocEntry& entry) const {
    return pageAddress(entry.folderName + QLatin1Char('/') + settings_.htmlFileName);
}

QString TocPageHead::thumbnailLink(const TocEntry& entry) const {
    return pageAddress(entry.folderName + QLatin1Char('/') + settings_.thumbFolderName +
                       QLatin1Char('/') + entry.thumbnailName);
}

QString TocPageHead::altText(const QString& title) {
    QString out;
    out.reserve(title.size());
    for (const QChar c : title) {
        const char16_t u = c.unicode();
        if (u == '"') {
            out += QLatin1String("&quot;");
        } else if (u < 0x20 || u == 0x7F) {
            out += characterReference(u);
        } else {
            out += c;
        }
    }
    return out;
}

}  // namespace tessaly
