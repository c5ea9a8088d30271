#include <gtest/gtest.h>

#include <QDir>
#include <QFileInfo>
#include <cerrno>

#include "core/text/charfuncs.h"
#include "core/text/errors.h"
#include "core/text/filecopy.h"
#include "core/text/folderlisting.h"
#include "core/text/formatting.h"
#include "core/text/sjis.h"
#include "core/text/textfile.h"
#include "core/text/writeproblem.h"
#include "support/tempdir.h"

using namespace tessaly;

TEST(Sjis, EncodesJapaneseAndRoundTrips) {
    const QString text = QStringLiteral("　写真 ｶﾀﾛｸﾞ ABC");
    const QByteArray bytes = sjis::encode(text, sjis::Unmappable::Refuse);
    EXPECT_TRUE(bytes.startsWith("\x81\x40"));  // ideographic space
    EXPECT_EQ(sjis::decode(bytes), text);
}

TEST(Sjis, UnmappableCharacterIsCharacterReferenceInPagesAndRefusedInPlainText) {
    const QString text = QStringLiteral("a😀b€");
    EXPECT_EQ(sjis::encode(text, sjis::Unmappable::CharacterRef), QByteArray("a&#128512;b&#8364;"));
    try {
        sjis::encode(text, sjis::Unmappable::Refuse);
        FAIL() << "expected an EncodingError";
    } catch (const EncodingError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("U+1F600"))) << e.what();
    }
    EXPECT_FALSE(sjis::canEncode(text));
    EXPECT_TRUE(sjis::canEncode(QStringLiteral("日本語")));
}

TEST(Sjis, InvalidBytesDecodeToReplacementCharacters) {
    EXPECT_EQ(sjis::decode(QByteArray("a\x81")), QStringLiteral("a\uFFFD"));
    EXPECT_EQ(sjis::decode(QByteArray("\xFF"
                                      "b")),
              QStringLiteral("\uFFFDb"));
}

TEST(TextFile, WritesCrLfAndReadsBothLineEnds) {
    test::TempDir dir;
    {
        TextFileWriter w(dir.file("a.txt"), sjis::Unmappable::Refuse);
        w.writeLine(QStringLiteral("一"));
        w.writeLine(QString());
        w.close();
    }
    EXPECT_EQ(dir.read("a.txt"), QByteArray("\x88\xea\r\n\r\n"));
    dir.write("b.txt", "x\r\ny\nz");
    TextFileReader r(dir.file("b.txt"));
    EXPECT_EQ(r.readLine(), "x");
    EXPECT_EQ(r.readLine(), "y");
    EXPECT_EQ(r.readLine(), "z");
    EXPECT_TRUE(r.atEnd());
    EXPECT_EQ(r.readLine(), QString());
    EXPECT_THROW(TextFileReader(dir.file("missing.txt")), IoError);
}

TEST(TextFile, AtomicWriterKeepsOldFileWhenWritingFails) {
    test::TempDir dir;
    dir.write("s.ini", "old\r\n");
    {
        TextFileWriter w(dir.file("s.ini"), sjis::Unmappable::Refuse,
                         TextFileWriter::Replace::Atomic);
        w.writeLine("new");
        EXPECT_THROW(w.writeLine(QStringLiteral("😀")), EncodingError);
    }
    EXPECT_EQ(dir.read("s.ini"), QByteArray("old\r\n"));
}

TEST(CharFunctions, CountCharactersNotBytesWithEdgeRules) {
    const QString t = QStringLiteral("日本abc");
    EXPECT_EQ(charLength(t), 5);
    EXPECT_EQ(charLeft(t, 2), QStringLiteral("日本"));
    EXPECT_EQ(charLeft(t, 9), t);
    EXPECT_EQ(charLeft(t, 0), QString());
    EXPECT_EQ(charRight(t, 4), QStringLiteral("本abc"));
    EXPECT_EQ(charRight(t, -1), QString());
    EXPECT_EQ(charMid(t, 2, 2), QStringLiteral("本a"));
    EXPECT_EQ(charMid(t, 4, 10), QStringLiteral("bc"));
    EXPECT_EQ(charMid(t, 99, 3), QStringLiteral("c"));  // start past the end: last character
    EXPECT_EQ(charMid(t, 0, 3), QString());
    EXPECT_EQ(charMid(t, 1, 0), QString());
}

TEST(Formatting, ColourCodesCountersRoundingAndFolders) {
    EXPECT_EQ(htmlColorCode(8421504), "808080");
    EXPECT_EQ(htmlColorCode(255), "FF0000");
    EXPECT_EQ(htmlColorCode(16711680), "0000FF");
    EXPECT_EQ(htmlColorCode(0), "000000");
    EXPECT_EQ(htmlColorCode(16777215), "FFFFFF");
    EXPECT_EQ(counterText(7), "007");
    EXPECT_EQ(counterText(1234), "1234");
    EXPECT_EQ(counterText(20000), "20000");
    EXPECT_EQ(pageCountText(7), "007");
    EXPECT_EQ(pageCountText(1234), "234");
    EXPECT_EQ(roundHalfEven(82.5L), 82);
    EXPECT_EQ(roundHalfEven(83.5L), 84);
    EXPECT_EQ(roundHalfEven(99.9L), 100);
    EXPECT_EQ(folderPath("/"), "/");
    EXPECT_EQ(folderPath("/photos"), "/photos/");
    // The credit links only to a home page the build was given; without one it is the name.
    EXPECT_EQ(creditLink("Tessaly", "a", ""), "Tessaly");
    EXPECT_EQ(creditLink("「Tessaly」", "A", "https://home.test/"),
              "<A href=\"https://home.test/\">「Tessaly」</A>");
    EXPECT_EQ(creditLink("Tessaly"), creditLink("Tessaly", "A", kHomePageUrl));
    EXPECT_FALSE(QString(kHomePageUrl).contains(".example"));
}

