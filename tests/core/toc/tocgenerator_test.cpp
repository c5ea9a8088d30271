#include "core/toc/tocgenerator.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>

#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "tocfixture.h"

using namespace tessaly;
using test::TocFixture;

namespace {

// The message of the Error a run raises, or "" when it succeeds.
QString runMessage(TocFixture& f, const TocOptions& options) {
    try {
        f.run(options);
    } catch (const CheckError& e) {  // a check's refusal, shown as a notice
        return e.message();
    }
    return QString();
}

const QString kSep = QStringLiteral("</TR><TR>");

const QStringList kListHead = {
    QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">"),
    QStringLiteral("<!-- Tessaly Version 1.60 -->"),
    QStringLiteral("<!-- FILE=001 -->"),
    QStringLiteral("<!-- 2026.12.7 -->"),
    QStringLiteral("<HTML>"),
    QStringLiteral(
        "<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">"),
    QStringLiteral("<TITLE>写真の目次</TITLE>"),
    QStringLiteral("</HEAD>"),
    QStringLiteral("<BODY bgcolor=\"#808080\">"),
    QString(),
    QStringLiteral("<CENTER>"),
    QStringLiteral("<TABLE border=\"3\">"),
    QStringLiteral("<TR>"),
    QStringLiteral("<TD align=\"center\" bgcolor=\"#FFFFFF\"><FONT size=\"7\" color=\"#000000\" "
                   "face=\"ＭＳ Ｐ明朝\">　写真の目次　</FONT></TD></TR>"),
    QStringLiteral("</TABLE>"),
    QStringLiteral("</CENTER>"),
    QStringLiteral("<P align=\"right\">"),
    QStringLiteral("[2026年12月7日作成]"),
    QStringLiteral("</P>"),
    QStringLiteral("<CENTER>"),
    QStringLiteral("<BR>"),
    QStringLiteral("<TABLE border=\"1\">"),
    QStringLiteral("<TR>"),
    QStringLiteral("<TD align=\"center\">タイトル</TD><TD align=\"center\">フォルダ名</TD>"
                   "<TD align=\"center\">ファイル数</TD><TD align=\"center\">作成日</TD>"),
    QStringLiteral("</TR>"),
    QStringLiteral("<TR>"),
};

const QStringList kFooter = {
    QStringLiteral("</TR>"),
    QStringLiteral("</TABLE>"),
    QStringLiteral("</CENTER>"),
    QStringLiteral("<P align=\"right\">"),
    QStringLiteral("Created by ") + creditLink(QStringLiteral("Tessaly")),
    QStringLiteral("</P>"),
    QStringLiteral("</BODY>"),
    QStringLiteral("</HTML>"),
};

}  // namespace

TEST(TocChecks, MessagesComeInTheirOrderBeforeAnythingIsWritten) {
    TocFixture f;
    TocOptions options = f.options(QString());
    options.useBackgroundImage = true;
    EXPECT_EQ(runMessage(f, options), TocGenerator::kNoTitleMessage);
    options.title = QStringLiteral("t");
    EXPECT_EQ(runMessage(f, options), QStringLiteral("背景の画像ファイルが指定されていません。"));
    options.useBackgroundImage = false;
    EXPECT_EQ(runMessage(f, options), QStringLiteral("フォルダがありません。"));
    QDir(f.dir.path()).mkpath(QStringLiteral("empty"));
    f.addCatalogue(QStringLiteral("unmarked"), QStringLiteral("x"), 1, QStringLiteral("a.jpg"),
                   false);
    QDir(f.dir.path()).mkpath(QStringLiteral("other"));
    f.dir.write(QStringLiteral("other/page.htm"), test::catalogueHead({}, 1, {}, {}, true));
    EXPECT_EQ(runMessage(f, options), QStringLiteral("対象のフォルダがありません。"));
    EXPECT_FALSE(QFile::exists(f.dir.file(QStringLiteral("index.htm"))));
}

TEST(TocChecks, MissingFolderCountsAsNoFolders) {
    TocFixture f;
    TocOptions options = f.options();
    options.folder = f.dir.file(QStringLiteral("nowhere"));
    EXPECT_EQ(runMessage(f, options), TocGenerator::kNoFoldersMessage);
}

