#include "core/pages/modern/modernpagewriter.h"

#include <QRegularExpression>
#include <algorithm>
#include <cmath>

#include "core/imaging/files/filereplacement.h"
#include "core/pages/classic/catalogpagewriter.h"
#include "core/pages/modern/modernassets.h"
#include "core/pages/pageaddress.h"
#include "core/pages/pagetext.h"
#include "core/pages/photooutputnames.h"
#include "core/settings/catalogsettings.h"
#include "core/text/charfuncs.h"
#include "core/text/formatting.h"

namespace tessaly {

namespace {

// The background colour the settings start with: the modern page then takes its own
// colours, light or dark as the visitor prefers.
constexpr int kDefaultBackground = 8421504;
// The height of the first screen the page is laid out for, in CSS pixels.
constexpr int kFirstScreen = 1000;

QString number(qint64 value) { return QString::number(value); }

// Black or white text, whichever reads better on a background of Windows colour 0x00BBGGRR.
bool darkBackground(int colour) {
    const auto linear = [](int channel) {
        const double c = channel / 255.0;
        return c <= 0.03928 ? c / 12.92 : std::pow((c + 0.055) / 1.055, 2.4);
    };
    const double luminance = 0.2126 * linear(colour & 0xFF) +
                             0.7152 * linear((colour >> 8) & 0xFF) +
                             0.0722 * linear((colour >> 16) & 0xFF);
    return luminance < 0.179;
}

}  // namespace

QString plainAttributeText(const QString& markup) {
    static const QRegularExpression tag(QStringLiteral("<[^>]*>"));
    QString text = markup;
    text.replace(tag, QString());
    return htmlText(decodeCharacterReferences(text).simplified());
}

QString srcsetUrl(const QString& link) {
    QString url = link;
    url.replace(QLatin1Char(' '), QLatin1String("%20"));
    url.replace(QLatin1Char(','), QLatin1String("%2C"));
    return url;
}

ModernPageWriter::ModernPageWriter(const CatalogSettings& settings, const PageFiles& files)
    : settings_(settings), files_(files) {}

void ModernPageWriter::start(const QString& title, int perRow, const QDate& date) {
    title_ = title;
    perRow_ = std::max(perRow, 1);
    date_ = date;
    const int rowHeight = std::max(settings_.number(&CatalogSettings::thumbHeight), 1) + 30;
    eager_ = perRow_ * std::max(1, (kFirstScreen + rowHeight - 1) / rowHeight);
    cells_.clear();
}

void ModernPageWriter::close() noexcept { cells_.clear(); }

void ModernPageWriter::addImage(const CatalogEntry& entry, bool commentsOn) {
    const QString& name = entry.fileName;
    const QString alt = entry.comment1.isEmpty() ? htmlText(photoShortName(name))
                                                 : plainAttributeText(entry.comment1);
    QString caption = entry.comment1;
    if (!entry.comment2.isEmpty()) caption += QStringLiteral("<br>") + entry.comment2;
    const QString captionText = plainAttributeText(
        entry.comment2.isEmpty() ? entry.comment1
                                 : entry.comment1 + QLatin1Char(' ') + entry.comment2);
    const bool lazy = cells_.size() >= eager_;
    QString cell = QStringLiteral("<li><a class=\"photo\" href=\"") + pageAddress(entry.link) +
                   QStringLiteral("\" data-caption=\"") + captionText +
                   QStringLiteral("\"><img src=\"") + pageAddress(entry.thumbnail) +
                   QStringLiteral("\" srcset=\"") + srcsetUrl(pageAddress(entry.doubleThumbnail)) +
                   QStringLiteral(" 2x\" width=\"") + number(entry.thumbnailWidth) +
                   QStringLiteral("\" height=\"") + number(entry.thumbnailHeight) +
                   QStringLiteral("\" alt=\"") + alt + QLatin1Char('"') +
                   (lazy ? QStringLiteral(" loading=\"lazy\" decoding=\"async\"") : QString()) +
                   QStringLiteral("></a>");
    if (commentsOn && !caption.isEmpty())
        cell += QStringLiteral("<p class=\"caption\">") + caption + QStringLiteral("</p>");
    cells_ << cell + QStringLiteral("</li>");
}

QStringList ModernPageWriter::headLines(const QString& firstThumbnail) const {
    const QString dateText = QStringLiteral("    ") + number(date_.year()) + QLatin1Char('.') +
                             number(date_.month()) + QLatin1Char('.') + number(date_.day());
    return {
        QStringLiteral("<!DOCTYPE html>"),
        QStringLiteral("<!-- Tessaly Version ") + settings_.version + QStringLiteral(" -->"),
        QStringLiteral("<!-- FILE=") + counterText(cells_.size()) + QLatin1Char(' ') +
            readableName(firstThumbnail) + QStringLiteral(" -->"),
        QStringLiteral("<!-- ") + charRight(dateText, 10) + QStringLiteral(" -->"),
        QStringLiteral("<html lang=\"ja\"") + rootClass() + QLatin1Char('>'),
        QStringLiteral("<head><meta charset=\"utf-8\">"),
        QStringLiteral("<title>") + withoutLineBreaks(title_) + QStringLiteral("</title>"),
        QStringLiteral("<meta name=\"viewport\" content=\"width=device-width, initial-scale=1\">"),
        QStringLiteral("<meta name=\"generator\" content=\"Tessaly ") + settings_.version +
            QStringLiteral("\">"),
        QStringLiteral("<link rel=\"stylesheet\" href=\"") +
            pageAddress(files_.styleSheet.fromPage) + QStringLiteral("\">"),
        QStringLiteral("<style>:root{--cell:") +
            number(std::max(settings_.number(&CatalogSettings::thumbWidth), 1)) +
            QStringLiteral("px;--row:") + number(perRow_) + QLatin1Char(';') + colourStyle() +
            QLatin1Char('}') + backgroundStyle() + QStringLiteral("</style>"),
        QStringLiteral("<script>document.documentElement.classList.add('js');</script>"),
        QStringLiteral("<script src=\"") + pageAddress(files_.script.fromPage) +
            QStringLiteral("\" defer></script>"),
        QStringLiteral("</head>"),
    };
}

// The page keeps its own colours when the settings give a background; otherwise it follows
// the visitor's light or dark preference.
QString ModernPageWriter::rootClass() const {
    const bool fixed = settings_.backgroundColor != kDefaultBackground ||
                       settings_.isOn(&CatalogSettings::useBackgroundImage);
    return fixed ? QStringLiteral(" class=\"fixed-colours\"") : QString();
}

QString ModernPageWriter::colourStyle() const {
    if (rootClass().isEmpty()) return QString();
    const bool dark = darkBackground(settings_.backgroundColor);
    const QString fg = dark ? QStringLiteral("#fff") : QStringLiteral("#000");
    QString style =
        QStringLiteral("--bg:#") + htmlColorCode(settings_.backgroundColor) +
        QStringLiteral(";--fg:") + fg + QStringLiteral(";--muted:") + fg +
        QStringLiteral(";--card:") +
        (dark ? QStringLiteral("rgba(255,255,255,.08)") : QStringLiteral("rgba(255,255,255,.6)")) +
        QStringLiteral(";--line:") + fg + QLatin1Char(';');
    return style;
}

// The background image copied into the thumbnail folder, when one is used.
QString ModernPageWriter::backgroundStyle() const {
    if (files_.background.fromPage.isEmpty()) return QString();
    return QStringLiteral("body{background-image:url(\"") +
           pageAddress(files_.background.fromPage) + QStringLiteral("\")}");
}

QStringList ModernPageWriter::bodyStart() const {
    const bool slideShow = files_.slideShow;
    const QString interval = number(std::max(settingInt(settings_.slideInterval, 3), 1));
    return {
        QStringLiteral("<body data-interval=\"") + interval + QStringLiteral("\">"),
        QStringLiteral("<header class=\"page-head\">"),
        QStringLiteral("<h1>") + title_ + QStringLiteral("</h1>"),
        QStringLiteral("<p>") + CatalogPageWriter::headerTextOf(settings_, date_) +
            QStringLiteral("</p>"),
        slideShow ? QStringLiteral("<button type=\"button\" class=\"slideshow\" "
                                   "id=\"slideshow\">スライドショウ</button>")
                  : QString(),
        QStringLiteral("</header>"),
        QStringLiteral("<main>"),
        QStringLiteral("<ul class=\"grid photos\">"),
    };
}

QStringList ModernPageWriter::dialogLines() const {
    return {
        QStringLiteral("<dialog class=\"lightbox\" id=\"lightbox\" aria-label=\"写真\">"),
        QStringLiteral("<figure><img id=\"lightbox-photo\" alt=\"\">"
                       "<figcaption id=\"lightbox-caption\"></figcaption></figure>"),
        QStringLiteral("<p class=\"counter\" id=\"lightbox-counter\" aria-live=\"polite\"></p>"),
        QStringLiteral("<button type=\"button\" class=\"prev\" aria-label=\"前の写真\">&#8249;"
                       "</button>"),
        QStringLiteral("<button type=\"button\" class=\"next\" aria-label=\"次の写真\">&#8250;"
                       "</button>"),
        QStringLiteral("<button type=\"button\" class=\"close\" aria-label=\"閉じる\" autofocus>"
                       "&#215;</button>"),
        QStringLiteral("</dialog>"),
    };
}

QString ModernPageWriter::pageText(const QString& firstThumbnail) const {
    QStringList lines = headLines(firstThumbnail);
    lines += bodyStart();
    lines += cells_;
    lines << QStringLiteral("</ul>") << QStringLiteral("</main>");
    lines += dialogLines();
    lines << QStringLiteral("<footer class=\"page-foot\"><p>") +
                 CatalogPageWriter::footerTextOf(settings_) + QStringLiteral("</p></footer>")
          << QStringLiteral("</body>") << QStringLiteral("</html>");
    lines.removeAll(QString());
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

void ModernPageWriter::finish(const QString& firstThumbnail) {
    FileReplacement::replace(files_.styleSheet.path, modernStyleSheet());
    FileReplacement::replace(files_.script.path, modernScript());
    FileReplacement::replace(files_.page.path, pageText(firstThumbnail).toUtf8());
    cells_.clear();
}

}  // namespace tessaly
