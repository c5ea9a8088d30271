#include "core/toc/tocentry.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QRandomGenerator>

#include "core/pages/classic/catalogpagewriter.h"
#include "core/pages/modern/modernpagewriter.h"
#include "core/pages/outputlayout.h"
#include "core/text/errors.h"
#include "tocfixture.h"

using namespace tessaly;

TEST(TocEntry, FieldsAreCutByCharacterPositions) {
    test::TempDir dir;
    dir.write(
        QStringLiteral("index.htm"),
        test::catalogueHead(QStringLiteral("日本の<B>旅</B>"), 1234,
                            QStringLiteral("s_写真 01.JPG"), QStringLiteral("2026.1.5"), true));
    const std::optional<TocEntry> entry =
        readTocEntry(dir.file(QStringLiteral("index.htm")), QStringLiteral("旅"));
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->folderName, QStringLiteral("旅"));
    EXPECT_EQ(entry->title, QStringLiteral("日本の<B>旅</B>"));
    EXPECT_EQ(entry->imageCount, QStringLiteral("234"));
    EXPECT_EQ(entry->date, QStringLiteral("  2026.1.5"));
    EXPECT_EQ(entry->thumbnailName, QStringLiteral("s_写真 01.JPG"));
}

TEST(TocEntry, MarkerMustBeginTheSecondLine) {
    EXPECT_TRUE(hasCatalogMarker(QStringLiteral("<!-- Tessaly Version 1.60 -->")));
    EXPECT_TRUE(hasCatalogMarker(QStringLiteral("<!-- Tessaly")));
    EXPECT_FALSE(hasCatalogMarker(QStringLiteral(" <!-- Tessaly Version 1.60 -->")));
    EXPECT_FALSE(hasCatalogMarker(QStringLiteral("<!-- tessaly Version")));
    EXPECT_FALSE(hasCatalogMarker(QString()));
    test::TempDir dir;
    dir.write(QStringLiteral("a.htm"), "<html>\r\n<!-- Tessaly Version 1.60 -->\r\n");
    dir.write(QStringLiteral("b.htm"), "<!-- Tessaly Version 1.60 -->\r\n<html>\r\n");
    dir.write(QStringLiteral("lf.htm"), "x\n<!-- Tessaly\n");
    EXPECT_TRUE(isCatalogPage(dir.file(QStringLiteral("a.htm"))));
    EXPECT_FALSE(isCatalogPage(dir.file(QStringLiteral("b.htm"))));
    EXPECT_TRUE(isCatalogPage(dir.file(QStringLiteral("lf.htm"))));
    EXPECT_FALSE(isCatalogPage(dir.file(QStringLiteral("missing.htm"))));
    QDir(dir.path()).mkdir(QStringLiteral("dir.htm"));
    EXPECT_FALSE(isCatalogPage(dir.file(QStringLiteral("dir.htm"))));
    EXPECT_FALSE(readTocEntry(dir.file(QStringLiteral("b.htm")), QStringLiteral("x")));
}

TEST(TocEntry, ShortAndTruncatedPagesGiveShortFieldsWithoutFailing) {
    const TocEntry entry =
        cutTocEntry({QString(), QStringLiteral("<!-- Tessaly"), QStringLiteral("<!-- F"), QString(),
                     QString(), QString(), QStringLiteral("<TITLE>")},
                    QStringLiteral("f"));
    EXPECT_TRUE(entry.title.isEmpty());
    EXPECT_TRUE(entry.thumbnailName.isEmpty());
    EXPECT_TRUE(entry.date.isEmpty());
    test::TempDir dir;
    dir.write(QStringLiteral("index.htm"), "x\r\n<!-- Tessaly Version 1.60 -->");
    const std::optional<TocEntry> cut =
        readTocEntry(dir.file(QStringLiteral("index.htm")), QStringLiteral("f"));
    ASSERT_TRUE(cut.has_value());
    EXPECT_TRUE(cut->title.isEmpty());
}

