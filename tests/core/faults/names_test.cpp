// Names this platform allows that code page 932 and the old file systems did not: spaces,
// quotes, "#", "%", "?", line breaks, Japanese text and characters Shift-JIS cannot hold.
// Pages carry them (as "&#N;" where needed) with working links; plain-text files refuse the
// ones they cannot store, with a message naming the character.
#include <gtest/gtest.h>

#include <QDir>
#include <QHash>
#include <QRegularExpression>
#include <QUrl>

#include "core/catalog/catalogrun_fixture.h"
#include "core/comments/commenttable.h"
#include "core/settings/catalogsettings.h"
#include "core/text/sjis.h"
#include "core/toc/tocentry.h"
#include "core/toc/tocgenerator.h"
#include "support/faultsupport.h"

namespace tessaly::test {
namespace {

// The first name goes into the page's head, where a line break would split its lines and
// "-->" would end the comment that carries it.
const QStringList kOddNames = {
    QStringLiteral("line\nbreak--><img src=q onerror=x>.jpg"),
    QStringLiteral("a&copy.jpg"),
    QStringLiteral("a b.jpg"),
    QStringLiteral("quote\"d.jpg"),
    QStringLiteral("it's.jpg"),
    QStringLiteral("#1.jpg"),
    QStringLiteral("100%.jpg"),
    QStringLiteral("why?.jpg"),
    QStringLiteral("夏の海.jpg"),
    QStringLiteral("😀.jpg"),
    QStringLiteral("é.jpg"),
    QStringLiteral("a&amp;b.jpg"),
    QStringLiteral("tab\there.jpg"),
    QStringLiteral("back\\slash.jpg"),
    QStringLiteral("<b>.jpg"),
    // Stored by Shift-JIS but read back as other characters (a tilde, a backslash), and tag
    // characters, which a conversion would drop.
    QStringLiteral("波〜線 ¥100 −1.jpg"),
    QStringLiteral("flag 🏴\U000E0067\U000E0062\U000E007F.jpg"),
    // Names that would read as an address of another scheme (a script run by a click), and
    // spaces at either end, which a browser strips from an address.
    QStringLiteral("javascript:alert(1).jpg"),
    QStringLiteral("data:x.jpg"),
    QStringLiteral("c:x.jpg"),
    QStringLiteral("12:30.jpg"),
    QStringLiteral(" lead.jpg"),
    QStringLiteral("trail.jpg "),
};

// What a browser makes of an attribute value: character references first (in one pass),
// then the percent-encoding of the address.
QString htmlText(const QString& text) {
    static const QRegularExpression reference(QStringLiteral("&(?:#([0-9]+)|(quot|lt|gt|amp));"));
    static const QHash<QString, QString> named = {
        {"quot", "\""}, {"lt", "<"}, {"gt", ">"}, {"amp", "&"}};
    QString out;
    qsizetype from = 0;
    for (auto it = reference.globalMatch(text); it.hasNext();) {
        const QRegularExpressionMatch match = it.next();
        out += text.mid(from, match.capturedStart() - from);
        if (match.captured(1).isEmpty()) {
            out += named.value(match.captured(2));
        } else {
            const char32_t code = match.captured(1).toUInt();
            out += QString::fromUcs4(&code, 1);
        }
        from = match.capturedEnd();
    }
    return out + text.mid(from);
}

// The file an address leads to from the page's folder, as a browser finds it: C0 controls and
// spaces at either end stripped, tabs and line breaks dropped, the rest resolved against the
// folder. An address that leaves the folder, or reads as another scheme, gives that scheme.
QString resolved(QString address) {
    while (!address.isEmpty() && address.front().unicode() <= 0x20) address.remove(0, 1);
    while (!address.isEmpty() && address.back().unicode() <= 0x20) address.chop(1);
    address.remove(QRegularExpression(QStringLiteral("[\t\n\r]")));
    const QUrl folder(QStringLiteral("file:///page/"));
    const QUrl url = folder.resolved(QUrl(address));
    const QString path = url.path(QUrl::FullyDecoded);
    if (url.scheme() != folder.scheme() || !path.startsWith(folder.path()))
        return url.scheme() + QStringLiteral(":");
    return path.mid(folder.path().size());
}

QString address(const QString& attribute) { return resolved(htmlText(attribute)); }

QString attribute(const QString& line, const QString& name) {
    const QRegularExpression pattern(name + QStringLiteral("=\"([^\"]*)\""),
                                     QRegularExpression::CaseInsensitiveOption);
    return pattern.match(line).captured(1);
}

class OddNameRunTest : public CatalogRunTest {
protected:
    void SetUp() override {
        CatalogRunTest::SetUp();
        settings.makeSlideShow = QStringLiteral("on");
        settings.thumbPrefix = QStringLiteral("t #");
        input.title = QStringLiteral("夏\n😀 \"旅\"");
        for (const QString& name : kOddNames) addImage(name);
    }
};

TEST_F(OddNameRunTest, CatalogueLinksEveryPhotographAndKeepsItsHeadLines) {
    ASSERT_EQ(run(), CatalogRunOutcome::Completed) << host.log.join('\n').toStdString();
    const QStringList cellLines = cells();
    ASSERT_EQ(cellLines.size(), kOddNames.size());
    for (int i = 0; i < kOddNames.size(); ++i) {
        const QString& name = kOddNames[i];
        EXPECT_TRUE(QFileInfo::exists(thumb("t #" + name))) << name.toStdString();
        EXPECT_TRUE(cellLines[i].endsWith("</TD>")) << cellLines[i].toStdString();
        EXPECT_EQ(address(attribute(cellLines[i], "href")), name);
        EXPECT_EQ(address(attribute(cellLines[i], "src")), "htm_image/t #" + name);
        EXPECT_EQ(htmlText(attribute(cellLines[i], "ALT")), name.chopped(4));
    }
    const QStringList lines = page();
    // Names never become markup: no tag of theirs, no early end of the head's comment.
    EXPECT_FALSE(lines.join('\n').contains("<img")) << lines.join('\n').toStdString();
    EXPECT_FALSE(slides().join('\n').contains("<img"));
    EXPECT_EQ(lines[2].count("--"), 2) << lines[2].toStdString();
    EXPECT_TRUE(lines[3].startsWith("<!-- ") && lines[3].endsWith("2026.1.5 -->"))
        << lines[3].toStdString();
    EXPECT_TRUE(lines[6].startsWith("<TITLE>") && lines[6].endsWith("</TITLE>"));
    // The contents generator reads the head back by position.
    const std::optional<TocEntry> read = readTocEntry(dir.file("index.htm"), QStringLiteral("夏"));
    ASSERT_TRUE(read.has_value());
    const TocEntry& entry = *read;
    EXPECT_EQ(entry.date, QStringLiteral("2026.1.5").rightJustified(10));
    EXPECT_EQ(entry.thumbnailName, "t #" + kOddNames.first());
    EXPECT_EQ(htmlText(entry.title), input.title);
    EXPECT_EQ(entry.imageCount, QString::number(kOddNames.size()).rightJustified(3, '0'));

    // A title that is the folder's own name is text; a typed one stays markup.
    input.title = QStringLiteral("x<img src=q onerror=x>&copy");
    input.titleIsName = true;
    ASSERT_EQ(run(), CatalogRunOutcome::Completed);
    EXPECT_EQ(page()[6], "<TITLE>x&lt;img src=q onerror=x&gt;&amp;copy</TITLE>");
    EXPECT_EQ(slides()[6], "<TITLE>x&lt;img src=q onerror=x&gt;&amp;copy Slide Show</TITLE>");
}

TEST_F(OddNameRunTest, PopupScriptOpensEveryPhotograph) {
    settings.openInNewWindow = settings.useScriptPopup = QStringLiteral("on");
    ASSERT_EQ(run(), CatalogRunOutcome::Completed);
    const QStringList cellLines = cells();
    ASSERT_EQ(cellLines.size(), kOddNames.size());
    static const QRegularExpression call(QStringLiteral("^disp\\('((?:[^'\\\\]|\\\\.)*)',"));
    for (int i = 0; i < kOddNames.size(); ++i) {
        // The attribute is read as HTML first, then as a script string, then as an address.
        const QRegularExpressionMatch match =
            call.match(htmlText(attribute(cellLines[i], "onclick")));
        ASSERT_TRUE(match.hasMatch()) << cellLines[i].toStdString();
        QString argument = match.captured(1);
        argument.replace(QStringLiteral("\\'"), QStringLiteral("'"));
        EXPECT_EQ(resolved(argument), kOddNames[i]);
    }
}

TEST_F(OddNameRunTest, SlideShowHasOneWholeLinePerPhotograph) {
    ASSERT_EQ(run(), CatalogRunOutcome::Completed);
    QStringList entries;
    for (const QString& line : slides()) {
        if (line.startsWith("imag[")) entries << line;
    }
    ASSERT_EQ(entries.size(), kOddNames.size());
    for (int i = 0; i < entries.size(); ++i) {
        const QString& line = entries[i];
        for (const QChar c : line) EXPECT_GE(c.unicode(), 0x20) << line.toStdString();
        // The script writes the string as markup into the slide's IMG SRC.
        EXPECT_EQ(address(line.section('"', 1, 1)), kOddNames[i]) << line.toStdString();
    }
}

TEST_F(OddNameRunTest, ModernPageLinksEveryPhotographAndItsThumbnails) {
    settings.pageStyle = QStringLiteral("modern");
    ASSERT_EQ(run(), CatalogRunOutcome::Completed) << host.log.join('\n').toStdString();
    QStringList cellLines;
    for (const QString& line : QString::fromUtf8(dir.read("index.htm")).split("\r\n")) {
        if (line.startsWith("<li><a class=\"photo\"")) cellLines << line;
    }
    ASSERT_EQ(cellLines.size(), kOddNames.size());
    for (int i = 0; i < kOddNames.size(); ++i) {
        const QString& name = kOddNames[i];
        EXPECT_EQ(address(attribute(cellLines[i], "href")), name);
        EXPECT_EQ(address(attribute(cellLines[i], "src")), "htm_image/t #" + name);
        const QString srcset = attribute(cellLines[i], "srcset");
        ASSERT_TRUE(srcset.endsWith(" 2x")) << srcset.toStdString();
        EXPECT_EQ(address(srcset.chopped(3)), "htm_image/2x/t #" + name);
        EXPECT_TRUE(QFileInfo::exists(dir.file("htm_image/2x/t #" + name))) << name.toStdString();
    }
}

TEST_F(OddNameRunTest, TableOfContentsLinksTheOddlyNamedCatalogues) {
    // Two catalogues in sub-folders with odd names, the first photograph of one beyond
    // Shift-JIS; the contents page measures and links their first thumbnails.
    const QString parent = dir.path();
    const QStringList folders = {QStringLiteral("data:x"), QStringLiteral("it's \"😀\""),
                                 QStringLiteral("javascript:alert(2)"),
                                 QStringLiteral("x<img src=q onerror=x>&copy"),
                                 QStringLiteral("旅 #1 100%?")};
    for (const QString& folder : folders) {
        ASSERT_TRUE(QDir(parent).mkdir(folder));
        input.folder = parent + "/" + folder;
        input.names = {QStringLiteral("😀.jpg"), QStringLiteral("b #2.jpg")};
        input.selected = {true, true};
        for (const QString& name : input.names) writeTestJpeg(input.folder + "/" + name, 90, 60);
        ASSERT_EQ(run(), CatalogRunOutcome::Completed);
    }
    for (const bool frames : {false, true}) {
        TocOptions options;
        options.folder = parent;
        options.title = QStringLiteral("目次\n😀");
        options.showImages = true;
        options.useFrames = frames;
        const QString pagePath = TocGenerator(settings).run(options);
        const QString listPage = frames ? parent + "/title.htm" : pagePath;
        QStringList imageLines;
        for (const QString& line : sjisLines(readFile(listPage))) {
            if (line.contains("<IMG src=")) imageLines << line;
        }
        ASSERT_EQ(imageLines.size(), folders.size()) << frames;
        // A contents page is itself read back by position by the contents of its parent.
        const QStringList head = readLeadingLines(pagePath, 7);
        EXPECT_TRUE(head[6].startsWith("<TITLE>") && head[6].endsWith("</TITLE>"))
            << head[6].toStdString();
        for (int i = 0; i < folders.size(); ++i) {
            const QString& line = imageLines[i];
            EXPECT_EQ(address(attribute(line, "href")), folders[i] + "/index.htm");
            EXPECT_EQ(address(attribute(line, "src")), folders[i] + "/htm_image/t #😀.jpg");
            EXPECT_FALSE(attribute(line, "height").isEmpty()) << line.toStdString();
        }
        if (!frames) continue;
        QStringList frameLines;
        for (const QString& line : sjisLines(readFile(pagePath))) {
            if (line.startsWith("<FRAME src=")) frameLines << line;
        }
        ASSERT_EQ(frameLines.size(), 2);
        EXPECT_EQ(address(attribute(frameLines[1], "src")), folders[0] + "/index.htm");
    }
    // The modern contents page links them alike.
    CatalogSettings modern = settings;
    modern.pageStyle = QStringLiteral("modern");
    TocOptions options;
    options.folder = parent;
    options.title = QStringLiteral("目次");
    QStringList cellLines;
    const QString modernPage = TocGenerator(modern).run(options);
    for (const QString& line : QString::fromUtf8(readFile(modernPage)).split("\r\n")) {
        if (line.startsWith("<li><a href=")) cellLines << line;
    }
    ASSERT_EQ(cellLines.size(), folders.size());
    for (int i = 0; i < folders.size(); ++i) {
        EXPECT_EQ(address(attribute(cellLines[i], "href")), folders[i] + "/index.htm");
        EXPECT_EQ(address(attribute(cellLines[i], "src")), folders[i] + "/htm_image/t #😀.jpg");
    }
    // The list names each sub-folder as text.
    TocOptions list;
    list.folder = parent;
    list.title = QStringLiteral("目次");
    const QStringList lines = sjisLines(readFile(TocGenerator(settings).run(list)));
    EXPECT_FALSE(lines.join('\n').contains("<img"));
    EXPECT_TRUE(lines.contains("<TD align=\"center\">x&lt;img src=q onerror=x&gt;&amp;copy</TD>"));
}

TEST(OddNameCommentFile, StoresWhatShiftJisHoldsAndRefusesTheRestByName) {
    TempDir dir;
    const QStringList storable = {
        QStringLiteral("a b.jpg"),       QStringLiteral("quote\"d.jpg"),
        QStringLiteral("#1 100%?.jpg"),  QStringLiteral("夏の海①.jpg"),
        QStringLiteral("tab\there.jpg"), QStringLiteral("波〜線 ¥100.jpg")};
    CommentTable table;
    for (const QString& name : storable) table.set(name, name + " 説明", "＃２");
    table.save(dir.path(), storable);
    const QByteArray saved = dir.read("PicComment.txt");
    CommentTable loaded;
    loaded.load(dir.path());
    // A name read back with other characters (the wave dash) still finds its comments; the
    // comment text itself reads as Shift-JIS stores it.
    for (const QString& name : storable) {
        EXPECT_EQ(loaded.lookUp(name).first, sjis::roundTripped(name + " 説明"));
    }

    // Photographs whose names the file cannot hold do not keep the others' comments from
    // being saved while they have no comments themselves...
    const QStringList unstorable = {QStringLiteral("😀.jpg"), QStringLiteral("é.jpg"),
                                    QStringLiteral("line\nbreak.jpg")};
    table.save(dir.path(), storable + unstorable);
    EXPECT_EQ(dir.read("PicComment.txt"), saved);
    // ...but a comment that cannot be stored is refused with the character named.
    const struct {
        QString name;
        QString comment;
        QString named;  // what the message must show
    } refused[] = {
        {QStringLiteral("😀.jpg"), QStringLiteral("笑顔"), QStringLiteral("U+1F600")},
        {QStringLiteral("é.jpg"), QStringLiteral("説明"), QStringLiteral("U+00E9")},
        {QStringLiteral("a.jpg"), QStringLiteral("café"), QStringLiteral("U+00E9")},
        {QStringLiteral("line\nbreak.jpg"), QStringLiteral("説明"), QStringLiteral("改行")},
    };
    for (const auto& bad : refused) {
        CommentTable more = loaded;
        more.set(bad.name, bad.comment, QString());
        const QString message =
            errorOf([&] { more.save(dir.path(), storable + QStringList{bad.name}); });
        EXPECT_TRUE(message.contains(bad.named)) << message.toStdString();
        EXPECT_EQ(dir.read("PicComment.txt"), saved);
    }
}

TEST(OddNameText, PagesReferAndPlainTextRefuses) {
    EXPECT_EQ(sjis::encode(QStringLiteral("😀é夏"), sjis::Unmappable::CharacterRef),
              QByteArray("&#128512;&#233;") + sjisBytes(QStringLiteral("夏")));
    const QString message =
        errorOf([] { sjis::encode(QStringLiteral("a😀"), sjis::Unmappable::Refuse); });
    EXPECT_TRUE(message.contains("😀") && message.contains("U+1F600")) << message.toStdString();
    // Tag characters would vanish in the conversion: they are references or refused, too.
    EXPECT_EQ(sjis::encode(QStringLiteral("a\U000E0067b"), sjis::Unmappable::CharacterRef),
              QByteArray("a&#917607;b"));
    EXPECT_TRUE(errorOf([] {
                    sjis::encode(QStringLiteral("a\U000E0067"), sjis::Unmappable::Refuse);
                }).contains("U+E0067"));
    EXPECT_EQ(sjis::roundTripped(QStringLiteral("〜¥a")), QStringLiteral("～\\a"));
}

}  // namespace
}  // namespace tessaly::test

