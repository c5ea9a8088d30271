#include "core/comments/commenttable.h"

#include <gtest/gtest.h>
#include <unistd.h>

#include <QDir>
#include <QFile>

#include "core/text/errors.h"
#include "support/otheruser.h"
#include "support/tempdir.h"

using namespace tessaly;

namespace {

const QByteArray kSep = "*****************************\r\n";

// A comment file of the given Shift-JIS lines, each ended by CR LF.
QByteArray fileOf(const QStringList& lines) {
    QByteArray bytes;
    for (const QString& line : lines) bytes += test::sjisBytes(line) + "\r\n";
    return bytes;
}

CommentTable loaded(const test::TempDir& dir) {
    CommentTable table;
    table.load(dir.path());
    return table;
}

}  // namespace

TEST(CommentTable, FilePathJoinsFolderAndNameWithoutDoubledSeparator) {
    EXPECT_EQ(CommentTable::filePath(QStringLiteral("/photos/trip")),
              QStringLiteral("/photos/trip/PicComment.txt"));
    EXPECT_EQ(CommentTable::filePath(QStringLiteral("/photos/trip/")),
              QStringLiteral("/photos/trip/PicComment.txt"));
    EXPECT_EQ(CommentTable::filePath(QStringLiteral("/")), QStringLiteral("/PicComment.txt"));
}

TEST(CommentTable, MissingFileGivesEmptyTable) {
    test::TempDir dir;
    CommentTable table;
    table.set(QStringLiteral("old.jpg"), QStringLiteral("x"), QStringLiteral("y"));
    table.load(dir.path());
    EXPECT_EQ(table.size(), 0);
    EXPECT_TRUE(table.lookUp(QStringLiteral("old.jpg")).first.isEmpty());
}

TEST(CommentTable, NamesMatchIgnoringCaseAndTheLastRecordWins) {
    test::TempDir dir;
    dir.write(QStringLiteral("PicComment.txt"),
              fileOf({QStringLiteral("*****************************"), QStringLiteral("IMG_01.JPG"),
                      QStringLiteral("海辺で"), QStringLiteral("夕方"),
                      QStringLiteral("*****************************"), QStringLiteral("b.jpg"),
                      QStringLiteral("first"), QStringLiteral(""),
                      QStringLiteral("*****************************"), QStringLiteral("B.JPG"),
                      QStringLiteral("second"), QStringLiteral("later")}));
    const CommentTable table = loaded(dir);
    EXPECT_EQ(table.size(), 3);
    EXPECT_EQ(table.lookUp(QStringLiteral("img_01.jpg")).first, QStringLiteral("海辺で"));
    EXPECT_EQ(table.lookUp(QStringLiteral("img_01.jpg")).second, QStringLiteral("夕方"));
    EXPECT_EQ(table.lookUp(QStringLiteral("b.jpg")).first, QStringLiteral("second"));
    EXPECT_EQ(table.lookUp(QStringLiteral("b.jpg")).second, QStringLiteral("later"));
    EXPECT_TRUE(table.lookUp(QStringLiteral("c.jpg")).first.isEmpty());
    EXPECT_TRUE(table.lookUp(QStringLiteral("c.jpg")).second.isEmpty());
}

TEST(CommentTable, RecordsAreFoundByPositionWhateverTheSeparatorsHold) {
    test::TempDir dir;
    dir.write(QStringLiteral("PicComment.txt"),
              fileOf({QStringLiteral("not a separator"), QStringLiteral("a.jpg"),
                      QStringLiteral("one"), QStringLiteral("two"), QStringLiteral(""),
                      QStringLiteral("b.jpg"), QStringLiteral("three"), QStringLiteral("four")}));
    const CommentTable table = loaded(dir);
    EXPECT_EQ(table.lookUp(QStringLiteral("a.jpg")).second, QStringLiteral("two"));
    EXPECT_EQ(table.lookUp(QStringLiteral("b.jpg")).first, QStringLiteral("three"));
}

