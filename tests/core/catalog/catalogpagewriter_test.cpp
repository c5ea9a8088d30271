#include "core/pages/classic/catalogpagewriter.h"

#include <gtest/gtest.h>

#include <QDate>
#include <QDir>
#include <QStringList>
#include <vector>

#include "core/pages/catalogentry.h"
#include "core/pages/outputlayout.h"
#include "core/pages/pageaddress.h"
#include "core/pages/pagetext.h"
#include "core/settings/catalogsettings.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "support/tempdir.h"

using namespace tessaly;

namespace {

const QDate kJan5(2026, 1, 5);

CatalogEntry entry(const QString& name, int thumbWidth = 110, int thumbHeight = 75,
                   const QString& comment1 = QString(), const QString& comment2 = QString()) {
    CatalogEntry e;
    e.fileName = name;
    e.link = name;
    e.thumbnail = "htm_image/" + name;
    e.imageWidth = 660;
    e.imageHeight = 450;
    e.thumbnailWidth = thumbWidth;
    e.thumbnailHeight = thumbHeight;
    e.comment1 = comment1;
    e.comment2 = comment2;
    return e;
}

QString cell(const QString& name, int width = 110, int height = 75) {
    const QString shortName = name.left(name.size() - 4);
    return QStringLiteral(
               "  <TD align=\"center\" valign=\"middle\"><A href=\"%1\"><IMG src=\"htm_image/%1\" "
               "ALT=\"%2\" height=\"%3\" width=\"%4\"></A></TD>")
        .arg(name, shortName)
        .arg(height)
        .arg(width);
}

QString commentCell(const QString& text, int width = 110) {
    return QStringLiteral("  <TD align=\"center\" valign=\"middle\" width=\"%1\">%2</TD>")
        .arg(width)
        .arg(text);
}

const QStringList kDefaultHead = {
    "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">",
    "<!-- Tessaly Version 1.60 -->",
    "<!-- FILE=007 a1.jpg -->",
    "<!--   2026.1.5 -->",
    "<HTML>",
    "<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">",
    "<TITLE>旅行</TITLE>",
    "</HEAD>",
    "",
    "",
    "",
    "",
    "",
};

const QStringList kDefaultBody = {
    "<BODY bgcolor=\"#808080\">",
    "<CENTER>",
    "<TABLE border=\"1\"><TR><TD align=\"center\" bgcolor=\"#FFFFFF\">",
    "<FONT size=\"7\" color=\"#000000\" face=\"ＭＳ Ｐ明朝\">　旅行　</FONT>",
    "</TD></TR></TABLE>",
    "</CENTER>",
    "<P align=\"right\">",
    "[2026年1月5日作成]",
    "</P>",
    "<CENTER>",
    "<BR>",
    "<TABLE border=\"1\">",
    "<TR>",
};

const QStringList kDefaultTail = {
    "</TR>",
    "</TABLE>",
    "</CENTER>",
    "<P align=\"right\">",
    QStringLiteral("Created by ") + creditLink(QStringLiteral("「Tessaly」")),
    "",
    "</P>",
    "</BODY>",
    "</HTML>",
};

// The page files a run with these settings gives the classic page.
PageFiles filesFor(const CatalogSettings& settings) {
    return OutputLayout(settings, "/")
        .pageFiles(false, settings.isOn(&CatalogSettings::makeSlideShow));
}

// One page run: head, body start, the given images with comments sampled as given, tail.
// The images are linked and shown where a run with the settings puts them.
class PageRun {
public:
    explicit PageRun(CatalogSettings settings = CatalogSettings()) : settings_(settings) {}

    QStringList write(int perRow, int selectedCount, const std::vector<CatalogEntry>& images,
                      bool commentsOn = false, const QDate& date = kJan5,
                      const QString& title = QStringLiteral("旅行")) {
        CatalogPageWriter writer(settings_, filesFor(settings_));
        const OutputLayout layout(settings_, dir_.path());
        const QString first = images.empty() ? QStringLiteral("a1.jpg") : images[0].fileName;
        writer.writeHead(path(), title, perRow, selectedCount, layout.thumbnailFileName(first),
                         date);
        writer.writeBodyStart();
        int n = 0;
        for (CatalogEntry e : images) {
            e.thumbnail = layout.thumbnail(e.fileName).fromPage;
            writer.writeImage(++n, e, commentsOn);
        }
        writer.writeTail(commentsOn);
        writer.publish();
        EXPECT_FALSE(writer.isOpen());
        return test::sjisLines(bytes());
    }

