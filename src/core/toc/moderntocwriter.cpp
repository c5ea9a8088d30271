#include "core/toc/moderntocwriter.h"

#include <QFileInfo>

#include "core/imaging/files/filereplacement.h"
#include "core/pages/classic/catalogpagewriter.h"
#include "core/pages/modern/modernassets.h"
#include "core/pages/modern/modernpagewriter.h"
#include "core/pages/outputlayout.h"
#include "core/pages/pageaddress.h"
#include "core/pages/pagetext.h"
#include "core/text/formatting.h"
#include "core/toc/jpegsize.h"

namespace tessaly {

namespace {

constexpr qint64 kDefaultBackground = 8421504;

QString number(qint64 value) { return QString::number(value); }

}  // namespace

ModernTocWriter::ModernTocWriter(const QString& path, const QString& folder,
                                 const TocPageHead& head, const TocOptions& options)
    : path_(path), folder_(folder), head_(head), options_(options) {}

void ModernTocWriter::writeEntry(const TocEntry& entry) {
    const CatalogSettings& settings = head_.settings();
    const QString thumbPath = head_.thumbnailPath(folder_, entry);
    const QString doubled = QFileInfo(thumbPath).path() + QLatin1Char('/') +
                            OutputLayout::doubleFolderName() + QLatin1Char('/') +
                            QFileInfo(thumbPath).fileName();
    QString image;
    if (QFileInfo(thumbPath).isFile()) {
        const JpegSize size = requireJpegSize(thumbPath);
        image = QStringLiteral("<img src=\"") + head_.thumbnailLink(entry) + QLatin1Char('"');
        if (QFileInfo(doubled).isFile()) {
            image += QStringLiteral(" srcset=\"") +
                     srcsetUrl(pageAddress(entry.folderName + QLatin1Char('/') +
                                           settings.thumbFolderName + QLatin1Char('/') +
                                           OutputLayout::doubleFolderName() + QLatin1Char('/') +
                                           entry.thumbnailName)) +
                     QStringLiteral(" 2x\"");
        }
        image += QStringLiteral(" width=\"") + number(size.width) + QStringLiteral("\" height=\"") +
                 number(size.height) + QStringLiteral("\" alt=\"\"") +
                 (cells_.size() >= 10 ? QStringLiteral(" loading=\"lazy\" decoding=\"async\"")
                                      : QString()) +
                 QLatin1Char('>');
    }
    const int count = entry.imageCount.trimmed().toInt();
    cells_ << QStringLiteral("<li><a href=\"") + head_.pageLink(entry) + QStringLiteral("\">") +
                  image + QStringLiteral("<span class=\"caption\">") + entry.title +
                  QStringLiteral("</span></a><p class=\"count\">") + htmlText(entry.folderName) +
                  QStringLiteral(" ・ ") + number(count) + QStringLiteral("枚 ・ ") +
                  htmlText(entry.date.trimmed()) + QStringLiteral("</p></li>");
}

// The page keeps the colour chosen for it; the default follows the visitor's light or dark
// preference.
QString ModernTocWriter::colourStyle() const {
    QString style;
    if (options_.backgroundColor != kDefaultBackground || options_.useBackgroundImage) {
        const qint64 c = options_.backgroundColor;
        const int luminance =
            int((c & 0xFF) * 299 + ((c >> 8) & 0xFF) * 587 + ((c >> 16) & 0xFF) * 114) / 1000;
        const QString fg = luminance < 128 ? QStringLiteral("#fff") : QStringLiteral("#000");
        style += QStringLiteral(":root{--bg:#") + htmlColorCode(c) + QStringLiteral(";--fg:") + fg +
                 QStringLiteral(";--muted:") + fg + QStringLiteral(";--line:") + fg +
                 QStringLiteral(";--card:transparent}");
    }
    if (options_.useBackgroundImage) {
        const QString suffix = QFileInfo(options_.backgroundImageFile).suffix().toLower();
        const QString name = suffix == QLatin1String("jpg") ? QStringLiteral("back.jpg")
                             : suffix == QLatin1String("gif")
                                 ? QStringLiteral("back.gif")
                                 : QFileInfo(options_.backgroundImageFile).fileName();
        style += QStringLiteral("body{background-image:url(\"") + pageAddress(name) +
                 QStringLiteral("\")}");
    }
    return style;
}

QString ModernTocWriter::pageText() const {
    const bool fixed =
        options_.backgroundColor != kDefaultBackground || options_.useBackgroundImage;
    QStringList lines = {
        QStringLiteral("<!DOCTYPE html>"),
        QStringLiteral("<!-- Tessaly Version ") + head_.settings().version +
            QStringLiteral(" contents -->"),
        QStringLiteral("<html lang=\"ja\" class=\"contents") +
            (fixed ? QStringLiteral(" fixed-colours") : QString()) + QStringLiteral("\">"),
        QStringLiteral("<head><meta charset=\"utf-8\">"),
        QStringLiteral("<title>") + withoutLineBreaks(options_.title) + QStringLiteral("</title>"),
        QStringLiteral("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"),
        QStringLiteral("<style>") + QString::fromUtf8(modernStyleSheet()) +
            QStringLiteral(":root{--cell:") +
            number(std::max(OutputLayout::thumbnailBox(head_.settings()).width, 1)) +
            QStringLiteral("px}") + colourStyle() + QStringLiteral("</style>"),
        QStringLiteral("</head>"),
        QStringLiteral("<body>"),
        QStringLiteral("<header class=\"page-head\"><h1>") + options_.title +
            QStringLiteral("</h1><p>") + head_.dateCaption() + QStringLiteral("</p></header>"),
        QStringLiteral("<main><ul class=\"grid\">"),
    };
    lines += cells_;
    lines << QStringLiteral("</ul></main>")
          << QStringLiteral("<footer class=\"page-foot\"><p>Created by ") +
                 creditLink(QStringLiteral("Tessaly"), QStringLiteral("a")) +
                 QStringLiteral("</p></footer>")
          << QStringLiteral("</body>") << QStringLiteral("</html>");
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

void ModernTocWriter::finish() {
    FileReplacement::replace(path_, pageText().toUtf8(), FileReplacement::Links::Refuse);
}

}  // namespace tessaly