TEST(CommentTable, EmptyNameLineEndsTheReading) {
    test::TempDir dir;
    dir.write(QStringLiteral("PicComment.txt"), kSep + "a.jpg\r\none\r\ntwo\r\n" + kSep +
                                                    "\r\nx\r\ny\r\n" + kSep +
                                                    "c.jpg\r\nthree\r\nfour\r\n");
    const CommentTable table = loaded(dir);
    EXPECT_EQ(table.size(), 1);
    EXPECT_TRUE(table.lookUp(QStringLiteral("c.jpg")).first.isEmpty());
}

TEST(CommentTable, FileEndingInsideARecordGivesEmptyLines) {
    test::TempDir dir;
    dir.write(QStringLiteral("PicComment.txt"), kSep + "a.jpg\r\nonly one");
    CommentTable table = loaded(dir);
    EXPECT_EQ(table.size(), 1);
    EXPECT_EQ(table.lookUp(QStringLiteral("a.jpg")).first, QStringLiteral("only one"));
    dir.write(QStringLiteral("PicComment.txt"), kSep + "a.jpg");
    table = loaded(dir);
    EXPECT_EQ(table.size(), 1);
    EXPECT_TRUE(table.lookUp(QStringLiteral("a.jpg")).first.isEmpty());
}

TEST(CommentTable, SaveWritesOneRecordPerListedFileAndDropsTheRest) {
    test::TempDir dir;
    CommentTable table;
    table.set(QStringLiteral("gone.jpg"), QStringLiteral("old"), QStringLiteral("old"));
    table.set(QStringLiteral("B.jpg"), QStringLiteral("  spaced  "), QStringLiteral(" 写真 "));
    table.save(dir.path(), {QStringLiteral("a.jpg"), QStringLiteral("b.JPG")});
    EXPECT_EQ(dir.read(QStringLiteral("PicComment.txt")),
              kSep + "a.jpg\r\n\r\n\r\n" + kSep + "b.JPG\r\n  spaced  \r\n" +
                  test::sjisBytes(QStringLiteral(" 写真 ")) + "\r\n");
    const CommentTable back = loaded(dir);
    EXPECT_EQ(back.size(), 2);
    EXPECT_EQ(back.lookUp(QStringLiteral("b.jpg")).first, QStringLiteral("  spaced  "));
    EXPECT_EQ(back.lookUp(QStringLiteral("b.jpg")).second, QStringLiteral(" 写真 "));
    EXPECT_TRUE(back.lookUp(QStringLiteral("gone.jpg")).first.isEmpty());
}

TEST(CommentTable, SetReplacesTheMatchingEntry) {
    CommentTable table;
    table.set(QStringLiteral("A.jpg"), QStringLiteral("1"), QStringLiteral("2"));
    table.set(QStringLiteral("a.JPG"), QStringLiteral("3"), QStringLiteral("4"));
    EXPECT_EQ(table.size(), 1);
    EXPECT_EQ(table.lookUp(QStringLiteral("a.jpg")).first, QStringLiteral("3"));
}

TEST(CommentTable, SetOnDuplicatesChangesTheEntryThatLookUpGives) {
    test::TempDir dir;
    dir.write(QStringLiteral("PicComment.txt"),
              kSep + "a.jpg\r\nfirst\r\n\r\n" + kSep + "A.JPG\r\nlast\r\n\r\n");
    CommentTable table = loaded(dir);
    table.set(QStringLiteral("a.jpg"), QStringLiteral("edited"), QString());
    EXPECT_EQ(table.lookUp(QStringLiteral("A.jpg")).first, QStringLiteral("edited"));
}

TEST(CommentTable, EmptyListWritesAZeroByteFile) {
    test::TempDir dir;
    dir.write(QStringLiteral("PicComment.txt"), kSep + "a.jpg\r\nx\r\ny\r\n");
    CommentTable table = loaded(dir);
    table.save(dir.path(), {});
    EXPECT_TRUE(QFile::exists(dir.file(QStringLiteral("PicComment.txt"))));
    EXPECT_EQ(dir.read(QStringLiteral("PicComment.txt")).size(), 0);
    EXPECT_EQ(loaded(dir).size(), 0);
}

