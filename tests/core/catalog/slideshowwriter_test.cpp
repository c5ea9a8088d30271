#include "core/pages/classic/slideshowwriter.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QStringList>

#include "core/pages/catalogentry.h"
#include "core/settings/catalogsettings.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "support/tempdir.h"

using namespace tessaly;

namespace {

// The closing part of every slide show page; @...@ marks the values a run puts in.
const char* const kTail = R"TAIL(
function Veltra(ver) {
  if ((navigator.appName == "Netscape") &&
        (ver <= parseInt(navigator.appVersion.substring(0, 1))))@SP@
     {
     return false;}
   else {
     return true;}
}

function disp(n) {
//ウインドウを20ポイント大きくする
  imgx=eval(imagx[n])+20;
  imgy=eval(imagy[n])+20;

//ウインドウの表示
  s_win=window.open("","s_sub","width="+imgx+",height="+imgy+",toolbar=no,menubar=no,location=no,status=no,scrollbars=no,resizable=yes");
  if (s_win == null) {
    s_blocked(n);
    return;
  }

//Netscape4以降
  if (Veltra(4)) {}
   else{
    s_win.focus();//最前面に表示
    s_win.window.moveTo(0,0);//画面の左上部に表示
  }

//ドキュメント表示
  s_win.document.open();
  s_win.document.write("<HTML><HEAD><TITLE>Slide Show " + imag[n] + " </TITLE></HEAD>");
  s_win.document.write("<IMG SRC=\"./"+imag[n]+"\" ALT=\""+imag[n]+"\" WIDTH="+imagx[n]+" HEIGHT="+imagy[n]+">");
  s_win.document.write("<BR>");
  s_win.document.write("</BODY>");
  s_win.document.write("</HTML>");
  s_win.document.close();
}

function s_blocked(n) {
  var b=document.getElementById("s_start");
  s_next=n;
  setTimeout("Pwait()",0);
  b.style.display="";
  b.focus();
}

function s_restart() {
  document.getElementById("s_start").style.display="none";
  i=s_next;
  s_main();
}

function s_main(){
  if (i>@COUNT@) {
    if (s_win != null) s_win.close();
    history.back();
  }
 else {
  disp(i);
//カウント設定
  i++
  timerID=setTimeout("s_main()",TimerSet1);
  }
}

function Pwait() {
  clearTimeout(timerID);
  }

function Pstart(){
  timerID=setTimeout("s_main()",TimerSet1);
  }

</SCRIPT>
</HEAD>
<BODY bgcolor="#@COLOUR@">

<CENTER>
スライドショウを開始します。
<BR>
<FORM>
<INPUT TYPE="button" ID="s_start" VALUE="スライドショーを開始" onClick="s_restart()" STYLE="display:none">
<INPUT TYPE="button" VALUE="一時停止" onClick="Pwait()">
<INPUT TYPE="button" VALUE="表示再開" onClick="Pstart()">
</FORM>
</CENTER>
<SCRIPT Language="JavaScript">
  if (Veltra(4)) {
    w=window.open("","s_sub","width=@WIDTH@,height=@HEIGHT@,toolbar=no,menubar=no,location=no,status=no,scrollbars=no,resizable=yes");
    i=1;}
   else {
    disp(1);
    i=2;
    }

  Pstart();

</SCRIPT>
<P align="right">
Created by @CREDIT@
</P>
</BODY>
</HTML>)TAIL";

QStringList expectedTail(int count, const QString& colour, int width, int height) {
    QString text = QString::fromUtf8(kTail);
    text.replace("@CREDIT@", creditLink(QStringLiteral("Tessaly")));
    text.replace("@COUNT@", QString::number(count))
        .replace("@COLOUR@", colour)
        .replace("@WIDTH@", QString::number(width))
        .replace("@HEIGHT@", QString::number(height))
        .replace("@SP@", " ");
    return text.split('\n');
}

