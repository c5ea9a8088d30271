#include "core/toc/tocpagewriter.h"

#include <QFileInfo>
#include <algorithm>

#include "core/pages/pagetext.h"
#include "core/text/formatting.h"
#include "core/toc/jpegsize.h"

namespace tessaly {
namespace {

constexpr int kPerRow = 5;

}  // namespace

TocPageWriter::TocPageWriter(const QString& path, const QString& folder, const TocPageHead& head,
                             Variant variant, int count)
    : out_(path), folder_(folder), head_(head), variant_(variant), count_(count) {
    writeHeader();
}

void TocPageWriter::writeHeader() {
    head_.writeOpening(out_.out());
    out_.writeLine(head_.titleCell(head_.settings().titleFontSize, true));
    out_.writeLine(QStringLiteral("</TABLE>"));
    out_.writeLine(QStringLiteral("</CENTER>"));
    out_.writeLine(QStringLiteral("<P align=\"right\">"));
    out_.writeLine(head_.dateCaption());
    out_.writeLine(QStringLiteral("</P>"));
    out_.writeLine(QStringLiteral("<CENTER>"));
    out_.writeLine(QStringLiteral("<BR>"));
    out_.writeLine(QStringLiteral("<TABLE border=\"1\">"));
    out_.writeLine(QStringLiteral("<TR>"));
    if (variant_ == Variant::Grid) return;
    out_.writeLine(
        QStringLiteral("<TD align=\"center\">タイトル</TD><TD align=\"center\">フォルダ名</TD>"
                       "<TD align=\"center\">ファイル数</TD><TD align=\"center\">作成日</TD>"));
    out_.writeLine(QStringLiteral("</TR>"));
    out_.writeLine(QStringLiteral("<TR>"));
}

void TocPageWriter::writeEntry(const TocEntry& entry, int k) {
    if (variant_ == Variant::List) {
        writeListEntry(entry, k);
    } else {
        writeGridEntry(entry, k);
    }
}

void TocPageWriter::writeListEntry(const TocEntry& entry, int k) {
    const QString cell = QStringLiteral("<TD align=\"center\">");
    const QString end = QStringLiteral("</TD>");
    out_.writeLine(cell + QStringLiteral("<A href=\"") + head_.pageLink(entry) +
                   QStringLiteral("\">") + entry.title + QStringLiteral("</A>") + end);
    out_.writeLine(cell + htmlText(entry.folderName) + end);
    out_.writeLine(cell + htmlText(entry.imageCount) + end);
    out_.writeLine(cell + htmlText(entry.date) + end);
    if (k < count_) out_.writeLine(QStringLiteral("</TR><TR>"));
}

QString TocPageWriter::sizePart(const TocEntry& entry) const {
    const QString path = head_.thumbnailPath(folder_, entry);
    if (!QFileInfo(path).isFile()) return QString();
    const JpegSize size = requireJpegSize(path);
    return QStringLiteral(" height=\"%1\" width=\"%2\" ").arg(size.height).arg(size.width);
}

void TocPageWriter::writeGridEntry(const TocEntry& entry, int k) {
    const QString linkOpening =
        QStringLiteral("<A href=\"") + head_.pageLink(entry) + QStringLiteral("\">");
    out_.writeLine(QStringLiteral("<TD align=\"center\" valign=\"middle\">") + linkOpening +
                   QStringLiteral("<IMG src=\"") + head_.thumbnailLink(entry) +
                   QStringLiteral("\" ALT=\"") + TocPageHead::altText(entry.title) +
                   QStringLiteral("\"") + sizePart(entry) + QStringLiteral("></A></TD>"));
    captions_[static_cast<size_t>((k - 1) % kPerRow)] = Caption{linkOpening, entry.title};
    if (k == count_) {
        out_.writeLine(QStringLiteral("</TR><TR>"));
        writeCaptionRow();
    } else if (k % kPerRow == 0) {
        out_.writeLine(QStringLiteral("</TR><TR>"));
        writeCaptionRow();
        out_.writeLine(QStringLiteral("</TR><TR>"));
    }
}

void TocPageWriter::writeCaptionRow() {
    for (std::optional<Caption>& caption : captions_) {
        if (caption) {
            out_.writeLine(QStringLiteral("<TD align=\"center\">") + caption->linkOpening +
                           caption->title + QStringLiteral("</A></TD>"));
        } else {
            out_.writeLine(QStringLiteral("<TD></TD>"));
        }
        caption.reset();
    }
}

void TocPageWriter::finish() {
    // Captions still waiting (fewer catalogues than announced) get their row all the same.
    const bool pending = std::any_of(captions_.begin(), captions_.end(),
                                     [](const std::optional<Caption>& c) { return c.has_value(); });
    if (pending) {
        out_.writeLine(QStringLiteral("</TR><TR>"));
        writeCaptionRow();
    }
    out_.writeLine(QStringLiteral("</TR>"));
    out_.writeLine(QStringLiteral("</TABLE>"));
    out_.writeLine(QStringLiteral("</CENTER>"));
    out_.writeLine(QStringLiteral("<P align=\"right\">"));
    out_.writeLine(QStringLiteral("Created by ") + creditLink(QStringLiteral("Tessaly")));
    out_.writeLine(QStringLiteral("</P>"));
    out_.writeLine(QStringLiteral("</BODY>"));
    out_.writeLine(QStringLiteral("</HTML>"));
    out_.publish();
}

}  // namespace tessaly