TEST(TocList, OneCatalogueByteForByte) {
    TocFixture f;
    f.addCatalogue(QStringLiteral("旅行"), QStringLiteral("北海道の旅"), 12);
    const QString page = f.run(f.options(QStringLiteral("写真の目次")));
    EXPECT_EQ(page, f.dir.path() + QStringLiteral("/index.htm"));
    QStringList expected = kListHead;
    expected << QStringLiteral(
                    "<TD align=\"center\"><A href=\"旅行/index.htm\">北海道の旅</A></TD>")
             << QStringLiteral("<TD align=\"center\">旅行</TD>")
             << QStringLiteral("<TD align=\"center\">012</TD>")
             << QStringLiteral("<TD align=\"center\">  2026.1.5</TD>");
    expected << kFooter;
    EXPECT_EQ(f.lines(QStringLiteral("index.htm")), expected);
    const QByteArray bytes = f.dir.read(QStringLiteral("index.htm"));
    EXPECT_TRUE(bytes.endsWith("</HTML>\r\n"));
    EXPECT_TRUE(bytes.contains("\x81\x40"));  // ideographic spaces in Shift-JIS
    EXPECT_EQ(f.progress, QStringList{QStringLiteral("001/001")});
}

TEST(TocList, SubFoldersInNameOrderIgnoringCaseAndUnmarkedPagesSkipped) {
    TocFixture f;
    f.addCatalogue(QStringLiteral("b"), QStringLiteral("B title"));
    f.addCatalogue(QStringLiteral("A"), QStringLiteral("A title"));
    f.addCatalogue(QStringLiteral("c"), QStringLiteral("C title"));
    f.addCatalogue(QStringLiteral("B2"), QStringLiteral("unmarked"), 3, QStringLiteral("x.jpg"),
                   false);
    f.run(f.options());
    const QStringList lines = f.lines(QStringLiteral("index.htm"));
    EXPECT_EQ(lines.at(2), QStringLiteral("<!-- FILE=003 -->"));
    const QStringList titles = lines.filter(QStringLiteral("<TD align=\"center\"><A href="));
    ASSERT_EQ(titles.size(), 3);
    EXPECT_TRUE(titles[0].contains(QStringLiteral("A/index.htm\">A title")));
    EXPECT_TRUE(titles[1].contains(QStringLiteral("b/index.htm\">B title")));
    EXPECT_TRUE(titles[2].contains(QStringLiteral("c/index.htm\">C title")));
    EXPECT_EQ(lines.count(kSep), 2);
    EXPECT_EQ(f.progress, (QStringList{"001/003", "002/003", "003/003"}));
}

// The thumbnail folder and the backups hold no album, even with a page in them.
TEST(TocList, TheProgramsOwnFoldersAreNeverListed) {
    TocFixture f;
    f.addCatalogue(QStringLiteral("album"), QStringLiteral("album title"));
    f.addCatalogue(QStringLiteral("htm_image"), QStringLiteral("thumbnails"));
    f.addCatalogue(QStringLiteral("_backup"), QStringLiteral("backups"));
    f.run(f.options());
    const QStringList titles = f.lines(QStringLiteral("index.htm"))
                                   .filter(QStringLiteral("<TD align=\"center\"><A href="));
    ASSERT_EQ(titles.size(), 1);
    EXPECT_TRUE(titles[0].contains(QStringLiteral("album/index.htm\">album title")));
    EXPECT_EQ(f.progress, (QStringList{"001/001"}));
}

TEST(TocList, OnlyPagesNamedByTheCurrentSettingAreFound) {
    TocFixture f;
    f.addCatalogue(QStringLiteral("one"), QStringLiteral("default name"));
    f.settings.htmlFileName = QStringLiteral("catalog.html");
    f.addCatalogue(QStringLiteral("two"), QStringLiteral("current name"));
    f.run(f.options());
    const QStringList lines = f.lines(QStringLiteral("catalog.html"));
    EXPECT_EQ(lines.filter(QStringLiteral("<TD align=\"center\"><A href=")),
              QStringList{QStringLiteral(
                  "<TD align=\"center\"><A href=\"two/catalog.html\">current name</A></TD>")});
    EXPECT_FALSE(QFile::exists(f.dir.file(QStringLiteral("index.htm"))));
}