QStringList expectedHead(const QString& title, int count, const QString& interval) {
    const QString n = QString::number(count);
    return {
        "<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">",
        "<!-- Tessaly Version 1.60 -->",
        "<!--  -->",
        "<!--  -->",
        "<HTML>",
        "<HEAD><META HTTP-EQUIV=\"Content-Type\" CONTENT=\"text/html; charset=Shift_JIS\">",
        "<TITLE>" + title + " Slide Show</TITLE>",
        "<SCRIPT LANGUAGE=\"JavaScript\">",
        "function makearray(n){this.length=n;}",
        "var imag=new makearray(" + n + ");",
        "var imagx=new makearray(" + n + ");",
        "var imagy=new makearray(" + n + ");",
        "var s_win;",
        "var TimerSet1=" + interval + "000;",
        "i=1",
        "",
    };
}

CatalogEntry slide(const QString& name, int width, int height) {
    CatalogEntry e;
    e.fileName = name;
    e.link = name;
    e.imageWidth = width;
    e.imageHeight = height;
    e.slideWidth = width;
    e.slideHeight = height;
    return e;
}

QStringList imageLines(int n, const QString& quotedName, int width, int height) {
    const QString i = QString::number(n);
    return {"imag[" + i + "]=\"" + quotedName + "\";",
            "imagx[" + i + "]=\"" + QString::number(width) + "\";",
            "imagy[" + i + "]=\"" + QString::number(height) + "\";"};
}

QPair<int, int> sizeOf(const CatalogSettings& s, int width, int height) {
    int w = 0;
    int h = 0;
    SlideShowWriter::slideSize(s, width, height, w, h);
    return {w, h};
}

}  // namespace

TEST(SlideShow, WholePageOfATwoImageRun) {
    test::TempDir dir;
    CatalogSettings s;
    s.slideInterval = "30";
    SlideShowWriter writer(s);
    writer.writeHead(dir.file("SShow.htm"), "旅行", 2);
    writer.writeImage(1, slide("a.jpg", 640, 480));
    writer.writeImage(2, slide("b c.jpg", 480, 640));
    writer.writeTail(2, 640, 640);
    writer.publish();
    EXPECT_FALSE(writer.isOpen());

    QStringList expected = expectedHead("旅行", 2, "30");
    expected += imageLines(1, "a.jpg", 640, 480);
    expected += imageLines(2, "b c.jpg", 480, 640);  // a space is kept: the tag quotes it
    expected += expectedTail(2, "808080", 660, 660);
    const QByteArray bytes = dir.read("SShow.htm");
    const QStringList lines = test::sjisLines(bytes);
    ASSERT_EQ(lines.size(), 16 + 6 + 104);
    EXPECT_EQ(lines, expected);
    EXPECT_EQ(lines[13], "var TimerSet1=30000;");
    EXPECT_EQ(bytes.count("\r\n"), 126);
    EXPECT_EQ(bytes.count('\n'), 126);
    EXPECT_TRUE(bytes.endsWith("</HTML>\r\n"));
}

TEST(SlideShow, CancelledRunKeepsTheArraySizeAndCountsWrittenImages) {
    test::TempDir dir;
    CatalogSettings s;
    s.backgroundColor = 255;
    SlideShowWriter writer(s);
    writer.writeHead(dir.file("SShow.htm"), "t", 10);
    for (int n = 1; n <= 4; ++n) writer.writeImage(n, slide(QString("p%1.jpg").arg(n), 100, 80));
    writer.writeTail(4, 100, 80);
    writer.publish();
    const QStringList lines = test::sjisLines(dir.read("SShow.htm"));
    ASSERT_EQ(lines.size(), 16 + 12 + 104);
    EXPECT_EQ(lines[9], "var imag=new makearray(10);");
    EXPECT_EQ(lines[11], "var imagy=new makearray(10);");
    EXPECT_EQ(lines.mid(25, 3), imageLines(4, "p4.jpg", 100, 80));
    EXPECT_EQ(lines.mid(28), expectedTail(4, "FF0000", 120, 100));
    EXPECT_EQ(lines[28 + 54], "  if (i>4) {");
}