    // The lines between the body start and the tail.
    QStringList table(int perRow, int selectedCount, const std::vector<CatalogEntry>& images,
                      bool commentsOn = false) {
        const QStringList lines = write(perRow, selectedCount, images, commentsOn);
        const int start = kDefaultHead.size() + kDefaultBody.size();
        return lines.mid(start, lines.size() - start - kDefaultTail.size());
    }

    QString path() const { return dir_.file("index.htm"); }
    QByteArray bytes() const { return dir_.read("index.htm"); }

private:
    CatalogSettings settings_;
    test::TempDir dir_;
};

std::vector<CatalogEntry> images(int count) {
    std::vector<CatalogEntry> list;
    for (int i = 1; i <= count; ++i) list.push_back(entry(QStringLiteral("a%1.jpg").arg(i)));
    return list;
}

const QString kFiller = QStringLiteral("  <TD></TD>");

}  // namespace

TEST(CatalogPage, DefaultPageIsExactWithCrLfAndShiftJis) {
    PageRun run;
    const QStringList lines = run.write(3, 7, images(7));
    EXPECT_EQ(lines.mid(0, 13), kDefaultHead);
    EXPECT_EQ(lines.mid(13, 13), kDefaultBody);
    EXPECT_EQ(lines.mid(lines.size() - 9), kDefaultTail);
    const QByteArray bytes = run.bytes();
    EXPECT_TRUE(bytes.endsWith("</HTML>\r\n"));
    EXPECT_EQ(bytes.count("\r\n"), lines.size());
    EXPECT_EQ(bytes.count('\n'), lines.size());
    EXPECT_TRUE(bytes.contains(QByteArray("\">\x81\x40") + test::sjisBytes("旅行") + "\x81\x40"));
}

TEST(CatalogPage, SevenImagesThreePerRow) {
    PageRun run;
    const QStringList expected = {
        cell("a1.jpg"), cell("a2.jpg"), cell("a3.jpg"), "</TR>", "<TR>",
        cell("a4.jpg"), cell("a5.jpg"), cell("a6.jpg"), "</TR>", "<TR>",
        cell("a7.jpg"), kFiller,        kFiller,
    };
    EXPECT_EQ(run.table(3, 7, images(7)), expected);
}

TEST(CatalogPage, OneImageInARowOfFiveAndTenImagesInRowsOfFive) {
    PageRun one;
    EXPECT_EQ(one.table(5, 1, images(1)),
              (QStringList{cell("a1.jpg"), kFiller, kFiller, kFiller, kFiller}));
    PageRun ten;
    QStringList expected;
    for (int i = 1; i <= 10; ++i) {
        expected << cell(QStringLiteral("a%1.jpg").arg(i));
        if (i == 5)
            expected << "</TR>"
                     << "<TR>";
    }
    EXPECT_EQ(ten.table(5, 10, images(10)), expected);
}

TEST(CatalogPage, FourImagesWithCommentsThreePerRow) {
    std::vector<CatalogEntry> list = {
        entry("a1.jpg", 110, 75, "海", "夕方"),
        entry("a2.jpg", 100, 75, "山"),
        entry("a3.jpg", 90, 75),
        entry("a4.jpg", 80, 75, QString(), "二行目だけ"),
    };
    PageRun run;
    const QStringList expected = {
        cell("a1.jpg"),
        cell("a2.jpg", 100),
        cell("a3.jpg", 90),
        "</TR>",
        "<TR>",
        commentCell("海<BR>夕方"),
        commentCell("山", 100),
        commentCell("", 90),
        "</TR>",
        "<TR>",
        cell("a4.jpg", 80),
        kFiller,
        kFiller,
        "</TR>",
        "<TR>",
        commentCell("<BR>二行目だけ", 80),
        "",
        "",
    };
    EXPECT_EQ(run.table(3, 4, list, true), expected);
}

TEST(CatalogPage, CommentSlotsSurviveARowBreakWrittenWithCommentsOff) {
    // Comments were off at the row break after image 2 and on again at the end: slot 1
    // still holds image 2's comment cell.
    CatalogSettings settings;
    test::TempDir dir;
    CatalogPageWriter writer(settings, filesFor(settings));
    writer.writeHead(dir.file("p.htm"), "t", 2, 3, "a1.jpg", kJan5);
    writer.writeBodyStart();
    writer.writeImage(1, entry("a1.jpg", 110, 75, "one"), true);
    writer.writeImage(2, entry("a2.jpg", 110, 75, "two"), false);
    writer.writeImage(3, entry("a3.jpg", 110, 75, "three"), true);
    writer.writeTail(true);
    writer.publish();
    const QStringList lines = test::sjisLines(dir.read("p.htm"));
    const QStringList expected = {
        cell("a1.jpg"),
        cell("a2.jpg"),
        "</TR>",
        "<TR>",
        cell("a3.jpg"),
        kFiller,
        "</TR>",
        "<TR>",
        commentCell("three"),
        commentCell("two"),
    };
    EXPECT_EQ(lines.mid(26, expected.size()), expected);
    EXPECT_EQ(lines.mid(26 + expected.size()), kDefaultTail);
}

