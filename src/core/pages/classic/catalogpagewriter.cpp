#include "core/pages/classic/catalogpagewriter.h"

#include <QFile>

#include "core/pages/pageaddress.h"
#include "core/pages/pagefile.h"
#include "core/pages/pagetext.h"
#include "core/text/charfuncs.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/text/sjis.h"

namespace tessaly {

namespace {

const char* const kDocType = "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">";
const char* const kContentType =
    "<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">";
const char* const kOpenSubWindow =
    "  sub_win=window.open(file,\"sub\",\"width=\"+imgx+\",height=\"+imgy+\",toolbar=no,"
    "menubar=no,location=no,status=no,scrollbars=yes,resizable=yes\");";

QString number(qint64 value) { return QString::number(value); }

}  // namespace

CatalogPageWriter::CatalogPageWriter(const CatalogSettings& settings, const PageFiles& files)
    : settings_(settings), files_(files) {}

CatalogPageWriter::~CatalogPageWriter() { close(); }

bool CatalogPageWriter::isOpen() const { return file_ != nullptr; }

void CatalogPageWriter::close() noexcept {
    // The unfinished page goes with its temporary file; the old page stays.
    file_.reset();
}

void CatalogPageWriter::publish() {
    if (!file_) throw IoError(cannotWriteMessage(path_));
    std::unique_ptr<PageFile> file = std::move(file_);
    file->publish();  // the writer is done even when that fails
}

void CatalogPageWriter::writeLine(const QString& line) {
    if (!file_) throw IoError(cannotWriteMessage(path_));
    file_->writeLine(line);
}

void CatalogPageWriter::writeLines(const QStringList& lines) {
    for (const QString& line : lines) writeLine(line);
}

void CatalogPageWriter::writeHead(const QString& path, const QString& title, int perRow,
                                  int selectedCount, const QString& firstThumbnail,
                                  const QDate& date) {
    close();
    path_ = path;
    title_ = title;
    perRow_ = perRow < 1 ? 1 : perRow;
    selectedCount_ = selectedCount;
    firstThumbnail_ = firstThumbnail;
    date_ = date;
    commentCells_ = QStringList(perRow_, QString());
    file_ = std::make_unique<PageFile>(path);
    writeLines(headLines());
}

QStringList CatalogPageWriter::headLines() const {
    const QString dateText = QStringLiteral("    ") + number(date_.year()) + QLatin1Char('.') +
                             number(date_.month()) + QLatin1Char('.') + number(date_.day());
    QStringList lines = {
        QLatin1String(kDocType),
        QStringLiteral("<!-- Tessaly Version ") + settings_.version + QStringLiteral(" -->"),
        fileLine(),
        QStringLiteral("<!-- ") + charRight(dateText, 10) + QStringLiteral(" -->"),
        QStringLiteral("<HTML>"),
        QLatin1String(kContentType),
        QStringLiteral("<TITLE>") + withoutLineBreaks(title_) + QStringLiteral("</TITLE>"),
    };
    if (settings_.isOn(&CatalogSettings::useScriptPopup)) {
        lines += scriptLines();
    } else {
        lines << QStringLiteral("</HEAD>") << QString() << QString() << QString() << QString()
              << QString();
    }
    return lines;
}

// The head line the table of contents reads back: image count and first thumbnail.
QString CatalogPageWriter::fileLine() const {
    return QStringLiteral("<!-- FILE=") + pageCountText(selectedCount_) + QLatin1Char(' ') +
           readableName(firstThumbnail_) + QStringLiteral(" -->");
}

void CatalogPageWriter::restateImages(int count, const QString& firstThumbnail) {
    constexpr int kFileLineIndex = 2;  // after the document type and the version
    selectedCount_ = count;
    firstThumbnail_ = firstThumbnail;
    if (!file_) throw IoError(cannotWriteMessage(path_));
    // The page is not in place yet: its temporary file is rewritten where it lies.
    file_->close();
    QFile page(file_->temporaryPath());
    if (!page.open(QIODevice::ReadOnly)) throw IoError(cannotWriteMessage(path_));
    QList<QByteArray> lines = page.readAll().split('\n');
    page.close();
    if (lines.size() <= kFileLineIndex) throw IoError(cannotWriteMessage(path_));
    lines[kFileLineIndex] = sjis::encode(fileLine(), sjis::Unmappable::CharacterRef) + "\r";
    const QByteArray text = lines.join('\n');
    if (!page.open(QIODevice::WriteOnly | QIODevice::Truncate) || page.write(text) != text.size() ||
        !page.flush()) {
        throw IoError(cannotWriteMessage(path_));
    }
}

QStringList CatalogPageWriter::scriptLines() const {
    return {
        QString(),
        QStringLiteral("<SCRIPT LANGUAGE=\"JavaScript\">"),
        QString(),
        QStringLiteral("function disp(file,xpic,ypic){"),
        QStringLiteral("  if ((navigator.appName == \"Netscape\") &&"),
        QStringLiteral("        (3 <= parseInt(navigator.appVersion.substring(0, 1)))) "),
        QStringLiteral("     {"),
        QStringLiteral("  imgx=eval(xpic)+20;"),
        QStringLiteral("  imgy=eval(ypic)+20;"),
        QString(),
        QLatin1String(kOpenSubWindow),
        QStringLiteral("  sub_win.focus();"),
        QStringLiteral("     }"),
        QStringLiteral("   else"),
        QStringLiteral("     {"),
        QStringLiteral("  imgx=eval(xpic)+40;"),
        QStringLiteral("  imgy=eval(ypic)+30;"),
        QString(),
        QLatin1String(kOpenSubWindow),
        QStringLiteral("     }"),
        QStringLiteral(" }"),
        QString(),
        QStringLiteral("</SCRIPT>"),
        QStringLiteral("</HEAD>"),
    };
}

QString CatalogPageWriter::titleCellStart(const CatalogSettings& settings) {
    QString widthPiece;
    if (settings.titleTableWidth != QStringLiteral("標準")) {
        widthPiece = QStringLiteral("width=\"") + settings.titleTableWidth + QStringLiteral("\" ");
    }
    return QStringLiteral("<TD align=\"center\" ") + widthPiece + QStringLiteral("bgcolor=\"#") +
           htmlColorCode(settings.number(&CatalogSettings::titleBackColor)) + QStringLiteral("\">");
}

void CatalogPageWriter::writeBodyStart() {
    const bool table = settings_.isOn(&CatalogSettings::titleUseTable);
    const QString border =
        QStringLiteral("<TABLE border=\"") + settings_.tableBorder + QLatin1Char('"');
    const QString titleTable = border + QStringLiteral("><TR>") + titleCellStart(settings_);
    writeLines({
        bodyTag(),
        QStringLiteral("<CENTER>"),
        table ? titleTable : QString(),
        titleLine(),
        table ? QStringLiteral("</TD></TR></TABLE>") : QString(),
        QStringLiteral("</CENTER>"),
        QStringLiteral("<P align=\"right\">"),
        headerTextOf(settings_, date_),
        QStringLiteral("</P>"),
        QStringLiteral("<CENTER>"),
        QStringLiteral("<BR>"),
        border + QLatin1Char('>'),
        QStringLiteral("<TR>"),
    });
}

QString CatalogPageWriter::bodyTag() const {
    const QString colour = QStringLiteral("bgcolor=\"#") +
                           htmlColorCode(settings_.backgroundColor) + QStringLiteral("\">");
    if (files_.background.fromPage.isEmpty()) return QStringLiteral("<BODY ") + colour;
    return QStringLiteral("<BODY background=\"") + pageAddress(files_.background.fromPage) +
           QStringLiteral("\" ") + colour;
}

QString CatalogPageWriter::titleLine() const {
    return titleFont(settings_, settings_.titleFontSize,
                     QStringLiteral("　") + title_ + QStringLiteral("　"));
}

QString CatalogPageWriter::titleFont(const CatalogSettings& settings, const QString& size,
                                     const QString& text) {
    const bool italic = settings.isOn(&CatalogSettings::titleItalic);
    const bool bold = settings.isOn(&CatalogSettings::titleBold);
    return QStringLiteral("<FONT size=\"") + size + QStringLiteral("\" color=\"#") +
           htmlColorCode(settings.number(&CatalogSettings::titleColor)) +
           QStringLiteral("\" face=\"") + settings.titleFontFace + QStringLiteral("\">") +
           (bold ? QStringLiteral("<B>") : QString()) +
           (italic ? QStringLiteral("<I>") : QString()) + text +
           (italic ? QStringLiteral("</I>") : QString()) +
           (bold ? QStringLiteral("</B>") : QString()) + QStringLiteral("</FONT>");
}

QString CatalogPageWriter::headerTextOf(const CatalogSettings& settings, const QDate& date) {
    if (!settings.isOn(&CatalogSettings::headerDefault)) return settings.headerText;
    return QLatin1Char('[') + number(date.year()) + QStringLiteral("年") + number(date.month()) +
           QStringLiteral("月") + number(date.day()) + QStringLiteral("日作成]");
}

QString CatalogPageWriter::footerTextOf(const CatalogSettings& settings) {
    if (settings.isOn(&CatalogSettings::footerDefault)) {
        return QStringLiteral("Created by ") + creditLink(QStringLiteral("「Tessaly」"));
    }
    if (!settings.isOn(&CatalogSettings::footerLinkEnabled)) return settings.footerText;
    return QStringLiteral("<A href=\"") + settings.footerLinkUrl + QStringLiteral("\">") +
           settings.footerText + QStringLiteral("</A>");
}

QString CatalogPageWriter::cellLine(const CatalogEntry& entry) const {
    const QString& name = entry.fileName;
    const QString link = pageAddress(entry.link);
    const bool newWindow = settings_.isOn(&CatalogSettings::openInNewWindow);
    QString click;
    if (newWindow && settings_.isOn(&CatalogSettings::useScriptPopup)) {
        QString scriptName = link;
        scriptName.replace(QLatin1Char('\''), QLatin1String("\\'"));
        click = QStringLiteral(" onclick=\"disp('") + scriptName + QStringLiteral("',") +
                number(entry.imageWidth) + QLatin1Char(',') + number(entry.imageHeight) +
                QStringLiteral(")\"");
    }
    const QString target = newWindow ? QStringLiteral(" target=\"sub\"") : QString();
    const QString shortName =
        entry.shortName.isNull() ? charLeft(name, charLength(name) - 4) : entry.shortName;
    return QStringLiteral("  <TD align=\"center\" valign=\"middle\"><A href=\"") + link +
           QLatin1Char('"') + click + target + QStringLiteral("><IMG src=\"") +
           pageAddress(entry.thumbnail) + QStringLiteral("\" ALT=\"") + htmlText(shortName) +
           QStringLiteral("\" height=\"") + number(entry.thumbnailHeight) +
           QStringLiteral("\" width=\"") + number(entry.thumbnailWidth) +
           QStringLiteral("\"></A></TD>");
}

void CatalogPageWriter::writeImage(int n, const CatalogEntry& entry, bool commentsOn) {
    writeLine(cellLine(entry));
    const int slot = ((n - 1) % perRow_ + perRow_) % perRow_;
    const QString text = entry.comment2.isEmpty()
                             ? entry.comment1
                             : entry.comment1 + QStringLiteral("<BR>") + entry.comment2;
    commentCells_[slot] = QStringLiteral("  <TD align=\"center\" valign=\"middle\" width=\"") +
                          number(entry.thumbnailWidth) + QStringLiteral("\">") + text +
                          QStringLiteral("</TD>");
    if (n < selectedCount_ && n % perRow_ == 0) {
        writeLines({QStringLiteral("</TR>"), QStringLiteral("<TR>")});
        if (commentsOn) writeCommentRow();
    }
}

void CatalogPageWriter::writeCommentRow() {
    writeLines(commentCells_);
    writeLines({QStringLiteral("</TR>"), QStringLiteral("<TR>")});
    commentCells_ = QStringList(perRow_, QString());
}

void CatalogPageWriter::writeTail(bool commentsOn) {
    const int rest = selectedCount_ % perRow_;
    if (rest > 0) {
        for (int i = rest; i < perRow_; ++i) writeLine(QStringLiteral("  <TD></TD>"));
    }
    if (commentsOn) {
        writeLines({QStringLiteral("</TR>"), QStringLiteral("<TR>")});
        writeLines(commentCells_);
    }
    const QString slideButton = QStringLiteral("<FORM action=\"") +
                                pageAddress(files_.slideShowPage.fromPage) +
                                QStringLiteral(
                                    "\"><input type=SUBMIT value=\" スライドショウ \">"
                                    "</FORM></CENTER>");
    writeLines({
        QStringLiteral("</TR>"),
        QStringLiteral("</TABLE>"),
        !files_.slideShow ? QStringLiteral("</CENTER>") : slideButton,
    });
    if (!files_.download.path.isEmpty()) {
        writeLine(QStringLiteral("<P align=\"center\"><A href=\"") +
                  pageAddress(files_.download.fromPage) +
                  QStringLiteral("\">すべての写真をダウンロード</A></P>"));
    }
    writeLines({
        QStringLiteral("<P align=\"right\">"),
        footerTextOf(settings_),
        QString(),
        QStringLiteral("</P>"),
        QStringLiteral("</BODY>"),
        QStringLiteral("</HTML>"),
    });
    file_->close();
}

}  // namespace tessaly