TEST(TocList, EarlierContentsPageInASubFolderIsListedLikeACatalogue) {
    TocFixture f;
    f.addCatalogue(QStringLiteral("year/spring"), QStringLiteral("Spring"));
    f.addCatalogue(QStringLiteral("year/summer"), QStringLiteral("Summer"));
    TocOptions inner = f.options(QStringLiteral("2026年"));
    inner.folder = f.dir.file(QStringLiteral("year"));
    f.run(inner);
    f.run(f.options());
    const QStringList lines = f.lines(QStringLiteral("index.htm"));
    EXPECT_TRUE(lines.contains(
        QStringLiteral("<TD align=\"center\"><A href=\"year/index.htm\">2026年</A></TD>")));
    EXPECT_TRUE(lines.contains(QStringLiteral("<TD align=\"center\">002</TD>")));
    EXPECT_TRUE(lines.contains(QStringLiteral("<TD align=\"center\">2026.12.7 </TD>")));
}

TEST(TocList, ReplacesTheCatalogueOfTheChosenFolderItself) {
    TocFixture f;
    f.dir.write(QStringLiteral("index.htm"), QByteArray(5000, 'x'));
    f.addCatalogue(QStringLiteral("sub"), QStringLiteral("t"));
    f.run(f.options());
    EXPECT_EQ(f.lines(QStringLiteral("index.htm")).first(), kListHead.first());
    EXPECT_EQ(f.lines(QStringLiteral("index.htm")).last(), QStringLiteral("</HTML>"));
}

TEST(TocList, ThousandCataloguesKeepThreeDigitPageCountsAndWholeProgress) {
    TocFixture f;
    for (int i = 0; i < 1000; ++i)
        f.addCatalogue(QStringLiteral("c%1").arg(i, 4, 10, QChar('0')), "t");
    f.run(f.options());
    const QStringList lines = f.lines(QStringLiteral("index.htm"));
    EXPECT_EQ(lines.at(2), QStringLiteral("<!-- FILE=000 -->"));
    EXPECT_EQ(lines.count(kSep), 999);
    ASSERT_EQ(f.progress.size(), 1000);
    EXPECT_EQ(f.progress.at(998), QStringLiteral("999/1000"));
    EXPECT_EQ(f.progress.last(), QStringLiteral("1000/1000"));
}

TEST(TocList, UnmappableTitleBecomesACharacterReference) {
    TocFixture f;
    f.addCatalogue(QStringLiteral("sub"), QStringLiteral("t"));
    f.run(f.options(QStringLiteral("目次 😀")));
    EXPECT_TRUE(f.dir.read(QStringLiteral("index.htm"))
                    .contains("<TITLE>\x96\xda\x8e\x9f &#128512;</TITLE>"));
}

TEST(TocList, StyleSettingsShapeTheTitleCell) {
    TocFixture f;
    f.settings.titleBold = QStringLiteral("on");
    f.settings.titleItalic = QStringLiteral("on");
    f.settings.titleTableWidth = QStringLiteral("400");
    f.settings.titleColor = QStringLiteral("255");
    f.settings.titleBackColor = QStringLiteral("65280");
    f.settings.titleFontSize = QStringLiteral("4");
    f.settings.titleFontFace = QStringLiteral("Arial");
    f.addCatalogue(QStringLiteral("sub"), QStringLiteral("t"));
    TocOptions options = f.options(QStringLiteral("T"));
    options.backgroundColor = 0x123456;
    f.run(options);
    const QStringList lines = f.lines(QStringLiteral("index.htm"));
    EXPECT_EQ(lines.at(8), QStringLiteral("<BODY bgcolor=\"#563412\">"));
    EXPECT_EQ(lines.at(13), QStringLiteral("<TD align=\"center\" width=\"400\" bgcolor=\"#00FF00\">"
                                           "<FONT size=\"4\" color=\"#FF0000\" face=\"Arial\">"
                                           "<B><I>　T　</I></B></FONT></TD></TR>"));
}