TEST(CatalogPage, CancelledRunCountsFillersFromTheSelectedCount) {
    PageRun run;
    // 6 selected, 3 per row, cancelled after 4: the last row has one cell and no filler.
    EXPECT_EQ(run.table(3, 6, images(4)),
              (QStringList{cell("a1.jpg"), cell("a2.jpg"), cell("a3.jpg"), "</TR>", "<TR>",
                           cell("a4.jpg")}));
    PageRun other;
    // 5 selected, cancelled after 1: one filler (5 mod 3 = 2).
    EXPECT_EQ(other.table(3, 5, images(1)), (QStringList{cell("a1.jpg"), kFiller}));
}

TEST(CatalogPage, HeadCountKeepsThreeDigitsAndDateIsRightAligned) {
    PageRun big;
    QStringList lines = big.write(4, 1234, images(1), false, QDate(2026, 12, 25));
    EXPECT_EQ(lines[2], "<!-- FILE=234 a1.jpg -->");
    EXPECT_EQ(lines[3], "<!-- 2026.12.25 -->");
    EXPECT_EQ(lines[20], "[2026年12月25日作成]");
    PageRun thousand;
    lines = thousand.write(4, 1000, images(1));
    EXPECT_EQ(lines[2], "<!-- FILE=000 a1.jpg -->");

    CatalogSettings settings;
    settings.thumbPrefix = "s_";
    PageRun prefixed(settings);
    lines = prefixed.write(1, 7, images(1));
    EXPECT_EQ(lines[2], "<!-- FILE=007 s_a1.jpg -->");
    EXPECT_EQ(lines[26],
              "  <TD align=\"center\" valign=\"middle\"><A href=\"a1.jpg\"><IMG "
              "src=\"htm_image/s_a1.jpg\" ALT=\"a1\" height=\"75\" width=\"110\"></A></TD>");
}

TEST(CatalogPage, CellLineOfTheWorkedExample) {
    PageRun run;
    CatalogEntry a = entry("a.jpg");
    const QStringList lines = run.write(1, 1, {a});
    EXPECT_EQ(lines[26],
              "  <TD align=\"center\" valign=\"middle\"><A href=\"a.jpg\"><IMG "
              "src=\"htm_image/a.jpg\" ALT=\"a\" height=\"75\" width=\"110\"></A></TD>");
}