TEST(TocEntry, HugeOrBinaryPagesAreReadWithinBounds) {
    test::TempDir dir;
    QByteArray huge = "x\r\n<!-- Tessaly\r\n<!-- FILE=001 a.jpg -->\r\n";
    huge += QByteArray(6 * 1024 * 1024, 'A');  // a line longer than anything read
    dir.write(QStringLiteral("huge.htm"), huge);
    const std::optional<TocEntry> entry =
        readTocEntry(dir.file(QStringLiteral("huge.htm")), QStringLiteral("f"));
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->thumbnailName, QStringLiteral("a.jpg"));
    EXPECT_TRUE(entry->title.isEmpty());

    QRandomGenerator random(42);
    for (int round = 0; round < 200; ++round) {
        QByteArray bytes(static_cast<int>(random.bounded(600)), '\0');
        for (char& c : bytes) c = static_cast<char>(random.bounded(256));
        if (round % 2 == 0) bytes.prepend("x\n<!-- Tessaly");
        dir.write(QStringLiteral("random.htm"), bytes);
        const QStringList lines = readLeadingLines(dir.file(QStringLiteral("random.htm")), 7);
        EXPECT_EQ(lines.size(), 7);
        readTocEntry(dir.file(QStringLiteral("random.htm")), QStringLiteral("f"));
    }
}

TEST(TocEntry, UnreadablePageRaisesAnIoError) {
    test::TempDir dir;
    EXPECT_THROW(readLeadingLines(dir.file(QStringLiteral("missing.htm")), 2), IoError);
}

TEST(TocEntry, ReadsPagesWrittenByTheCataloguePageWriter) {
    test::TempDir dir;
    CatalogSettings settings;
    settings.thumbPrefix = QStringLiteral("s_");
    const OutputLayout layout(settings, dir.path());
    CatalogPageWriter writer(settings, layout.pageFiles(false, false));
    const QString path = dir.file(QStringLiteral("index.htm"));
    const QString thumbnail = layout.thumbnailFileName(QStringLiteral("写真 --> 01.JPG"));
    writer.writeHead(path, QStringLiteral("北海道の旅 <2026>"), 5, 1234, thumbnail,
                     QDate(2026, 1, 5));
    writer.writeBodyStart();
    writer.writeTail(false);
    writer.publish();
    // "-->" in a name never ends the comment that carries it.
    EXPECT_EQ(test::sjisLines(dir.read(QStringLiteral("index.htm")))[2].count("--"), 2);
    const std::optional<TocEntry> entry = readTocEntry(path, QStringLiteral("旅"));
    ASSERT_TRUE(entry.has_value());
    EXPECT_EQ(entry->title, QStringLiteral("北海道の旅 <2026>"));
    EXPECT_EQ(entry->imageCount, QStringLiteral("234"));
    EXPECT_EQ(entry->date, QStringLiteral("  2026.1.5"));
    EXPECT_EQ(entry->thumbnailName, QStringLiteral("s_写真 --> 01.JPG"));

    // The modern page, in UTF-8, is read alike.
    QDir(dir.path()).mkdir(QStringLiteral("htm_image"));
    ModernPageWriter modern(settings, layout.pageFiles(true, false));
    modern.start(QStringLiteral("北海道の旅 <2026>"), 5, QDate(2026, 1, 5));
    CatalogEntry photo;
    photo.fileName = QStringLiteral("写真 --> 01.JPG");
    for (int i = 0; i < 3; ++i) modern.addImage(photo, false);
    modern.finish(thumbnail);
    const std::optional<TocEntry> modernEntry = readTocEntry(path, QStringLiteral("旅"));
    ASSERT_TRUE(modernEntry.has_value());
    EXPECT_EQ(modernEntry->title, entry->title);
    EXPECT_EQ(modernEntry->imageCount, QStringLiteral("003"));
    EXPECT_EQ(modernEntry->date, entry->date);
    EXPECT_EQ(modernEntry->thumbnailName, entry->thumbnailName);
}
