#include "core/pages/classic/slideshowwriter.h"

#include <algorithm>

#include "core/pages/pageaddress.h"
#include "core/pages/pagefile.h"
#include "core/pages/pagetext.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/text/sjis.h"

namespace tessaly {

const char* const kSlideShowFileName = "SShow.htm";

namespace {

// clang-format off
// The script functions, up to the timer.
const char* const kTailScript[] = {
    "",
    "function Veltra(ver) {",
    "  if ((navigator.appName == \"Netscape\") &&",
    "        (ver <= parseInt(navigator.appVersion.substring(0, 1)))) ",
    "     {",
    "     return false;}",
    "   else {",
    "     return true;}",
    "}",
    "",
    "function disp(n) {",
    "//ウインドウを20ポイント大きくする",
    "  imgx=eval(imagx[n])+20;",
    "  imgy=eval(imagy[n])+20;",
    "",
    "//ウインドウの表示",
    "  s_win=window.open(\"\",\"s_sub\",\"width=\"+imgx+\",height=\"+imgy+\","
        "toolbar=no,menubar=no,location=no,status=no,scrollbars=no,resizable=yes\");",
    // A browser that blocks the window gives null: the start button opens it on a click.
    "  if (s_win == null) {",
    "    s_blocked(n);",
    "    return;",
    "  }",
    "",
    "//Netscape4以降",
    "  if (Veltra(4)) {}",
    "   else{",
    "    s_win.focus();//最前面に表示",
    "    s_win.window.moveTo(0,0);//画面の左上部に表示",
    "  }",
    "",
    "//ドキュメント表示",
    "  s_win.document.open();",
    "  s_win.document.write(\"<HTML><HEAD><TITLE>Slide Show \" + imag[n] + \" </TITLE></HEAD>\");",
    // SRC and ALT are quoted so that a name with a space still shows its slide.
    "  s_win.document.write(\"<IMG SRC=\\\"./\"+imag[n]+\"\\\" ALT=\\\"\"+imag[n]+\"\\\" "
        "WIDTH=\"+imagx[n]+\" HEIGHT=\"+imagy[n]+\">\");",
    "  s_win.document.write(\"<BR>\");",
    "  s_win.document.write(\"</BODY>\");",
    "  s_win.document.write(\"</HTML>\");",
    "  s_win.document.close();",
    "}",
    "",
    // Stops the timer set after this slide and offers the start button, from slide n on.
    "function s_blocked(n) {",
    "  var b=document.getElementById(\"s_start\");",
    "  s_next=n;",
    "  setTimeout(\"Pwait()\",0);",
    "  b.style.display=\"\";",
    "  b.focus();",
    "}",
    "",
    "function s_restart() {",
    "  document.getElementById(\"s_start\").style.display=\"none\";",
    "  i=s_next;",
    "  s_main();",
    "}",
    "",
    "function s_main(){",
};

// The timer and the end of the head.
const char* const kTailTimer[] = {
    "    if (s_win != null) s_win.close();",
    "    history.back();",
    "  }",
    " else {",
    "  disp(i);",
    "//カウント設定",
    "  i++",
    "  timerID=setTimeout(\"s_main()\",TimerSet1);",
    "  }",
    "}",
    "",
    "function Pwait() {",
    "  clearTimeout(timerID);",
    "  }",
    "",
    "function Pstart(){",
    "  timerID=setTimeout(\"s_main()\",TimerSet1);",
    "  }",
    "",
    "</SCRIPT>",
    "</HEAD>",
};

// The body up to the opening of the picture window.
const char* const kTailBody[] = {
    "",
    "<CENTER>",
    "スライドショウを開始します。",
    "<BR>",
    "<FORM>",
    "<INPUT TYPE=\"button\" ID=\"s_start\" VALUE=\"スライドショーを開始\" "
        "onClick=\"s_restart()\" STYLE=\"display:none\">",
    "<INPUT TYPE=\"button\" VALUE=\"一時停止\" onClick=\"Pwait()\">",
    "<INPUT TYPE=\"button\" VALUE=\"表示再開\" onClick=\"Pstart()\">",
    "</FORM>",
    "</CENTER>",
    "<SCRIPT Language=\"JavaScript\">",
    "  if (Veltra(4)) {",
};

// The start of the show.
const char* const kTailStart[] = {
    "    i=1;}",
    "   else {",
    "    disp(1);",
    "    i=2;",
    "    }",
    "",
    "  Pstart();",
    "",
    "</SCRIPT>",
    "<P align=\"right\">",
};

// The end of the page.
const char* const kTailEnd[] = {
    "</P>",
    "</BODY>",
    "</HTML>",
};
// clang-format on

template <size_t N>
QStringList linesOf(const char* const (&texts)[N]) {
    QStringList lines;
    for (const char* text : texts) lines << QString::fromUtf8(text);
    return lines;
}

}  // namespace

SlideShowWriter::SlideShowWriter(const CatalogSettings& settings) : settings_(settings) {}

SlideShowWriter::~SlideShowWriter() { close(); }

bool SlideShowWriter::isOpen() const { return file_ != nullptr; }

void SlideShowWriter::close() noexcept { file_.reset(); }

void SlideShowWriter::publish() {
    if (!file_) throw IoError(cannotWriteMessage(path_));
    std::unique_ptr<PageFile> file = std::move(file_);
    file->publish();  // the writer is done even when that fails
}

void SlideShowWriter::writeLine(const QString& line) {
    if (!file_) throw IoError(cannotWriteMessage(path_));
    file_->writeLine(line);
}

void SlideShowWriter::slideSize(const CatalogSettings& settings, int imageWidth, int imageHeight,
                                int& slideWidth, int& slideHeight) {
    slideWidth = imageWidth;
    slideHeight = imageHeight;
    if (!settings.isOn(&CatalogSettings::slideMaxEnabled)) return;
    const int maxWidth = settings.number(&CatalogSettings::slideMaxWidth);
    const int maxHeight = settings.number(&CatalogSettings::slideMaxHeight);
    if (maxWidth <= 0 || maxHeight <= 0) return;  // no usable limit
    if (imageWidth <= maxWidth && imageHeight <= maxHeight) return;
    const long double rx = static_cast<long double>(imageWidth) / maxWidth;
    const long double ry = static_cast<long double>(imageHeight) / maxHeight;
    if (ry >= rx) {
        slideWidth = static_cast<int>(roundHalfEven(imageWidth / ry));
        slideHeight = maxHeight;
    } else {
        slideWidth = maxWidth;
        slideHeight = static_cast<int>(roundHalfEven(imageHeight / rx));
    }
}

void SlideShowWriter::writeHead(const QString& path, const QString& title, int selectedCount) {
    close();
    path_ = path;
    file_ = std::make_unique<PageFile>(path_);
    const QString count = QString::number(selectedCount);
    const QStringList lines = {
        QStringLiteral("<!DOCTYPE HTML PUBLIC \"-//W3C//DTD HTML 3.2 Final//EN\">"),
        QStringLiteral("<!-- Tessaly Version ") + settings_.version + QStringLiteral(" -->"),
        QStringLiteral("<!--  -->"),
        QStringLiteral("<!--  -->"),
        QStringLiteral("<HTML>"),
        QStringLiteral("<HEAD><META HTTP-EQUIV=\"Content-Type\" "
                       "CONTENT=\"text/html; charset=Shift_JIS\">"),
        QStringLiteral("<TITLE>") + title + QStringLiteral(" Slide Show</TITLE>"),
        QStringLiteral("<SCRIPT LANGUAGE=\"JavaScript\">"),
        QStringLiteral("function makearray(n){this.length=n;}"),
        QStringLiteral("var imag=new makearray(") + count + QStringLiteral(");"),
        QStringLiteral("var imagx=new makearray(") + count + QStringLiteral(");"),
        QStringLiteral("var imagy=new makearray(") + count + QStringLiteral(");"),
        QStringLiteral("var s_win;"),
        QStringLiteral("var TimerSet1=") + settings_.slideInterval + QStringLiteral("000;"),
        QStringLiteral("i=1"),
        QString(),
    };
    for (const QString& line : lines) writeLine(line);
}

void SlideShowWriter::writeImage(int n, const CatalogEntry& entry) {
    const QString index = QString::number(n);
    const QString target = pageAddress(entry.link, AddressUse::SlideScript);
    writeLine(QStringLiteral("imag[") + index + QStringLiteral("]=\"") + target +
              QStringLiteral("\";"));
    writeLine(QStringLiteral("imagx[") + index + QStringLiteral("]=\"") +
              QString::number(entry.slideWidth) + QStringLiteral("\";"));
    writeLine(QStringLiteral("imagy[") + index + QStringLiteral("]=\"") +
              QString::number(entry.slideHeight) + QStringLiteral("\";"));
}

void SlideShowWriter::writeTail(int imagesWritten, int largestWidth, int largestHeight) {
    int width = largestWidth;
    int height = largestHeight;
    const int maxWidth = settings_.number(&CatalogSettings::slideMaxWidth);
    const int maxHeight = settings_.number(&CatalogSettings::slideMaxHeight);
    if (settings_.isOn(&CatalogSettings::slideMaxEnabled) && maxWidth > 0 && maxHeight > 0) {
        width = std::min(width, maxWidth);
        height = std::min(height, maxHeight);
    }
    QStringList lines = linesOf(kTailScript);
    lines << QStringLiteral("  if (i>") + QString::number(imagesWritten) + QStringLiteral(") {");
    lines += linesOf(kTailTimer);
    lines << QStringLiteral("<BODY bgcolor=\"#") + htmlColorCode(settings_.backgroundColor) +
                 QStringLiteral("\">");
    lines += linesOf(kTailBody);
    lines << QStringLiteral("    w=window.open(\"\",\"s_sub\",\"width=") +
                 QString::number(width + 20) + QStringLiteral(",height=") +
                 QString::number(height + 20) +
                 QStringLiteral(
                     ",toolbar=no,menubar=no,location=no,status=no,scrollbars=no,"
                     "resizable=yes\");");
    lines += linesOf(kTailStart);
    lines << QStringLiteral("Created by ") + creditLink(QStringLiteral("Tessaly"));
    lines += linesOf(kTailEnd);
    for (const QString& line : lines) writeLine(line);
    file_->close();
}

}  // namespace tessaly