TEST(CatalogPage, ScriptHeadAndEveryOptionalPiece) {
    CatalogSettings s;
    s.useScriptPopup = "on";
    s.openInNewWindow = "on";
    s.titleItalic = "on";
    s.titleBold = "on";
    s.titleTableWidth = "300";
    s.titleColor = "255";
    s.titleBackColor = "16711680";
    s.titleFontSize = "5";
    s.titleFontFace = "ＭＳ ゴシック";
    s.tableBorder = "0";
    s.backgroundColor = 16777215;
    s.useBackgroundImage = "on";
    s.backgroundFile = "/pics/Back.JPG";
    s.headerDefault = "off";
    s.footerDefault = "off";
    s.footerLinkEnabled = "on";
    s.footerLinkUrl = "mailto:me@example.com";
    s.footerText = "作者";
    s.makeSlideShow = "on";
    const QString open =
        "  sub_win=window.open(file,\"sub\",\"width=\"+imgx+\",height=\"+imgy+\",toolbar=no,"
        "menubar=no,location=no,status=no,scrollbars=yes,resizable=yes\");";
    const QStringList head = {
        kDefaultHead[0],
        kDefaultHead[1],
        "<!-- FILE=001 a.jpg -->",
        kDefaultHead[3],
        kDefaultHead[4],
        kDefaultHead[5],
        kDefaultHead[6],
        "",
        "<SCRIPT LANGUAGE=\"JavaScript\">",
        "",
        "function disp(file,xpic,ypic){",
        "  if ((navigator.appName == \"Netscape\") &&",
        "        (3 <= parseInt(navigator.appVersion.substring(0, 1)))) ",
        "     {",
        "  imgx=eval(xpic)+20;",
        "  imgy=eval(ypic)+20;",
        "",
        open,
        "  sub_win.focus();",
        "     }",
        "   else",
        "     {",
        "  imgx=eval(xpic)+40;",
        "  imgy=eval(ypic)+30;",
        "",
        open,
        "     }",
        " }",
        "",
        "</SCRIPT>",
        "</HEAD>",
    };
    const QStringList body = {
        "<BODY background=\"htm_image/back.jpg\" bgcolor=\"#FFFFFF\">",
        "<CENTER>",
        "<TABLE border=\"0\"><TR><TD align=\"center\" width=\"300\" bgcolor=\"#0000FF\">",
        "<FONT size=\"5\" color=\"#FF0000\" face=\"ＭＳ ゴシック\"><B><I>　旅行　</I></B></FONT>",
        "</TD></TR></TABLE>",
        "</CENTER>",
        "<P align=\"right\">",
        "",
        "</P>",
        "<CENTER>",
        "<BR>",
        "<TABLE border=\"0\">",
        "<TR>",
    };
    const QStringList tail = {
        "</TR>",
        "</TABLE>",
        "<FORM action=\"SShow.htm\"><input type=SUBMIT value=\" スライドショウ \"></FORM></CENTER>",
        "<P align=\"right\">",
        "<A href=\"mailto:me@example.com\">作者</A>",
        "",
        "</P>",
        "</BODY>",
        "</HTML>",
    };
    PageRun run(s);
    CatalogEntry a = entry("a.jpg");
    const QStringList lines = run.write(1, 1, {a});
    ASSERT_EQ(lines.size(), 31 + 13 + 1 + 9);
    EXPECT_EQ(lines.mid(0, 31), head);
    EXPECT_EQ(lines.mid(31, 13), body);
    EXPECT_EQ(lines[44],
              "  <TD align=\"center\" valign=\"middle\"><A href=\"a.jpg\" "
              "onclick=\"disp('a.jpg',660,450)\" target=\"sub\"><IMG src=\"htm_image/a.jpg\" "
              "ALT=\"a\" height=\"75\" width=\"110\"></A></TD>");
    EXPECT_EQ(lines.mid(45), tail);
}

TEST(CatalogPage, ScriptWithoutNewWindowHasNoClickAndNoTarget) {
    CatalogSettings s;
    s.useScriptPopup = "on";
    PageRun run(s);
    const QStringList lines = run.write(1, 1, {entry("a.jpg")});
    EXPECT_EQ(lines[8], "<SCRIPT LANGUAGE=\"JavaScript\">");
    EXPECT_EQ(lines[44], cell("a.jpg"));

    CatalogSettings t;
    t.openInNewWindow = "on";
    PageRun target(t);
    EXPECT_EQ(target.write(1, 1, {entry("a.jpg")})[26],
              "  <TD align=\"center\" valign=\"middle\"><A href=\"a.jpg\" target=\"sub\"><IMG "
              "src=\"htm_image/a.jpg\" ALT=\"a\" height=\"75\" width=\"110\"></A></TD>");
}

TEST(CatalogPage, TitleBlockWithoutTableAndBackgroundVariants) {
    CatalogSettings s;
    s.titleUseTable = "off";
    s.useBackgroundImage = "on";
    s.backgroundFile = "/pics.jpg/back";  // no extension in the file's own name
    s.headerDefault = "off";
    s.headerText = "ヘッダー <b>&</b>";
    s.footerDefault = "off";
    s.footerText = "フッター";
    s.footerLinkEnabled = "off";
    s.backgroundColor = 255;
    PageRun run(s);
    const QStringList lines = run.write(1, 1, {entry("a.jpg")});
    EXPECT_EQ(lines[13], "<BODY background=\"htm_image/back.gif\" bgcolor=\"#FF0000\">");
    EXPECT_EQ(lines[15], "");
    EXPECT_EQ(lines[17], "");
    EXPECT_EQ(lines[20], "ヘッダー <b>&</b>");
    EXPECT_EQ(lines[lines.size() - 5], "フッター");

    s.footerLinkEnabled = "";  // anything but "off" links
    s.footerLinkUrl = "http://x.example/";
    s.backgroundFile = "/p/b.gif";
    PageRun linked(s);
    const QStringList other = linked.write(1, 1, {entry("a.jpg")});
    EXPECT_EQ(other[13], "<BODY background=\"htm_image/back.gif\" bgcolor=\"#FF0000\">");
    EXPECT_EQ(other[other.size() - 5], "<A href=\"http://x.example/\">フッター</A>");
}