TEST(TocGrid, TwelveCataloguesMakeRowsOfFiveAndPadOnlyTheLastCaptionRow) {
    TocFixture f;
    for (int i = 1; i <= 12; ++i)
        f.addCatalogue(QStringLiteral("f%1").arg(i, 2, 10, QChar('0')),
                       QStringLiteral("T%1").arg(i));
    TocOptions options = f.options();
    options.showImages = true;
    f.run(options);
    const QStringList lines = f.lines(QStringLiteral("index.htm"));
    EXPECT_EQ(lines.at(22), QStringLiteral("<TR>"));
    EXPECT_TRUE(lines.at(23).startsWith(QStringLiteral("<TD align=\"center\" valign=\"middle\">")));
    QStringList body = lines.mid(23, lines.size() - 23 - 8);
    QString shape;
    for (const QString& line : body) {
        if (line == kSep)
            shape += '|';
        else if (line.contains(QStringLiteral("<IMG")))
            shape += 'i';
        else if (line == QStringLiteral("<TD></TD>"))
            shape += 'e';
        else
            shape += 'c';
    }
    EXPECT_EQ(shape, QStringLiteral("iiiii|ccccc|iiiii|ccccc|ii|cceee"));
    EXPECT_EQ(body.at(6),
              QStringLiteral("<TD align=\"center\"><A href=\"f01/index.htm\">T1</A></TD>"));
    EXPECT_EQ(lines.mid(lines.size() - 8), kFooter);
}

TEST(TocGrid, ExactlyFiveCataloguesGiveOneRowOfEachWithoutEmptyCells) {
    TocFixture f;
    for (int i = 1; i <= 5; ++i) f.addCatalogue(QStringLiteral("f%1").arg(i), QStringLiteral("T"));
    TocOptions options = f.options();
    options.showImages = true;
    f.run(options);
    const QStringList lines = f.lines(QStringLiteral("index.htm"));
    EXPECT_EQ(lines.count(kSep), 1);
    EXPECT_EQ(lines.count(QStringLiteral("<TD></TD>")), 0);
    EXPECT_EQ(lines.filter(QStringLiteral("<IMG")).size(), 5);
    EXPECT_EQ(lines.size(), 23 + 5 + 1 + 5 + 8);
}

TEST(TocGrid, ThumbnailSizeFromTheFileWhenItExists) {
    TocFixture f;
    f.addCatalogue(QStringLiteral("a"), QStringLiteral("With \"quote\""), 3,
                   QStringLiteral("s_IMG 1.JPG"));
    f.addThumbnail(QStringLiteral("a"), QStringLiteral("s_IMG 1.JPG"), 110, 83);
    // A title is markup: its character references stay references in the ALT text.
    f.addCatalogue(QStringLiteral("b"), QStringLiteral("No &amp; thumb"), 3,
                   QStringLiteral("gone.jpg"));
    f.settings.thumbFolderName = QStringLiteral("thumbs");
    f.addCatalogue(QStringLiteral("c"), QStringLiteral("Other folder"), 3, QStringLiteral("x.jpg"));
    f.addThumbnail(QStringLiteral("c"), QStringLiteral("x.jpg"), 40, 30);
    f.settings.thumbFolderName = QStringLiteral("htm_image");
    TocOptions options = f.options();
    options.showImages = true;
    f.run(options);
    const QStringList images = f.lines(QStringLiteral("index.htm")).filter(QStringLiteral("<IMG"));
    ASSERT_EQ(images.size(), 3);
    EXPECT_EQ(images[0],
              QStringLiteral("<TD align=\"center\" valign=\"middle\"><A href=\"a/index.htm\">"
                             "<IMG src=\"a/htm_image/s_IMG 1.JPG\" ALT=\"With &quot;quote&quot;\""
                             " height=\"83\" width=\"110\" ></A></TD>"));
    EXPECT_EQ(images[1],
              QStringLiteral("<TD align=\"center\" valign=\"middle\"><A href=\"b/index.htm\">"
                             "<IMG src=\"b/htm_image/gone.jpg\" ALT=\"No &amp; thumb\"></A></TD>"));
    EXPECT_FALSE(images[2].contains(QStringLiteral("height")));  // only the current folder name
}

