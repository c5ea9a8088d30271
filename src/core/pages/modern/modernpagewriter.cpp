#include "core/pages/modern/modernpagewriter.h"

#include <QHash>
#include <QRegularExpression>
#include <algorithm>
#include <cmath>
#include <utility>

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

bool asciiLetter(QChar c) { return c.unicode() < 0x80 && c.isLetter(); }

// How much of text from `at` (a "<") a browser takes for a tag, comment or declaration and
// does not show; 0 when that "<" is shown as it stands ("<大>", "a < b").
qsizetype markupLength(QStringView text, qsizetype at) {
    const QStringView rest = text.mid(at);
    if (rest.startsWith(u"<!--")) {
        const qsizetype end = rest.indexOf(u"-->", 4);
        return end < 0 ? rest.size() : end + 3;
    }
    const QChar next = rest.size() > 1 ? rest[1] : QChar();
    const QChar after = rest.size() > 2 ? rest[2] : QChar();
    if (!asciiLetter(next) && !(next == u'/' && asciiLetter(after)) && next != u'!' &&
        next != u'?') {
        return 0;
    }
    QChar quote;  // a ">" inside a quoted attribute value does not end the tag
    for (qsizetype i = 1; i < rest.size(); ++i) {
        if (!quote.isNull()) {
            if (rest[i] == quote) quote = QChar();
        } else if ((rest[i] == u'"' || rest[i] == u'\'') && rest[i - 1] == u'=') {
            quote = rest[i];
        } else if (rest[i] == u'>') {
            return i + 1;
        }
    }
    return rest.size();
}

// The character a reference at `at` (a "&") stands for and its length; none for an "&" that
// is shown as it stands.
std::pair<QString, qsizetype> characterReference(const QString& text, qsizetype at) {
    static const QRegularExpression reference(
        QStringLiteral("&(?:#([0-9]{1,7})|#[xX]([0-9A-Fa-f]{1,6})|(amp|lt|gt|quot|apos|nbsp));"));
    const QRegularExpressionMatch match = reference.match(
        text, at, QRegularExpression::NormalMatch, QRegularExpression::AnchorAtOffsetMatchOption);
    if (!match.hasMatch()) return {QString(), 0};
    static const QHash<QString, QString> named = {{QStringLiteral("amp"), QStringLiteral("&")},
                                                  {QStringLiteral("lt"), QStringLiteral("<")},
                                                  {QStringLiteral("gt"), QStringLiteral(">")},
                                                  {QStringLiteral("quot"), QStringLiteral("\"")},
                                                  {QStringLiteral("apos"), QStringLiteral("'")},
                                                  {QStringLiteral("nbsp"), QStringLiteral(" ")}};
    if (match.hasCaptured(3)) return {named.value(match.captured(3)), match.capturedLength()};
    const bool hex = match.hasCaptured(2);
    const uint code = match.captured(hex ? 2 : 1).toUInt(nullptr, hex ? 16 : 10);
    if (code == 0 || code > 0x10FFFF || (code >= 0xD800 && code <= 0xDFFF))
        return {QString(QChar(0xFFFD)), match.capturedLength()};
    const char32_t character = code;
    return {QString::fromUcs4(&character, 1), match.capturedLength()};
}

// What a browser shows of a comment typed as markup: tags and comments dropped (a line break
// as a space), references as their characters, every other character as typed.
QString visibleText(const QString& markup) {
    QString text;
    text.reserve(markup.size());
    for (qsizetype i = 0; i < markup.size();) {
        const QChar c = markup.at(i);
        const qsizetype tag = c == u'<' ? markupLength(markup, i) : 0;
        const auto reference =
            c == u'&' ? characterReference(markup, i) : std::pair<QString, qsizetype>();
        if (tag > 0) {
            if (QStringView(markup).mid(i, 3).compare(u"<br", Qt::CaseInsensitive) == 0)
                text += QLatin1Char(' ');
            i += tag;
        } else if (reference.second > 0) {
            text += reference.first;
            i += reference.second;
        } else {
            text += c;
            ++i;
        }
    }
    return text;
}

}  // namespace

QString plainAttributeText(const QString& markup) {
    return htmlText(visibleText(markup).simplified());
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
    const int rowHeight = std::max(OutputLayout::thumbnailBox(settings_).height, 1) + 30;
    eager_ = perRow_ * std::max(1, (kFirstScreen + rowHeight - 1) / rowHeight);
    cells_.clear();
}

void ModernPageWriter::close() noexcept { cells_.clear(); }

void ModernPageWriter::addImage(const CatalogEntry& entry, bool commentsOn) {
    const QString& name = entry.fileName;
    QString caption = entry.comment1;
    if (!entry.comment2.isEmpty()) caption += QStringLiteral("<br>") + entry.comment2;
    // The lightbox caption and the alt text read what the grid caption shows.
    const QString captionText = plainAttributeText(caption);
    const QString alt = captionText.isEmpty() ? htmlText(photoShortName(name)) : captionText;
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
            number(std::max(OutputLayout::thumbnailBox(settings_).width, 1)) +
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
    const bool fixed =
        settings_.backgroundColor != kDefaultBackground || !files_.background.path.isEmpty();
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
    if (!files_.download.path.isEmpty()) {
        lines << QStringLiteral("<p class=\"download\"><a href=\"") +
                     pageAddress(files_.download.fromPage) +
                     QStringLiteral("\" download>すべての写真をダウンロード</a></p>");
    }
    lines << QStringLiteral("<footer class=\"page-foot\"><p>") +
                 CatalogPageWriter::footerTextOf(settings_) + QStringLiteral("</p></footer>")
          << QStringLiteral("</body>") << QStringLiteral("</html>");
    lines.removeAll(QString());
    return lines.join(QStringLiteral("\r\n")) + QStringLiteral("\r\n");
}

void ModernPageWriter::finish(const QString& firstThumbnail) {
    FileReplacement::replace(files_.styleSheet.path, modernStyleSheet(),
                             FileReplacement::Links::Refuse);
    FileReplacement::replace(files_.script.path, modernScript(), FileReplacement::Links::Refuse);
    FileReplacement::replace(files_.page.path, pageText(firstThumbnail).toUtf8(),
                             FileReplacement::Links::Refuse);
    cells_.clear();
}

}  // namespace tessaly