TEST(SlideShow, SlideSizesFollowTheLimits) {
    CatalogSettings s;
    using P = QPair<int, int>;
    EXPECT_EQ(sizeOf(s, 2000, 1000), P(2000, 1000));  // limits off
    s.slideMaxEnabled = "on";
    EXPECT_EQ(sizeOf(s, 800, 600), P(800, 600));
    EXPECT_EQ(sizeOf(s, 2000, 1000), P(1000, 500));
    EXPECT_EQ(sizeOf(s, 900, 1500), P(450, 750));
    EXPECT_EQ(sizeOf(s, 1000, 750), P(1000, 750));
    EXPECT_EQ(sizeOf(s, 1001, 100), P(1000, 100));
    EXPECT_EQ(sizeOf(s, 4000, 3000), P(1000, 750));  // equal ratios: the height rule
    s.slideMaxWidth = "300";
    s.slideMaxHeight = "300";
    EXPECT_EQ(sizeOf(s, 1000, 750), P(300, 225));
    EXPECT_EQ(sizeOf(s, 330, 600), P(165, 300));  // 330 / 2 = 165
    EXPECT_EQ(sizeOf(s, 601, 350), P(300, 175));  // 350 / 2.00333 = 174.7
    s.slideMaxWidth = "abc";                      // an unusable limit caps nothing
    EXPECT_EQ(sizeOf(s, 5000, 5000), P(5000, 5000));
}

TEST(SlideShow, StartWindowTakesLargestSizesCappedSeparately) {
    test::TempDir dir;
    CatalogSettings s;
    s.slideMaxEnabled = "on";
    SlideShowWriter writer(s);
    writer.writeHead(dir.file("SShow.htm"), "t", 2);
    writer.writeImage(1, slide("w.jpg", 1000, 600));
    writer.writeImage(2, slide("h.jpg", 563, 750));
    writer.writeTail(2, 1600, 1200);
    writer.publish();
    const QStringList lines = test::sjisLines(dir.read("SShow.htm"));
    EXPECT_EQ(lines.mid(22), expectedTail(2, "808080", 1020, 770));

    s.slideMaxEnabled = "off";
    SlideShowWriter open(s);
    open.writeHead(dir.file("SShow.htm"), "t", 0);
    open.writeTail(0, 1600, 1200);
    open.publish();
    EXPECT_EQ(test::sjisLines(dir.read("SShow.htm")).mid(16),
              expectedTail(0, "808080", 1620, 1220));
}

TEST(SlideShow, NamesKeepTheScriptAndTheImageTagWorking) {
    test::TempDir dir;
    CatalogSettings s;
    SlideShowWriter writer(s);
    writer.writeHead(dir.file("SShow.htm"), "<b>&€</b>", 4);
    writer.writeImage(1, slide("夏休み_(1)-A.JPG", 10, 20));
    writer.writeImage(2, slide("a\"b\\c#d?e%f.jpg", 10, 20));
    writer.writeImage(3, slide("a'b&<c> d=`.jpg", 10, 20));
    writer.writeImage(4, slide("R&D&amp;\n.jpg", 10, 20));
    writer.writeTail(4, 10, 20);
    writer.publish();
    const QStringList lines = test::sjisLines(dir.read("SShow.htm"));
    EXPECT_EQ(lines[6], "<TITLE><b>&&#8364;</b> Slide Show</TITLE>");
    EXPECT_EQ(lines[16], "imag[1]=\"夏休み_(1)-A.JPG\";");
    EXPECT_EQ(lines[19], "imag[2]=\"a&#34;b%5Cc%23d%3Fe%25f.jpg\";");
    EXPECT_EQ(lines[22], "imag[3]=\"a'b&#38;&#60;c&#62; d=`.jpg\";");
    EXPECT_EQ(lines[25], "imag[4]=\"R&#38;D&#38;amp;%0A.jpg\";");
}

TEST(SlideShow, FailuresAreReported) {
    test::TempDir dir;
    CatalogSettings s;
    SlideShowWriter writer(s);
    EXPECT_THROW(writer.writeHead(dir.file("none/SShow.htm"), "t", 1), IoError);
    EXPECT_FALSE(writer.isOpen());
    EXPECT_THROW(writer.writeTail(0, 1, 1), IoError);
    writer.writeHead(dir.file("SShow.htm"), "t", 1);
    EXPECT_TRUE(writer.isOpen());
    writer.close();  // the unfinished page goes with its temporary file
    EXPECT_FALSE(writer.isOpen());
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList());
}