// The modern contents page: UTF-8, one grid cell per catalogue with its first thumbnail (and
// the double-size one where the catalogue has it), title, folder, count and date.
TEST(TocModern, GridOfFirstThumbnailsWithNamesCountsAndDates) {
    TocFixture f;
    f.settings.pageStyle = QStringLiteral("modern");
    f.addCatalogue(QStringLiteral("a <1>"), QStringLiteral("春 &amp; 夏"), 12,
                   QStringLiteral("IMG 1.JPG"));
    f.addThumbnail(QStringLiteral("a <1>"), QStringLiteral("IMG 1.JPG"), 110, 83);
    QDir(f.dir.file(QStringLiteral("a <1>/htm_image"))).mkdir(QStringLiteral("2x"));
    f.addThumbnail(QStringLiteral("a <1>"), QStringLiteral("2x/IMG 1.JPG"), 220, 166);
    f.addCatalogue(QStringLiteral("b"), QStringLiteral("秋"), 3, QStringLiteral("gone.jpg"));
    TocOptions options = f.options();
    options.showImages = false;  // the modern page always shows the thumbnails
    f.run(options);
    const QString page = QString::fromUtf8(f.dir.read(QStringLiteral("index.htm")));
    EXPECT_TRUE(page.startsWith(QStringLiteral("<!DOCTYPE html>\r\n")));
    EXPECT_TRUE(page.contains(QStringLiteral("<title>目次</title>")));
    EXPECT_TRUE(page.contains(QStringLiteral(
        "<li><a href=\"a %3C1%3E/index.htm\"><img src=\"a %3C1%3E/htm_image/IMG 1.JPG\" "
        "srcset=\"a%20%3C1%3E/htm_image/2x/IMG%201.JPG 2x\" width=\"110\" height=\"83\" alt=\"\">"
        "<span class=\"caption\">春 &amp; 夏</span></a><p class=\"count\">a &lt;1&gt; ・ 12枚 ・ "
        "2026.1.5</p></li>")))
        << page.toStdString();
    EXPECT_TRUE(page.contains(
        QStringLiteral("<li><a href=\"b/index.htm\"><span class=\"caption\">秋</span></a>")));
    // The contents page follows the visitor's colours unless it has its own.
    EXPECT_TRUE(page.contains(QStringLiteral("<html lang=\"ja\" class=\"contents\">")));
    options.backgroundColor = 0x202020;
    f.run(options);
    EXPECT_TRUE(QString::fromUtf8(f.dir.read(QStringLiteral("index.htm")))
                    .contains(QStringLiteral(":root{--bg:#202020;--fg:#fff;")));
}

TEST(TocGrid, ThumbnailThatIsNoJpegEndsTheRunWithAnImageError) {
    TocFixture f;
    f.addCatalogue(QStringLiteral("a"), QStringLiteral("t"), 1, QStringLiteral("bad.jpg"));
    QDir(f.dir.path()).mkpath(QStringLiteral("a/htm_image"));
    f.dir.write(QStringLiteral("a/htm_image/bad.jpg"), QByteArray("not a jpeg"));
    TocOptions options = f.options();
    options.showImages = true;
    EXPECT_THROW(f.run(options), ImageError);
}