// The system's reasons reach the user in Japanese; the run's names for what stands in the
// way come from the file system itself.
TEST(WriteProblem, SystemReasonsAndWhatStandsInTheWay) {
    const struct {
        int error;
        const char* reason;
    } reasons[] = {
        {EACCES, "書き込み権限がありません"},      {ENOSPC, "ディスクに空きがありません"},
        {EROFS, "読み取り専用のディスクです"},     {EDQUOT, "ディスクの使用量の上限に達しています"},
        {EFBIG, "ファイルが大きすぎます"},         {ENAMETOOLONG, "名前が長すぎます"},
        {EIO, "ディスクの読み書きに失敗しました"}, {EPROTO, "原因不明のエラーです"},
    };
    for (const auto& row : reasons) EXPECT_EQ(systemReason(row.error), row.reason) << row.error;

    test::TempDir dir;
    dir.write("file", "x");
    QDir(dir.path()).mkdir("folder");
    EXPECT_EQ(fileWriteProblem(dir.file("folder"), "p.htm", 0),
              "p.htm はフォルダのため書き込めません");
    EXPECT_EQ(fileWriteProblem(dir.file("new"), "new", ENOSPC),
              "new に書き込めません：ディスクに空きがありません");
    EXPECT_EQ(fileWriteProblem(dir.file("new"), "new", 0), "new に書き込めません");
    EXPECT_EQ(fileWriteProblem(dir.file("file/x"), "file/x", 0),
              "file はフォルダではないため、中に書き込めません");
    EXPECT_EQ(fileWriteProblem(dir.file("gone/x"), "gone/x", 0), "gone フォルダがありません");
    EXPECT_EQ(folderWriteProblem(dir.file("file"), "file", EEXIST),
              "file はフォルダではないため使えません");
}

TEST(FileCopy, CopiesReplacesAndReportsBothFailures) {
    test::TempDir dir;
    QDir().mkdir(dir.file("sub"));
    dir.write("Sky.JPG", QByteArray(20000, 'x'));
    dir.write("sub/Sky.JPG", "old");
    EXPECT_EQ(copyFileToFolder(dir.file("Sky.JPG"), dir.file("sub")), dir.file("sub/Sky.JPG"));
    EXPECT_EQ(dir.read("sub/Sky.JPG"), QByteArray(20000, 'x'));
    try {
        copyFileToFolder(dir.file("none.jpg"), dir.file("sub"));
        FAIL();
    } catch (const IoError& e) {
        EXPECT_EQ(e.message(), QStringLiteral("ﾌｧｲﾙ %1 は開けません").arg(dir.file("none.jpg")));
    }
    EXPECT_THROW(copyFileToFolder(dir.file("Sky.JPG"), dir.file("nofolder")), IoError);
    // Copying a file onto itself leaves it whole.
    EXPECT_NO_THROW(copyFileToFolder(dir.file("sub/Sky.JPG"), dir.file("sub")));
    EXPECT_EQ(dir.read("sub/Sky.JPG").size(), 20000);
}

// The window's lists, tessaly-batch and the contents generator all list through these, so
// they work through a folder in the same order, also for names that differ only in case.
TEST(FolderListing, VisibleEntriesInOneOrderIgnoringCase) {
    test::TempDir dir;
    QDir root(dir.path());
    for (const char* name : {"beta", "Alpha", "alpha2", "Gamma", ".hidden", "sub.jpg"})
        root.mkdir(name);
    for (const char* name : {"b.jpg", "B.JPG", "a.Jpg", "A.jpg", ".c.jpg", "readme", "d.jpeg"})
        dir.write(QString::fromUtf8(name), "x");
    EXPECT_EQ(listSubFolders(dir.path()),
              (QStringList{"Alpha", "alpha2", "beta", "Gamma", "sub.jpg"}));
    EXPECT_EQ(listFiles(dir.path(), "*.jpg"), (QStringList{"A.jpg", "a.Jpg", "B.JPG", "b.jpg"}));
    EXPECT_EQ(listFiles(dir.path(), "*.*").size(), 6);
    EXPECT_EQ(listFiles(dir.path(), "*.jpeg; *.JPG").size(), 5);
    EXPECT_TRUE(listSubFolders(dir.file("missing")).isEmpty());
    EXPECT_TRUE(listFiles(dir.file("missing"), "*").isEmpty());
}
