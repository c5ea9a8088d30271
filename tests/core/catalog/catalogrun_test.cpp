#include <gtest/gtest.h>

#include <QDateTime>
#include <QLocale>

#include "catalogrun_fixture.h"
#include "core/text/formatting.h"
#include "support/testformats.h"
#include "support/testheif.h"

namespace tessaly::test {
namespace {

// The events name the image, its number and count, the page's date, how the thumbnail was
// made and how the run ended: first the start, last the end.
TEST_F(CatalogRunTest, OneImageRunReportsTheImageItsThumbnailAndTheEnd) {
    addImage("a.jpg", 660, 450);
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    EXPECT_EQ(host.log.first(), "started:1");
    EXPECT_EQ(host.matching("page:"), QStringList({"page:2026-01-05"}));
    EXPECT_EQ(host.matching("image:"), QStringList({"image:1/1 a.jpg"}));
    EXPECT_EQ(host.matching("read:"), QStringList({"read:1 a.jpg"}));
    EXPECT_EQ(host.matching("made:"), QStringList({"made:1 plain"}));
    EXPECT_EQ(host.previews, std::vector<QSize>({QSize(110, 75)}));
    EXPECT_TRUE(host.log.contains("pages finished"));
    EXPECT_FALSE(host.log.contains("failed"));
    EXPECT_EQ(host.log.last(), "ended:completed");
    EXPECT_EQ(jpegSize(thumb("a.jpg")), QSize(110, 75));
    ASSERT_EQ(cells().size(), 1);
    EXPECT_TRUE(cells()[0].contains(R"(height="75" width="110")"));
    EXPECT_EQ(page().last(), "</HTML>");
    EXPECT_FALSE(QFileInfo::exists(dir.file("SShow.htm")));
    EXPECT_TRUE(shell.calls.isEmpty());
}

TEST_F(CatalogRunTest, WholePageOfACommentedRunWithSlideShow) {
    addImage("a.jpg", 660, 450);
    addImage("b.jpg", 55, 75);
    addImage("c.jpg", 330, 220);
    const QString sep(29, QLatin1Char('*'));
    QByteArray comments;
    for (const QString& line : QStringList{sep, "a.jpg", "朝", "", sep, "C.JPG", "夜", "二"}) {
        comments += sjisBytes(line) + "\r\n";
    }
    dir.write("PicComment.txt", comments);
    settings.makeSlideShow = QStringLiteral("on");
    input.perRow = 2;
    host.comments = true;
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    const QString cell =
        R"(  <TD align="center" valign="middle"><A href="%1.jpg"><IMG src="htm_image/%1.jpg" )"
        R"(ALT="%1" height="%2" width="110"></A></TD>)";
    const QString note = R"(  <TD align="center" valign="middle" width="110">%1</TD>)";
    const QStringList expected{
        R"(<!DOCTYPE HTML PUBLIC "-//W3C//DTD HTML 3.2 Final//EN">)",
        "<!-- Tessaly Version 1.60 -->",
        "<!-- FILE=003 a.jpg -->",
        "<!--   2026.1.5 -->",
        "<HTML>",
        R"(<HEAD><META HTTP-EQUIV="Content-Type" CONTENT="text/html; charset=Shift_JIS">)",
        "<TITLE>旅の写真</TITLE>",
        "</HEAD>",
        "",
        "",
        "",
        "",
        "",
        R"(<BODY bgcolor="#808080">)",
        "<CENTER>",
        R"(<TABLE border="1"><TR><TD align="center" bgcolor="#FFFFFF">)",
        R"(<FONT size="7" color="#000000" face="ＭＳ Ｐ明朝">　旅の写真　</FONT>)",
        "</TD></TR></TABLE>",
        "</CENTER>",
        R"(<P align="right">)",
        "[2026年1月5日作成]",
        "</P>",
        "<CENTER>",
        "<BR>",
        R"(<TABLE border="1">)",
        "<TR>",
        cell.arg("a").arg(75),
        cell.arg("b").arg(150),
        "</TR>",
        "<TR>",
        note.arg("朝"),
        note.arg(""),
        "</TR>",
        "<TR>",
        cell.arg("c").arg(73),
        "  <TD></TD>",
        "</TR>",
        "<TR>",
        note.arg("夜<BR>二"),
        "",
        "</TR>",
        "</TABLE>",
        R"(<FORM action="SShow.htm"><input type=SUBMIT value=" スライドショウ "></FORM></CENTER>)",
        R"(<P align="right">)",
        QStringLiteral("Created by ") + creditLink(QStringLiteral("「Tessaly」")),
        "",
        "</P>",
        "</BODY>",
        "</HTML>"};
    EXPECT_EQ(page(), expected);
    const QStringList show = slides();
    ASSERT_EQ(show.size(), 16 + 9 + 104);
    EXPECT_EQ(show.mid(16, 9),
              QStringList({R"(imag[1]="a.jpg";)", R"(imagx[1]="660";)", R"(imagy[1]="450";)",
                           R"(imag[2]="b.jpg";)", R"(imagx[2]="55";)", R"(imagy[2]="75";)",
                           R"(imag[3]="c.jpg";)", R"(imagx[3]="330";)", R"(imagy[3]="220";)"}));
    EXPECT_EQ(show[25 + 54], "  if (i>3) {");
    EXPECT_TRUE(show[25 + 89].startsWith(R"(    w=window.open("","s_sub","width=680,height=470,)"));
    EXPECT_EQ(jpegSize(thumb("c.jpg")), QSize(110, 73));
}

TEST_F(CatalogRunTest, OnlyBackJpgSelectedEndsWithNothingSelected) {
    addImage("back.jpg");
    addImage("Back.jpg", 66, 45, false);
    EXPECT_EQ(run(), CatalogRunOutcome::NothingSelected);
    EXPECT_TRUE(host.log.contains("deselected:0"));
    EXPECT_TRUE(host.log.contains("started:0"));
    EXPECT_TRUE(host.log.contains("info:ファイルが選択されていません。"));
    EXPECT_EQ(host.log.last(), "ended:nothing selected");
    EXPECT_FALSE(input.selected[0]);
    EXPECT_FALSE(QFileInfo::exists(dir.file("htm_image")));

    host.log.clear();
    input.selected = {true, true};  // Back.jpg is an ordinary image
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    ASSERT_EQ(cells().size(), 1);
    EXPECT_TRUE(cells()[0].contains(R"(<A href="Back.jpg")"));
    EXPECT_FALSE(QFileInfo::exists(thumb("back.jpg")));
}

TEST_F(CatalogRunTest, SparseSelectionVisitsUpToTheLastAndCountsSelectedOnly) {
    for (int i = 0; i < 20; ++i) {
        addImage(QStringLiteral("img%1.jpg").arg(i, 2, 10, QLatin1Char('0')), 30, 20,
                 i == 2 || i == 5 || i == 9);
    }
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    EXPECT_EQ(host.matching("image:"),
              QStringList({"image:1/3 img02.jpg", "image:2/3 img05.jpg", "image:3/3 img09.jpg"}));
    EXPECT_EQ(host.log.count("events"), 10);
    EXPECT_EQ(page()[2], "<!-- FILE=003 img02.jpg -->");
    EXPECT_EQ(cells().size(), 3);
    EXPECT_TRUE(QFileInfo::exists(thumb("img09.jpg")));
    EXPECT_FALSE(QFileInfo::exists(thumb("img03.jpg")));
}

TEST_F(CatalogRunTest, SmallImagesAreEnlargedAndLargeOnesFitTheBox) {
    addImage("small.jpg", 55, 75);
    addImage("large.jpg", 3300, 2200);
    settings.thumbFilter = QStringLiteral("on");
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    ASSERT_EQ(cells().size(), 2);
    EXPECT_TRUE(cells()[0].contains(R"(height="150" width="110")"));
    EXPECT_TRUE(cells()[1].contains(R"(height="73" width="110")"));
    EXPECT_EQ(jpegSize(thumb("small.jpg")), QSize(110, 150));
    EXPECT_EQ(host.matching("made:"), QStringList({"made:1 plain", "made:2 filter"}));
    ASSERT_EQ(host.previews.size(), 2u);
    EXPECT_EQ(host.previews[0], QSize(110, 150));
}

TEST_F(CatalogRunTest, SkipExistingThumbsLeavesTheFileAndStillWritesTheCell) {
    addImage("a.jpg", 660, 450);
    QDir(dir.path()).mkdir("htm_image");
    writeFile(thumb("a.jpg"), "old thumbnail");
    settings.skipExistingThumbs = QStringLiteral("on");
    settings.makeSlideShow = QStringLiteral("on");
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    EXPECT_EQ(readFile(thumb("a.jpg")), QByteArray("old thumbnail"));
    EXPECT_EQ(host.matching("skipped:"), QStringList({"skipped:1 a.jpg"}));
    EXPECT_TRUE(host.matching("made:").isEmpty());
    ASSERT_EQ(cells().size(), 1);
    EXPECT_TRUE(cells()[0].contains(R"(height="75" width="110")"));
    EXPECT_TRUE(slides().contains(R"(    w=window.open("","s_sub","width=680,height=470,)"
                                  R"(toolbar=no,menubar=no,location=no,status=no,)"
                                  R"(scrollbars=no,resizable=yes");)"));
}

// A progressive photograph whose header reads well but whose second scan the decoder
// refuses (its spectral end lies past the block): a decode fails, a header read does not.
QByteArray undecodableAfterItsHeader(int width, int height, int orientation) {
    JpegLayout layout;
    layout.progressive = true;
    layout.orientation = orientation;
    QByteArray jpeg = makePhotoJpeg(width, height, layout);
    const int second = jpeg.indexOf("\xFF\xDA", jpeg.indexOf("\xFF\xDA") + 2);
    const int components = jpeg[second + 4];
    jpeg[second + 5 + 2 * components + 1] = char(80);  // Se
    return jpeg;
}

void setModified(const QString& path, const QDateTime& when) {
    QFile file(path);
    ASSERT_TRUE(file.open(QIODevice::ReadWrite));
    ASSERT_TRUE(file.setFileTime(when, QFileDevice::FileModificationTime));
}

// With skipExistingThumbs on, a thumbnail not older than its photograph is kept and the
// photograph is measured from its header alone (EXIF orientation included): the pages are
// those of a decoding run, even for photographs that would no longer decode. A thumbnail
// older than its photograph is made again.
TEST_F(CatalogRunTest, ReRunMeasuresFromHeadersAndRemakesStaleThumbnails) {
    settings.makeSlideShow = QStringLiteral("on");
    const QDateTime before = QDateTime::currentDateTime().addSecs(-3600);
    const std::pair<const char*, int> photos[] = {{"a.jpg", 1}, {"t.jpg", 6}};
    for (const auto& [name, orientation] : photos) {
        JpegLayout layout;
        layout.orientation = orientation;
        dir.write(name, makePhotoJpeg(660, 450, layout));
        setModified(dir.file(name), before);
        input.names << name;
        input.selected.push_back(true);
    }
    ASSERT_EQ(run(), CatalogRunOutcome::Completed);  // decodes both
    const QByteArray page = dir.read("index.htm"), slides = dir.read("SShow.htm");
    const QByteArray thumbA = readFile(thumb("a.jpg")), thumbT = readFile(thumb("t.jpg"));
    EXPECT_TRUE(cells()[1].contains(R"(height="150" width="102")"));  // turned upright
    for (const auto& [name, orientation] : photos) {
        dir.write(name, undecodableAfterItsHeader(660, 450, orientation));
        setModified(dir.file(name), before);
    }
    settings.skipExistingThumbs = QStringLiteral("on");
    for (int jobs : {1, 2}) {
        input.jobs = jobs;
        host.log.clear();
        ASSERT_EQ(run(), CatalogRunOutcome::Completed)
            << host.matching("error:").join('|').toStdString();
        EXPECT_EQ(host.matching("skipped:"), QStringList({"skipped:1 a.jpg", "skipped:2 t.jpg"}));
        EXPECT_EQ(dir.read("index.htm"), page);
        EXPECT_EQ(dir.read("SShow.htm"), slides);
        EXPECT_EQ(readFile(thumb("a.jpg")), thumbA);
        EXPECT_EQ(readFile(thumb("t.jpg")), thumbT);
    }
    // The photograph changed after its thumbnail was made: made again, and this one fails.
    setModified(dir.file("t.jpg"), QDateTime::currentDateTime().addSecs(60));
    host.log.clear();
    EXPECT_EQ(run(), CatalogRunOutcome::Failed);
    ASSERT_EQ(host.matching("error:").size(), 1);
    EXPECT_TRUE(host.matching("error:")[0].startsWith("error:t.jpg: "));
    // A good photograph newer than its thumbnail replaces it.
    dir.write("t.jpg", makePhotoJpeg(90, 60, JpegLayout()));
    writeFile(thumb("a.jpg"), "old thumbnail");
    setModified(thumb("a.jpg"), before.addSecs(-60));
    host.log.clear();
    dir.write("a.jpg", makePhotoJpeg(660, 450, JpegLayout()));
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    EXPECT_EQ(jpegSize(thumb("a.jpg")), QSize(110, 75));
    EXPECT_EQ(jpegSize(thumb("t.jpg")), QSize(110, 73));
}

TEST_F(CatalogRunTest, CancelDuringTheThirdImageFinishesItAndEndsBothPages) {
    for (int i = 0; i < 10; ++i) addImage(QStringLiteral("p%1.jpg").arg(i));
    settings.makeSlideShow = QStringLiteral("on");
    settings.noBrowserLaunch = QStringLiteral("off");
    CatalogRun catalogRun(settings, host, shell);
    host.onLog = [&](const QString& line) {
        if (line == "image:3/10 p2.jpg") input.stop.requestStop();
        if (line.startsWith("ended:")) {
            EXPECT_TRUE(catalogRun.isActive());
        }
    };
    EXPECT_EQ(catalogRun.execute(input), CatalogRunOutcome::Cancelled);
    EXPECT_FALSE(catalogRun.isActive());
    const int stopped = host.log.indexOf("info:処理は中断されました。");
    ASSERT_GT(stopped, 0);
    EXPECT_EQ(host.log.mid(stopped - 2, 2), QStringList({"made:3 plain", "events"}));
    EXPECT_EQ(host.matching("made:").size(), 3);
    EXPECT_TRUE(host.matching("question:").isEmpty());
    EXPECT_TRUE(shell.calls.isEmpty());
    EXPECT_EQ(cells().size(), 3);
    EXPECT_EQ(page().last(), "</HTML>");
    EXPECT_TRUE(page().contains("var imag=new makearray(10);") == false);
    EXPECT_TRUE(slides().contains("var imag=new makearray(10);"));
    EXPECT_TRUE(slides().contains(R"(imag[3]="p2.jpg";)"));
    EXPECT_FALSE(slides().contains(R"(imag[4]="p3.jpg";)"));
    EXPECT_TRUE(slides().contains("  if (i>3) {"));
    EXPECT_EQ(slides().last(), "</HTML>");
    EXPECT_FALSE(QFileInfo::exists(thumb("p3.jpg")));
    EXPECT_EQ(host.log.mid(host.log.size() - 2),
              QStringList({"pages finished", "ended:cancelled"}));

    // Stopped again, now over those pages, the photographs changed meanwhile: the pages stay
    // byte for byte with the thumbnails they show, and the message says so.
    const QByteArray earlierPage = dir.read("index.htm");
    const QByteArray earlierSlides = dir.read("SShow.htm");
    QList<QByteArray> earlierThumbnails;
    for (int i = 0; i < 3; ++i) {
        earlierThumbnails << dir.read(QStringLiteral("htm_image/p%1.jpg").arg(i));
        writeTestJpeg(dir.file(QStringLiteral("p%1.jpg").arg(i)), 40, 90);
    }
    host.log.clear();
    input.stop = StopToken();  // stopped at the third image again
    input.title = QStringLiteral("別の題");
    EXPECT_EQ(catalogRun.execute(input), CatalogRunOutcome::Cancelled);
    EXPECT_TRUE(host.log.contains(
        QStringLiteral("info:処理は中断されました。\n"
                       "前回のページ（index.htm、SShow.htm）は元のまま残しています。")))
        << host.log.join('\n').toStdString();
    EXPECT_EQ(dir.read("index.htm"), earlierPage);
    EXPECT_EQ(dir.read("SShow.htm"), earlierSlides);
    for (int i = 0; i < 3; ++i)
        EXPECT_EQ(dir.read(QStringLiteral("htm_image/p%1.jpg").arg(i)), earlierThumbnails[i]) << i;
    EXPECT_EQ(QDir(dir.path()).entryList({".tessaly-*"}, QDir::Files | QDir::Hidden),
              QStringList());
    EXPECT_EQ(QDir(dir.file("htm_image")).entryList({".work-*"}, QDir::Dirs | QDir::Hidden),
              QStringList());
}

// The JPEG copy a HEIC photograph is linked through waits with the thumbnails: a run stopped
// over earlier pages leaves the copy those pages link as it was.
TEST_F(CatalogRunTest, AStoppedRunKeepsTheCopiesTheEarlierPagesLink) {
    for (const char* name : {"c.heic", "d.heic"}) {
        writeFile(dir.file(name), makeTestHeic(64, 48, HeicOptions()));
        input.names << name;
        input.selected.push_back(true);
    }
    input.allFormats = true;
    ASSERT_EQ(run(), CatalogRunOutcome::Completed);
    const QByteArray earlierCopy = dir.read("htm_image/c.heic.view.jpg");
    ASSERT_FALSE(earlierCopy.isEmpty());
    writeFile(dir.file("c.heic"), makeTestHeic(32, 24, HeicOptions()));
    host.onLog = [&](const QString& line) {
        if (line.startsWith("image:1/2")) input.stop.requestStop();
    };
    EXPECT_EQ(run(), CatalogRunOutcome::Cancelled) << host.log.join('\n').toStdString();
    EXPECT_EQ(dir.read("htm_image/c.heic.view.jpg"), earlierCopy);
    EXPECT_EQ(QDir(dir.file("htm_image")).entryList({".work-*"}, QDir::Dirs | QDir::Hidden),
              QStringList());
}

// A stop made before the run begins (a signal as the program starts) is not lost: the run
// stops at once, with or without workers, over the earlier pages.
TEST_F(CatalogRunTest, AStopBeforeTheRunBeginsHolds) {
    for (int i = 0; i < 4; ++i) addImage(QStringLiteral("s%1.jpg").arg(i));
    writeEarlierPages();
    for (const int jobs : {1, 3}) {
        input.jobs = jobs;
        input.stop = StopToken();
        input.stop.requestStop();
        CatalogRun catalogRun(settings, host, shell);
        EXPECT_EQ(catalogRun.execute(input), CatalogRunOutcome::Cancelled) << jobs;
        EXPECT_TRUE(host.matching("made:").isEmpty());
        expectEarlierPages();
    }
}

void writeCommentFile(const TempDir& dir, const QStringList& records) {
    QByteArray bytes;
    for (const QString& line : records) bytes += sjisBytes(line) + "\r\n";
    dir.write("PicComment.txt", bytes);
}

TEST_F(CatalogRunTest, CommentRowsFollowTheCheckBoxAsSampledAfterEachImage) {
    for (const char* name : {"a.jpg", "b.jpg", "c.jpg", "d.jpg"}) addImage(name);
    const QString sep(29, QLatin1Char('*'));
    writeCommentFile(
        dir, {sep, "A.JPG", "朝", "", sep, "b.jpg", "昼", "二行目", sep, "d.jpg", "夜", ""});
    input.perRow = 2;
    host.onLog = [&](const QString& line) {
        if (line == "image:2/4 b.jpg") host.comments = true;
    };
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    const QStringList lines = page();
    EXPECT_TRUE(lines.contains(R"(  <TD align="center" valign="middle" width="110">朝</TD>)"));
    EXPECT_TRUE(
        lines.contains(R"(  <TD align="center" valign="middle" width="110">昼<BR>二行目</TD>)"));
    EXPECT_TRUE(lines.contains(R"(  <TD align="center" valign="middle" width="110">夜</TD>)"));

    // Box never ticked: looked up, but no comment row.
    host.log.clear();
    host.onLog = nullptr;
    host.comments = false;
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    for (const QString& line : page()) EXPECT_FALSE(line.contains(">朝<")) << line.toStdString();
}

TEST_F(CatalogRunTest, TickedBoxWithoutCommentFileAsksAndWritesNothing) {
    addImage("a.jpg");
    host.comments = true;
    host.answer = true;
    EXPECT_EQ(run(), CatalogRunOutcome::CommentFileMissing);
    EXPECT_TRUE(host.log.contains(
        "question:コメントファイルが見つかりません。\nコメント作成ウインドウを開きますか？"));
    EXPECT_EQ(host.log.mid(host.log.size() - 2),
              QStringList({"editor", "ended:comment file missing"}));
    EXPECT_FALSE(QFileInfo::exists(dir.file("htm_image")));
    EXPECT_FALSE(QFileInfo::exists(dir.file("index.htm")));
}

TEST_F(CatalogRunTest, BrowserStepOpensThePageOrStartsTheBrowser) {
    addImage("a.jpg");
    settings.noBrowserLaunch = QStringLiteral("off");
    host.answer = false;
    EXPECT_EQ(run(), CatalogRunOutcome::Completed);
    // The question names the page it would open, on its second line.
    EXPECT_TRUE(host.log.contains("question:　　　　ファイル作成終了　　　　\n" + dir.path() +
                                  "/index.htm\nブラウザを起動しますか？"));
    EXPECT_TRUE(shell.calls.isEmpty());
    EXPECT_EQ(host.log.last(), "ended:completed");

    host.answer = true;
    run();
    EXPECT_EQ(shell.calls, QStringList({"open " + dir.path() + "/index.htm"}));

    shell.calls.clear();
    settings.browserPath = QStringLiteral("/opt/web browser/run");
    run();
    EXPECT_EQ(shell.calls, QStringList({"start /opt/web browser/run|" + dir.path() + "/index.htm|" +
                                        dir.path() + "/"}));
    // A run that publishes offers the published page.
    const TempDir site;
    settings.publishFolder = site.path();
    settings.browserPath.clear();
    shell.calls.clear();
    run();
    EXPECT_EQ(shell.calls, QStringList({"open " + site.path() + "/index.htm"}));
    EXPECT_TRUE(host.log.contains("question:　　　　ファイル作成終了　　　　\n" + site.path() +
                                  "/index.htm\nブラウザを起動しますか？"));
}

// The closing question counts the photographs linked with a GPS position; web copies, which
// leave the positions out, end the count.
TEST_F(CatalogRunTest, ClosingQuestionCountsPhotographsWithPositions) {
    JpegLayout layout;
    layout.segments = privateCameraSegments(66, 45, 1);
    for (const char* name : {"a.jpg", "b.jpg"}) {
        writeFile(dir.file(name), makePhotoJpeg(66, 45, layout));
        input.names << name;
        input.selected.push_back(true);
    }
    addImage("c.jpg");
    // A PNG with a position is linked itself; a HEIC one through its copy without it.
    PngOptions png;
    png.exif = layout.segments[0].second.mid(6);
    writeFile(dir.file("d.png"), makeTestPng(30, 20, png));
    HeicOptions heic;
    heic.exif = layout.segments[0].second;
    writeFile(dir.file("e.heic"), makeTestHeic(30, 20, heic));
    // A WebP whose position is only in its XMP packet counts too.
    WebpOptions webp;
    webp.xmp =
        "<x:xmpmeta xmlns:x=\"adobe:ns:meta/\"><rdf:RDF "
        "xmlns:rdf=\"http://www.w3.org/1999/02/22-rdf-syntax-ns#\"><rdf:Description "
        "xmlns:exif=\"http://ns.adobe.com/exif/1.0/\" exif:GPSLongitude=\"139,45.3E\"/>"
        "</rdf:RDF></x:xmpmeta>";
    writeFile(dir.file("f.webp"), makeTestWebp(30, 20, webp));
    input.names << "d.png"
                << "e.heic"
                << "f.webp";
    input.selected.insert(input.selected.end(), 3, true);
    input.allFormats = true;
    settings.noBrowserLaunch = QStringLiteral("off");
    run();
    const QString line =
        "位置情報を含む画像が 4 枚リンクされています（公開用コピーを作ると取り除かれます）";
    const QString page =
        "question:　　　　ファイル作成終了　　　　\n" + dir.path() + "/index.htm\n";
    const QString asked = page + "ブラウザを起動しますか？";
    // The warning stands before the question, on its own line.
    EXPECT_TRUE(host.log.contains(page + line + "\nブラウザを起動しますか？"))
        << host.log.join('|').toStdString();
    host.log.clear();
    settings.setOn(&CatalogSettings::webCopies, true);
    run();
    EXPECT_TRUE(host.log.contains(asked)) << host.log.join('|').toStdString();
}

}  // namespace
}  // namespace tessaly::test