TEST(TocFrames, TopPageFirstCatalogueAndLeftPane) {
    TocFixture f;
    f.addCatalogue(QStringLiteral("a"), QStringLiteral("unmarked"), 1, QStringLiteral("x.jpg"),
                   false);
    f.addCatalogue(QStringLiteral("b"), QStringLiteral("横長"), 4, QStringLiteral("w.jpg"));
    f.addThumbnail(QStringLiteral("b"), QStringLiteral("w.jpg"), 160, 120);
    f.addCatalogue(QStringLiteral("c"), QStringLiteral("縦長"), 5, QStringLiteral("p.jpg"));
    f.addThumbnail(QStringLiteral("c"), QStringLiteral("p.jpg"), 60, 80);
    f.addCatalogue(QStringLiteral("d"), QStringLiteral("なし"), 6, QStringLiteral("none.jpg"));
    TocOptions options = f.options(QStringLiteral("枠"));
    options.useFrames = true;
    options.showImages = true;  // ignored with frames
    const QString page = f.run(options);
    EXPECT_EQ(page, f.dir.file(QStringLiteral("index.htm")));
    const QStringList top = f.lines(QStringLiteral("index.htm"));
    const QStringList expectedTop = {
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">"),
        QStringLiteral("<!-- Tessaly Version 1.60 -->"),
        QStringLiteral("<!-- FRAME TOP PAGE -->"),
        QStringLiteral("<!-- 2026.12.7 -->"),
        QStringLiteral("<HTML>"),
        QStringLiteral(
            "<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">"),
        QStringLiteral("<TITLE>枠</TITLE>"),
        QStringLiteral("</HEAD>"),
        QString(),
        QStringLiteral("<FRAMESET cols=\"20%,80%\">"),
        QStringLiteral("<FRAME src=\"title.htm\" name=\"h_title\" scrolling=\"auto\" >"),
        QStringLiteral("<FRAME src=\"b/index.htm\" name=\"h_main\" scrolling=\"auto\" >"),
        QStringLiteral("<NOFRAMES>"),
        QStringLiteral("<BODY>"),
        QStringLiteral("</BODY>"),
        QStringLiteral("</NOFRAMES>"),
        QStringLiteral("</FRAMESET>"),
        QStringLiteral("</HTML>"),
    };
    EXPECT_EQ(top, expectedTop);

    const QStringList left = f.lines(QStringLiteral("title.htm"));
    ASSERT_EQ(left.size(), 22 + 3 * 4 + 8);
    EXPECT_EQ(left.mid(0, 13),
              kListHead.mid(0, 13)
                  .replaceInStrings(QStringLiteral("写真の目次"), QStringLiteral("枠"))
                  .replaceInStrings(QStringLiteral("FILE=001"), QStringLiteral("FILE=003")));
    EXPECT_EQ(left.at(13),
              QStringLiteral("<TD align=\"center\" bgcolor=\"#FFFFFF\"><FONT size=\"5\" "
                             "color=\"#000000\" face=\"ＭＳ Ｐ明朝\">枠</FONT></TD></TR>"));
    EXPECT_EQ(left.mid(14, 8), (QStringList{"</TABLE>", "</CENTER>", "", "", "", "<CENTER>", "<BR>",
                                            "<TABLE border=\"1\">"}));
    EXPECT_EQ(
        left.mid(22, 4),
        (QStringList{QStringLiteral("<TR><TD align=\"center\" valign=\"middle\"><A href=\"b/"
                                    "index.htm\" target=\"h_main\"><IMG src=\"b/htm_image/"
                                    "w.jpg\" ALT=\"横長\" height=\"60\" width=\"80\" ></A></TD>"),
                     QStringLiteral("</TR>"),
                     QStringLiteral("<TR><TD align=\"center\"><A href=\"b/index.htm\" "
                                    "target=\"h_main\">横長</A></TD>"),
                     QStringLiteral("</TR>")}));
    EXPECT_TRUE(left.at(26).contains(QStringLiteral("ALT=\"縦長\" height=\"107\" width=\"80\" >")));
    EXPECT_TRUE(left.at(30).endsWith(QStringLiteral("ALT=\"なし\"></A></TD>")));
    EXPECT_EQ(left.mid(34), (QStringList{"", "</TABLE>", "<BR>", "Created by<BR>",
                                         creditLink(QStringLiteral("Tessaly")), "</CENTER>",
                                         "</BODY>", "</HTML>"}));
    EXPECT_EQ(f.progress, (QStringList{"001/003", "002/003", "003/003"}));
}

TEST(TocFrames, OneCatalogueIsBothTheMainFrameAndTheOnlyEntry) {
    TocFixture f;
    f.addCatalogue(QStringLiteral("only"), QStringLiteral("t"));
    TocOptions options = f.options();
    options.useFrames = true;
    f.run(options);
    EXPECT_TRUE(f.lines(QStringLiteral("index.htm"))
                    .at(11)
                    .startsWith(QStringLiteral("<FRAME src=\"only/index.htm\"")));
    EXPECT_EQ(f.lines(QStringLiteral("title.htm"))
                  .filter(QStringLiteral("href=\"only/index.htm\" target=\"h_main\""))
                  .size(),
              2);
}

TEST(TocBackground, JpegCopyBecomesBackJpgAndReplacesEarlierBackgrounds) {
    TocFixture f;
    f.addCatalogue(QStringLiteral("sub"), QStringLiteral("t"));
    test::TempDir elsewhere;
    elsewhere.write(QStringLiteral("Sky.JPG"), QByteArray("jpeg bytes"));
    f.dir.write(QStringLiteral("back.gif"), QByteArray("old gif"));
    TocOptions options = f.options();
    options.useBackgroundImage = true;
    options.backgroundImageFile = elsewhere.file(QStringLiteral("Sky.JPG"));
    f.run(options);
    EXPECT_EQ(f.dir.read(QStringLiteral("back.jpg")), QByteArray("jpeg bytes"));
    EXPECT_FALSE(QFile::exists(f.dir.file(QStringLiteral("back.gif"))));
    EXPECT_FALSE(QFile::exists(f.dir.file(QStringLiteral("Sky.JPG"))));
    EXPECT_EQ(f.lines(QStringLiteral("index.htm")).at(8),
              QStringLiteral("<BODY background=\"back.jpg\" bgcolor=\"#808080\">"));
}