namespace tessaly::test {
namespace {

TEST(OddNameSettings, PathsThatWouldReadBackAsOtherNamesAreRefused) {
    TempDir dir;
    CatalogSettings settings;
    settings.appFolder = dir.path();
    settings.backgroundFile = QStringLiteral("/写真/背景 #1 ①.jpg");
    saveSettings(settings);
    EXPECT_EQ(loadSettings(dir.path()).backgroundFile, settings.backgroundFile);
    const QByteArray saved = dir.read("Quorvel.ini");
    settings.headerText = QStringLiteral("夏〜秋");  // running text may change its tilde
    for (const QString& path :
         {QStringLiteral("/写真/夏〜秋.jpg"), QStringLiteral("/写真/😀.jpg")}) {
        settings.backgroundFile = path;
        const QString message = errorOf([&] { saveSettings(settings); });
        EXPECT_TRUE(message.contains(path.contains("〜") ? "U+301C" : "U+1F600"))
            << message.toStdString();
        EXPECT_EQ(dir.read("Quorvel.ini"), saved);
    }
    settings.backgroundFile = QStringLiteral("/写真/夏.jpg");
    saveSettings(settings);
    EXPECT_EQ(loadSettings(dir.path()).headerText, QStringLiteral("夏～秋"));
}

}  // namespace
}  // namespace tessaly::test