TEST(CatalogPage, TitlesAndCommentsAreWrittenAsTypedFileNamesAsText) {
    PageRun run;
    const QStringList lines = run.write(1, 1, {entry("a&<b>.jpg", 110, 75, "<i>a & b</i>", "€")},
                                        true, kJan5, "<b>R&D</b>");
    EXPECT_EQ(lines[6], "<TITLE><b>R&D</b></TITLE>");
    EXPECT_EQ(lines[16],
              "<FONT size=\"7\" color=\"#000000\" face=\"ＭＳ Ｐ明朝\">　<b>R&D</b>　</FONT>");
    EXPECT_EQ(lines[26],
              "  <TD align=\"center\" valign=\"middle\"><A href=\"a%26%3Cb%3E.jpg\"><IMG "
              "src=\"htm_image/a%26%3Cb%3E.jpg\" ALT=\"a&amp;&lt;b&gt;\" height=\"75\" "
              "width=\"110\"></A></TD>");
    // A character code page 932 lacks becomes a character reference.
    EXPECT_EQ(lines[29], commentCell("<i>a & b</i><BR>&#8364;"));
}

TEST(CatalogPage, OrdinaryNamesAreExactAndBreakingCharactersAreEncoded) {
    CatalogSettings s;
    s.useScriptPopup = "on";
    s.openInNewWindow = "on";
    PageRun plain(s);
    EXPECT_EQ(
        plain.write(1, 1, {entry("夏 休み.JPG")})[44],
        "  <TD align=\"center\" valign=\"middle\"><A href=\"夏 休み.JPG\" "
        "onclick=\"disp('夏 休み.JPG',660,450)\" target=\"sub\"><IMG "
        "src=\"htm_image/夏 休み.JPG\" ALT=\"夏 休み\" height=\"75\" width=\"110\"></A></TD>");

    PageRun odd(s);
    EXPECT_EQ(odd.write(1, 1, {entry("a\"b#c?d%e'f.jpg")})[44],
              "  <TD align=\"center\" valign=\"middle\"><A href=\"a%22b%23c%3Fd%25e'f.jpg\" "
              "onclick=\"disp('a%22b%23c%3Fd%25e\\'f.jpg',660,450)\" target=\"sub\"><IMG "
              "src=\"htm_image/a%22b%23c%3Fd%25e'f.jpg\" ALT=\"a&quot;b#c?d%e'f\" height=\"75\" "
              "width=\"110\"></A></TD>");
    EXPECT_EQ(pageAddress("a\\b\nc.jpg"), "a%5Cb%0Ac.jpg");
    // Every "&" is encoded: "&copy" reads as a character even without its ";".
    EXPECT_EQ(pageAddress("a&copy<b>.jpg"), "a%26copy%3Cb%3E.jpg");
    // No name reads as a scheme, and no space at either end is stripped away.
    EXPECT_EQ(pageAddress("javascript:alert(1).jpg"), "./javascript:alert(1).jpg");
    EXPECT_EQ(pageAddress("C:x.jpg", AddressUse::SlideScript), "./C:x.jpg");
    EXPECT_EQ(pageAddress("12:30 夏.jpg"), "12:30 夏.jpg");
    EXPECT_EQ(pageAddress(" a b.jpg "), "%20a b.jpg%20");
    EXPECT_EQ(htmlText("a\tb\"c&copy<i>"), "a&#9;b&quot;c&amp;copy&lt;i&gt;");
}

TEST(CatalogPage, FailuresAreReportedAndCloseIsQuiet) {
    test::TempDir dir;
    CatalogSettings s;
    CatalogPageWriter writer(s, filesFor(s));
    EXPECT_THROW(writer.writeHead(dir.file("missing/index.htm"), "t", 3, 1, "a.jpg", kJan5),
                 IoError);
    EXPECT_FALSE(writer.isOpen());
    EXPECT_THROW(writer.writeImage(1, entry("a.jpg"), false), IoError);

    writer.writeHead(dir.file("index.htm"), "t", 0, 2, "a.jpg", kJan5);  // 0 per row: 1
    writer.writeBodyStart();
    writer.writeImage(1, entry("a.jpg"), false);
    EXPECT_TRUE(writer.isOpen());
    writer.close();  // failure path: the unfinished page goes, nothing is left beside it
    EXPECT_FALSE(writer.isOpen());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
    writer.close();
}