TEST(TocBackground, OtherExtensionKeepsItsNameWhileTheBodyNamesBackGif) {
    TocFixture f;
    f.addCatalogue(QStringLiteral("sub"), QStringLiteral("t"));
    test::TempDir elsewhere;
    elsewhere.write(QStringLiteral("tile.png"), QByteArray("png"));
    TocOptions options = f.options();
    options.useBackgroundImage = true;
    options.backgroundImageFile = elsewhere.file(QStringLiteral("tile.png"));
    f.run(options);
    EXPECT_EQ(f.dir.read(QStringLiteral("tile.png")), QByteArray("png"));
    EXPECT_EQ(f.lines(QStringLiteral("index.htm")).at(8),
              QStringLiteral("<BODY background=\"back.gif\" bgcolor=\"#808080\">"));
}

TEST(TocBackground, ImageAlreadyInTheFolderStopsBeforeAnythingIsWritten) {
    TocFixture f;
    f.addCatalogue(QStringLiteral("sub"), QStringLiteral("t"));
    f.dir.write(QStringLiteral("back.jpg"), QByteArray("earlier"));
    TocOptions options = f.options();
    options.useBackgroundImage = true;
    options.backgroundImageFile = f.dir.file(QStringLiteral("back.jpg"));
    EXPECT_EQ(runMessage(f, options), TocGenerator::kBackgroundCopyMessage);
    test::TempDir elsewhere;
    elsewhere.write(QStringLiteral("back.jpg"), QByteArray("new"));
    options.backgroundImageFile = elsewhere.file(QStringLiteral("back.jpg"));
    EXPECT_EQ(runMessage(f, options), TocGenerator::kBackgroundCopyMessage);
    EXPECT_EQ(f.dir.read(QStringLiteral("back.jpg")), QByteArray("earlier"));
    EXPECT_FALSE(QFile::exists(f.dir.file(QStringLiteral("index.htm"))));
}

TEST(TocBackground, ImageNamedBackJpgIsNotDeletedAfterItsOwnCopy) {
    TocFixture f;
    f.addCatalogue(QStringLiteral("sub"), QStringLiteral("t"));
    test::TempDir elsewhere;
    elsewhere.write(QStringLiteral("back.jpg"), QByteArray("new"));
    TocOptions options = f.options();
    options.useBackgroundImage = true;
    options.backgroundImageFile = elsewhere.file(QStringLiteral("back.jpg"));
    f.run(options);
    EXPECT_EQ(f.dir.read(QStringLiteral("back.jpg")), QByteArray("new"));
}

TEST(TocBackground, MissingSourceRaisesAnIoErrorBeforeAnyPage) {
    TocFixture f;
    f.addCatalogue(QStringLiteral("sub"), QStringLiteral("t"));
    TocOptions options = f.options();
    options.useBackgroundImage = true;
    options.backgroundImageFile = f.dir.file(QStringLiteral("nowhere/x.jpg"));
    EXPECT_THROW(f.run(options), IoError);
    EXPECT_FALSE(QFile::exists(f.dir.file(QStringLiteral("index.htm"))));
}

namespace {

struct FakeShell : Shell {
    QStringList calls;
    void openDocument(const QString& path) override { calls << "open " + path; }
    void startProgram(const QString& program, const QString& parameter,
                      const QString& folder) override {
        calls << "start " + program + " " + parameter + " " + folder;
    }
};

}  // namespace

TEST(TocOpenPage, ShellOpenOrTheConfiguredBrowser) {
    CatalogSettings settings;
    FakeShell shell;
    TocGenerator::openPage(settings, shell, QStringLiteral("/p/index.htm"));
    settings.browserPath = QStringLiteral("/usr/bin/browser");
    TocGenerator::openPage(settings, shell, QStringLiteral("/p/index.htm"));
    EXPECT_EQ(shell.calls,
              (QStringList{"open /p/index.htm", "start /usr/bin/browser /p/index.htm /p"}));
    EXPECT_TRUE(TocGenerator::finishedQuestion(QStringLiteral("/p/index.htm"))
                    .endsWith(QStringLiteral("\n/p/index.htm\nブラウザを起動しますか？")));
}