TEST(CommentTable, MoreThanTenThousandRecordsAreAllKept) {
    test::TempDir dir;
    CommentTable table;
    QStringList names;
    for (int i = 0; i < 10050; ++i) {
        names << QStringLiteral("img%1.jpg").arg(i);
        table.set(names.last(), QString::number(i), QString());
    }
    table.save(dir.path(), names);
    const CommentTable back = loaded(dir);
    EXPECT_EQ(back.size(), 10050);
    EXPECT_EQ(back.lookUp(QStringLiteral("IMG10049.JPG")).first, QStringLiteral("10049"));
}

TEST(CommentTable, UnencodableCommentIsRefusedAndTheOldFileKept) {
    test::TempDir dir;
    const QByteArray old = kSep + "a.jpg\r\nold\r\n\r\n";
    dir.write(QStringLiteral("PicComment.txt"), old);
    CommentTable table = loaded(dir);
    table.set(QStringLiteral("a.jpg"), QStringLiteral("new"), QString());
    table.set(QStringLiteral("b.jpg"), QStringLiteral("smile 😀"), QString());
    try {
        table.save(dir.path(), {QStringLiteral("a.jpg"), QStringLiteral("b.jpg")});
        FAIL() << "expected an EncodingError";
    } catch (const EncodingError& e) {
        EXPECT_TRUE(e.message().contains(QStringLiteral("b.jpg"))) << e.what();
        EXPECT_TRUE(e.message().contains(QStringLiteral("U+1F600"))) << e.what();
    }
    EXPECT_EQ(dir.read(QStringLiteral("PicComment.txt")), old);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files).size(), 1);  // no temporary left over
}

TEST(CommentTable, LineBreaksCannotBreakTheRecordLayout) {
    test::TempDir dir;
    CommentTable table;
    table.set(QStringLiteral("a.jpg"), QStringLiteral("one\ntwo"), QStringLiteral("x\r\ny"));
    table.set(QStringLiteral("b.jpg"), QStringLiteral("b1"), QStringLiteral("b2"));
    table.save(dir.path(), {QStringLiteral("a.jpg"), QString(), QStringLiteral("b.jpg")});
    const CommentTable back = loaded(dir);
    EXPECT_EQ(back.size(), 2);
    EXPECT_EQ(back.lookUp(QStringLiteral("a.jpg")).first, QStringLiteral("one two"));
    EXPECT_EQ(back.lookUp(QStringLiteral("a.jpg")).second, QStringLiteral("x  y"));
    EXPECT_EQ(back.lookUp(QStringLiteral("b.jpg")).second, QStringLiteral("b2"));
    table.set(QStringLiteral("bad\nname.jpg"), QStringLiteral("c"), QString());
    EXPECT_THROW(table.save(dir.path(), {QStringLiteral("bad\nname.jpg")}), EncodingError);
}

TEST(CommentTable, SaveIntoAMissingFolderReportsAnIoError) {
    test::TempDir dir;
    CommentTable table;
    EXPECT_THROW(table.save(dir.file(QStringLiteral("no/such")), {QStringLiteral("a.jpg")}),
                 IoError);
}

TEST(CommentTable, FailedSaveIntoReadOnlyFolderKeepsTheOldFile) {
    test::TempDir dir;
    const QByteArray old = kSep + "a.jpg\r\nold\r\n\r\n";
    dir.write(QStringLiteral("PicComment.txt"), old);
    test::openUp(dir.path());
    test::makeReadOnly(dir.path());
    CommentTable table;
    table.set(QStringLiteral("a.jpg"), QStringLiteral("new"), QString());
    {
        test::AsOtherUser user;  // permissions bind the superuser only through another user
        ASSERT_TRUE(user.active());
        EXPECT_THROW(table.save(dir.path(), {QStringLiteral("a.jpg")}), IoError);
    }
    QFile::setPermissions(dir.path(), QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    EXPECT_EQ(dir.read(QStringLiteral("PicComment.txt")), old);
}

TEST(CommentTable, UnreadableFileRaisesAnIoError) {
    test::TempDir dir;
    QDir(dir.path()).mkdir(QStringLiteral("PicComment.txt"));  // exists but is no readable file
    CommentTable table;
    EXPECT_THROW(table.load(dir.path()), IoError);
}
