#include "core/toc/framepagewriter.h"

#include <QFileInfo>

#include "core/pages/classic/catalogpagewriter.h"
#include "core/pages/pageaddress.h"
#include "core/text/formatting.h"
#include "core/toc/jpegsize.h"

namespace tessaly {

FramePageWriter::FramePageWriter(const QString& folder, const TocPageHead& head,
                                 const QString& firstFolderName)
    : folder_(folder), head_(head) {
    writeTopPage(firstFolderName);
    out_ = std::make_unique<PageFile>(titlePagePath(folder_));
    writeTitleHeader();
}

QString FramePageWriter::titlePagePath(const QString& folder) {
    return folderPath(folder) + QStringLiteral("title.htm");
}

void FramePageWriter::writeTopPage(const QString& firstFolderName) {
    top_ = std::make_unique<PageFile>(folderPath(folder_) + head_.settings().htmlFileName);
    PageFile& top = *top_;
    head_.writeDocumentStart(top.out(), QStringLiteral("<!-- FRAME TOP PAGE -->"));
    top.writeLine(QString());
    top.writeLine(QStringLiteral("<FRAMESET cols=\"20%,80%\">"));
    top.writeLine(QStringLiteral("<FRAME src=\"title.htm\" name=\"h_title\" scrolling=\"auto\" >"));
    top.writeLine(QStringLiteral("<FRAME src=\"") +
                  pageAddress(firstFolderName + QLatin1Char('/') + head_.settings().htmlFileName) +
                  QStringLiteral("\" name=\"h_main\" scrolling=\"auto\" >"));
    top.writeLine(QStringLiteral("<NOFRAMES>"));
    top.writeLine(QStringLiteral("<BODY>"));
    top.writeLine(QStringLiteral("</BODY>"));
    top.writeLine(QStringLiteral("</NOFRAMES>"));
    top.writeLine(QStringLiteral("</FRAMESET>"));
    top.writeLine(QStringLiteral("</HTML>"));
    top.close();
}

void FramePageWriter::writeTitleHeader() {
    head_.writeOpening(out_->out());
    out_->writeLine(head_.titleCell(QStringLiteral("5"), false));
    out_->writeLine(QStringLiteral("</TABLE>"));
    out_->writeLine(QStringLiteral("</CENTER>"));
    out_->writeLine(QString());
    out_->writeLine(QString());
    out_->writeLine(QString());
    out_->writeLine(QStringLiteral("<CENTER>"));
    out_->writeLine(QStringLiteral("<BR>"));
    out_->writeLine(QStringLiteral("<TABLE border=\"1\">"));
}

QString FramePageWriter::sizePart(const TocEntry& entry) const {
    const QString path = head_.thumbnailPath(folder_, entry);
    if (!QFileInfo(path).isFile()) return QString();
    const JpegSize size = requireJpegSize(path);
    const long double height = static_cast<long double>(size.height) * kThumbnailWidth / size.width;
    return QStringLiteral(" height=\"%1\" width=\"%2\" ")
        .arg(roundHalfEven(height))
        .arg(kThumbnailWidth);
}

void FramePageWriter::writeEntry(const TocEntry& entry) {
    const QString link = QStringLiteral("<A href=\"") + head_.pageLink(entry) +
                         QStringLiteral("\" target=\"h_main\">");
    out_->writeLine(QStringLiteral("<TR><TD align=\"center\" valign=\"middle\">") + link +
                    QStringLiteral("<IMG src=\"") + head_.thumbnailLink(entry) +
                    QStringLiteral("\" ALT=\"") + TocPageHead::altText(entry.title) +
                    QStringLiteral("\"") + sizePart(entry) + QStringLiteral("></A></TD>"));
    out_->writeLine(QStringLiteral("</TR>"));
    out_->writeLine(QStringLiteral("<TR><TD align=\"center\">") + link + entry.title +
                    QStringLiteral("</A></TD>"));
    out_->writeLine(QStringLiteral("</TR>"));
}

void FramePageWriter::finish() {
    out_->writeLine(QString());
    out_->writeLine(QStringLiteral("</TABLE>"));
    out_->writeLine(QStringLiteral("<BR>"));
    out_->writeLine(QStringLiteral("Created by<BR>"));
    out_->writeLine(creditLink(QStringLiteral("Tessaly")));
    out_->writeLine(QStringLiteral("</CENTER>"));
    out_->writeLine(QStringLiteral("</BODY>"));
    out_->writeLine(QStringLiteral("</HTML>"));
    out_->publish();
    top_->publish();
}

}  // namespace tessaly
