#include <gtest/gtest.h>
#include <libexif/exif-data.h>
#include <sys/resource.h>
#include <unistd.h>

#include <QDateTime>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <algorithm>
#include <csignal>

#include "core/conversion/bmpconversion.h"
#include "core/imaging/files/filereplacement.h"
#include "core/imaging/jobs/rotationjob.h"
#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/metadata/capturedetails.h"
#include "core/imaging/metadata/exiforientation.h"
#include "core/text/errors.h"
#include "support/fulldisk.h"
#include "support/otheruser.h"
#include "support/samepixels.h"
#include "support/tempdir.h"
#include "support/testimages.h"

namespace tessaly {
namespace {

using test::TempDir;

// A 24-bit picture whose every pixel has its own colour.
PixelImage numbered(int width, int height) {
    PixelImage picture(width, height, PixelFormat::Bgr24);
    for (int y = 0; y < height; ++y) {
        for (int x = 0; x < width; ++x) picture.setPixel(x, y, quint32(y * 1000 + x + 1));
    }
    return picture;
}

using test::samePixels;

// Mean absolute difference per colour channel of two 24-bit pictures of one size.
double meanError(const PixelImage& a, const PixelImage& b) {
    double sum = 0;
    for (int y = 0; y < a.height(); ++y) {
        for (int x = 0; x < a.width(); ++x) {
            const quint32 p = a.pixel(x, y), q = b.pixel(x, y);
            for (int shift = 0; shift < 24; shift += 8) {
                sum += std::abs(int((p >> shift) & 0xFF) - int((q >> shift) & 0xFF));
            }
        }
    }
    return sum / (3.0 * a.width() * a.height());
}

PixelImage decoded(const QString& path) { return RotationJob::loadPhotograph(path); }

TEST(RotationJobTest, OnlyLowerCasedJpgExtensionsAreTurned) {
    EXPECT_TRUE(RotationJob::isRotatableName("a.JPG"));
    EXPECT_TRUE(RotationJob::isRotatableName("写真.jpg"));
    EXPECT_FALSE(RotationJob::isRotatableName("b.jpeg"));
    EXPECT_FALSE(RotationJob::isRotatableName("c.gif"));
    EXPECT_FALSE(RotationJob::isRotatableName("d.jpg.bak"));
    EXPECT_FALSE(RotationJob::isRotatableName("jpg"));
    EXPECT_EQ(RotationJob::noFileMessage(), QStringLiteral("ファイルが選択されていません。"));
}

TEST(RotationJobTest, RootFolderPathsHaveNoDoubledSeparator) {
    const RotationJob job("/", 95, true);
    EXPECT_EQ(job.filePath("a.jpg"), QStringLiteral("/a.jpg"));
    EXPECT_EQ(job.backupFolder(), QStringLiteral("/_backup"));
    EXPECT_EQ(RotationJob("/photos", 95, true).backupFolder(), QStringLiteral("/photos/_backup"));
}

TEST(RotationJobTest, TurnsAddUp) {
    const PixelImage source = numbered(5, 3);
    const PixelImage right = RotationJob::turned(source, Turn::Right);
    EXPECT_EQ(right.width(), 3);
    EXPECT_EQ(right.height(), 5);
    EXPECT_EQ(right.pixel(2, 0), source.pixel(0, 0));  // top-left goes to top-right
    const PixelImage twice = RotationJob::turned(right, Turn::Right);
    EXPECT_TRUE(samePixels(twice, RotationJob::turned(source, Turn::Half)));
    EXPECT_EQ(twice.pixel(0, 0), source.pixel(4, 2));
    EXPECT_TRUE(samePixels(RotationJob::turned(right, Turn::Left), source));
    EXPECT_TRUE(samePixels(RotationJob::turned(twice, Turn::Half), source));
    EXPECT_EQ(source.pixel(0, 0), 1u);  // the source is not touched
}

TEST(RotationJobTest, GreyscalePhotographsAreWidenedAndSavedInColour) {
    TempDir dir;
    test::writeTestJpeg(dir.file("g.jpg"), 40, 30, true);
    const PixelImage grey = decoded(dir.file("g.jpg"));
    EXPECT_EQ(grey.pixelFormat(), PixelFormat::Bgr24);
    RotationJob(dir.path(), 95, false).rotateFile("g.jpg", Turn::Left);
    JpegImage saved;
    saved.loadFromFile(dir.file("g.jpg"));
    EXPECT_FALSE(saved.isGrayscale());
    EXPECT_EQ(saved.width(), 30);
    EXPECT_EQ(saved.height(), 40);
    EXPECT_LT(meanError(decoded(dir.file("g.jpg")), RotationJob::turned(grey, Turn::Left)), 2.0);

    // A grey profile fits a grey file turned losslessly, never the colour one re-encoded.
    test::JpegLayout layout;
    layout.components = 1;
    layout.h[0] = layout.v[0] = 1;
    layout.segments = {{JpegSegments::kApp2,
                        QByteArray("ICC_PROFILE\0\x01\x01", 14) + test::iccProfile("GRAY", 600)}};
    for (const bool lossless : {true, false}) {
        dir.write("p.jpg", test::makePhotoJpeg(64, lossless ? 40 : 45, layout));
        RotationJob(dir.path(), 95, false, true).rotateFile("p.jpg", Turn::Right);
        EXPECT_EQ(JpegImage::readSegments(dir.read("p.jpg")).iccProfile().isEmpty(), !lossless);
    }
}

TEST(RotationJobTest, RotateFileTurnsAndKeepsTheFirstBackup) {
    TempDir dir;
    test::writeTestJpeg(dir.file("a.JPG"), 64, 48);
    const QByteArray original = dir.read("a.JPG");
    const PixelImage before = decoded(dir.file("a.JPG"));
    const QDateTime taken(QDate(2019, 7, 1), QTime(9, 30));
    {
        QFile file(dir.file("a.JPG"));
        ASSERT_TRUE(file.open(QIODevice::ReadWrite));
        ASSERT_TRUE(file.setFileTime(taken, QFileDevice::FileModificationTime));
    }
    QFile::setPermissions(dir.file("a.JPG"), QFileDevice::ReadOwner | QFileDevice::WriteOwner);
    const RotationJob job(dir.path(), 95, true);
    job.rotateFile("a.JPG", Turn::Right);
    EXPECT_EQ(test::readFile(dir.file("_backup/a.JPG")), original);
    // The backup dates and is protected as the original was.
    EXPECT_EQ(QFileInfo(dir.file("_backup/a.JPG")).lastModified(), taken);
    EXPECT_EQ(QFile::permissions(dir.file("_backup/a.JPG")),
              QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ReadUser |
                  QFileDevice::WriteUser);
    const PixelImage once = decoded(dir.file("a.JPG"));
    ASSERT_EQ(once.width(), 48);
    ASSERT_EQ(once.height(), 64);
    EXPECT_LT(meanError(once, RotationJob::turned(before, Turn::Right)), 8.0);

    job.rotateFile("a.JPG", Turn::Right);  // the second save keeps the first backup
    EXPECT_EQ(test::readFile(dir.file("_backup/a.JPG")), original);
    const PixelImage twice = decoded(dir.file("a.JPG"));
    EXPECT_EQ(twice.width(), 64);
    EXPECT_LT(meanError(twice, RotationJob::turned(before, Turn::Half)), 10.0);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden),
              QStringList{"a.JPG"});  // no temporary file left behind
}

// The EXIF fields a turned photograph must still show, read back with libexif.
struct ExifFields {
    int orientation = 0;
    quint32 width = 0, height = 0;  // PixelXDimension, PixelYDimension
    QByteArray make, taken;
    bool thumbnail = false;
};

ExifFields exifFields(const QByteArray& payload) {
    ExifFields fields;
    const auto* bytes = reinterpret_cast<const unsigned char*>(payload.constData());
    fields.orientation = exifOrientation(bytes, size_t(payload.size()));
    ExifData* data = exif_data_new();  // read as it stands, nothing added or fixed
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_load_data(data, bytes, unsigned(payload.size()));
    const ExifByteOrder order = exif_data_get_byte_order(data);
    const auto number = [&](ExifIfd ifd, ExifTag tag) -> quint32 {
        const ExifEntry* e = exif_content_get_entry(data->ifd[ifd], tag);
        if (!e) return 0;
        return e->format == EXIF_FORMAT_SHORT ? exif_get_short(e->data, order)
                                              : exif_get_long(e->data, order);
    };
    const auto text = [&](ExifIfd ifd, ExifTag tag) {
        const ExifEntry* e = exif_content_get_entry(data->ifd[ifd], tag);
        return e ? QByteArray(reinterpret_cast<const char*>(e->data), int(e->size)) : QByteArray();
    };
    fields.width = number(EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION);
    fields.height = number(EXIF_IFD_EXIF, EXIF_TAG_PIXEL_Y_DIMENSION);
    fields.make = text(EXIF_IFD_0, EXIF_TAG_MAKE);
    fields.taken = text(EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL);
    fields.thumbnail = data->data && data->size > 0;
    exif_data_unref(data);
    return fields;
}

TEST(RotationJobTest, TurnsKeepEverySegmentAndPatchOnlyTheExifPosition) {
    const struct {
        int orientation;
        Turn turn;
        bool lossless;
        int width, height;  // stored
        bool perfect;       // expected lossless
    } rows[] = {
        {1, Turn::Right, false, 64, 48, false}, {6, Turn::Right, false, 64, 48, false},
        {8, Turn::Half, false, 60, 45, false},  {3, Turn::Left, true, 64, 48, true},
        {6, Turn::Right, true, 64, 48, true},   {5, Turn::None, true, 64, 48, true},
        {2, Turn::Left, true, 64, 48, true},    {1, Turn::Right, true, 60, 45, false},
    };
    for (const auto& row : rows) {
        SCOPED_TRACE(testing::Message() << "orientation " << row.orientation << " turn "
                                        << int(row.turn) << " lossless " << row.lossless);
        TempDir dir;
        test::JpegLayout layout;
        layout.segments = test::cameraSegments(row.width, row.height, row.orientation);
        dir.write("a.jpg", test::makePhotoJpeg(row.width, row.height, layout));
        const PixelImage shown = decoded(dir.file("a.jpg"));
        const JpegSegments before = JpegImage::readSegments(dir.read("a.jpg"));
        EXPECT_EQ(RotationJob(dir.path(), 95, false, row.lossless).rotateFile("a.jpg", row.turn),
                  row.perfect);

        const PixelImage now = decoded(dir.file("a.jpg"));
        const PixelImage expected = RotationJob::turned(shown, row.turn);
        ASSERT_EQ(now.width(), expected.width());
        EXPECT_LT(meanError(now, expected), row.perfect ? 1.0 : 3.0);
        const JpegSegments after = JpegImage::readSegments(dir.read("a.jpg"));
        ASSERT_EQ(after.list.size(), before.list.size());
        size_t exifAt = 0;
        for (size_t i = 0; i < after.list.size(); ++i) {
            EXPECT_EQ(after.list[i].marker, before.list[i].marker);
            if (after.list[i].data.startsWith("Exif")) {
                exifAt = i;
                EXPECT_EQ(after.list[i].data.size(), before.list[i].data.size());
            } else {
                EXPECT_EQ(after.list[i].data, before.list[i].data) << "segment " << i;
            }
        }
        const ExifFields exif = exifFields(after.list[exifAt].data);
        const bool quarter =
            (row.orientation >= 5) != (row.turn == Turn::Right || row.turn == Turn::Left);
        EXPECT_EQ(exif.orientation, 1);
        EXPECT_EQ(exif.width, quint32(quarter ? row.height : row.width));
        EXPECT_EQ(exif.height, quint32(quarter ? row.width : row.height));
        EXPECT_EQ(exif.make, QByteArray("PENTAX", 7));
        EXPECT_EQ(exif.taken, QByteArray("2024:05:06 07:08:09", 20));
        EXPECT_FALSE(exif.thumbnail);
        EXPECT_TRUE(exifFields(before.list[exifAt].data).thumbnail);
    }
}

// EXIF blocks as odd software writes them: turned right they show turned right, keep the date
// every reader of ours reads, and the turn says what it could not edit.
TEST(RotationJobTest, OddExifBlocksTurnAsShownKeepTheirDateAndSayWhatStayed) {
    using test::longEntry, test::shortEntry, test::textEntry;
    const test::TiffEntry date = textEntry(0x0132, "2021:02:03 04:05:06");
    const test::TiffEntry original = textEntry(0x9003, "2022:03:04 05:06:07");
    const QDateTime dated(QDate(2021, 2, 3), QTime(4, 5, 6), Qt::UTC);
    const QDateTime originally(QDate(2022, 3, 4), QTime(5, 6, 7), Qt::UTC);
    const struct {
        const char* name;
        QByteArray exif;
        bool fillBytes;  // before the APP1 marker
        int orientation;
        QDateTime taken;
        QStringList unchanged;  // what the warning names; "-": the block left out
        quint32 x, y;           // PixelXDimension, PixelYDimension afterwards; 0: none
    } rows[] = {
        {"two orientations, the first unreadable",
         test::handMadeExif({shortEntry(0x0112, 3, 0), shortEntry(0x0112, 6), date}),
         false,
         6,
         dated,
         {},
         0,
         0},
        {"two orientations",
         test::handMadeExif({shortEntry(0x0112, 8), shortEntry(0x0112, 6), date}),
         false,
         8,
         dated,
         {},
         0,
         0},
        {"a width no SHORT holds",
         test::handMadeExif({date}, {original, longEntry(0xA002, 70000), shortEntry(0xA003, 48)}),
         false,
         1,
         originally,
         {},
         48,
         70000},
        {"an EXIF pointer outside the block",
         test::handMadeExif({shortEntry(0x0112, 1), date}, {original}, 0x7FFFFFF0),
         false,
         1,
         dated,
         {"ExifIFDPointer"},
         0,
         0},
        {"a width of two values",
         test::handMadeExif({date}, {original, shortEntry(0xA002, 64, 2), shortEntry(0xA003, 48)}),
         false,
         1,
         originally,
         {"PixelXDimension/PixelYDimension"},
         64,
         48},
        {"fill bytes before APP1",
         test::handMadeExif({shortEntry(0x0112, 6), date}),
         true,
         6,
         dated,
         {},
         0,
         0},
        {"no byte order",
         QByteArray("Exif\0\0XX*\0\x08\0\0\0", 14),
         false,
         1,
         QDateTime(),
         {"-"},
         0,
         0},
    };
    for (const auto& row : rows) {
        for (const bool lossless : {false, true}) {
            SCOPED_TRACE(testing::Message() << row.name << (lossless ? " lossless" : ""));
            TempDir dir;
            test::JpegLayout layout;
            layout.segments = {{JpegSegments::kApp1, row.exif}};
            QByteArray bytes = test::makePhotoJpeg(64, 48, layout);
            if (row.fillBytes) bytes.insert(bytes.indexOf("\xFF\xE1"), "\xFF\xFF\xFF");
            dir.write("a.jpg", bytes);
            EXPECT_EQ(JpegImage::readHeader(bytes).orientation, row.orientation);
            EXPECT_EQ(CaptureDetails::read(dir.file("a.jpg")).taken, row.taken);
            const PixelImage shown = decoded(dir.file("a.jpg"));
            QStringList warnings;
            RotationJob(dir.path(), 95, false, lossless)
                .rotateFile("a.jpg", Turn::Right, nullptr, &warnings);

            const PixelImage now = decoded(dir.file("a.jpg"));
            const PixelImage expected = RotationJob::turned(shown, Turn::Right);
            ASSERT_EQ(now.width(), expected.width());
            EXPECT_LT(meanError(now, expected), 3.0);
            EXPECT_EQ(CaptureDetails::read(dir.file("a.jpg")).taken, row.taken);
            const QStringList said =
                row.unchanged.isEmpty() ? QStringList()
                : row.unchanged == QStringList{"-"}
                    ? QStringList{RotationJob::exifLeftOutMessage("a.jpg", false)}
                    : QStringList{RotationJob::exifUnchangedMessage("a.jpg", row.unchanged)};
            EXPECT_EQ(warnings, said);
            const JpegSegments after = JpegImage::readSegments(dir.read("a.jpg"));
            const auto exif = std::find_if(after.list.begin(), after.list.end(),
                                           [](const JpegSegment& s) { return s.marker == 0xE1; });
            ASSERT_EQ(exif == after.list.end(), row.unchanged == QStringList{"-"});
            if (exif == after.list.end()) continue;
            const ExifFields fields = exifFields(exif->data);
            EXPECT_EQ(fields.orientation, 1);
            EXPECT_EQ(fields.width, row.x);
            EXPECT_EQ(fields.height, row.y);
        }
    }
}

TEST(RotationJobTest, LosslessTurnsBackToTheSamePixels) {
    TempDir dir;
    test::JpegLayout layout;
    layout.segments = test::cameraSegments(64, 48, 1);
    dir.write("a.jpg", test::makePhotoJpeg(64, 48, layout));
    const PixelImage original = decoded(dir.file("a.jpg"));
    const RotationJob job(dir.path(), 50, false, true);
    EXPECT_TRUE(job.rotateFile("a.jpg", Turn::Right));
    EXPECT_TRUE(job.rotateFile("a.jpg", Turn::Left));
    EXPECT_TRUE(samePixels(decoded(dir.file("a.jpg")), original));  // no loss at quality 50
    EXPECT_FALSE(exifFields(JpegImage::readSegments(dir.read("a.jpg")).list[1].data).thumbnail);
}

TEST(RotationJobTest, BackupsOffMakesNoFolder) {
    TempDir dir;
    test::writeTestJpeg(dir.file("a.jpg"), 16, 8);
    RotationJob job(dir.path(), 90, false);
    EXPECT_FALSE(job.backUp("a.jpg"));
    job.rotateFile("a.jpg", Turn::Half);
    EXPECT_FALSE(QFileInfo::exists(dir.file("_backup")));
}

// A file in place of the backup folder, or a link to a folder elsewhere: nothing is saved,
// there or anywhere.
TEST(RotationJobTest, BackupFolderBlockedByAFileOrALinkRaisesAndSavesNothing) {
    for (const bool link : {false, true}) {
        SCOPED_TRACE(link ? "link" : "file");
        TempDir dir, elsewhere;
        test::writeTestJpeg(dir.file("a.jpg"), 16, 8);
        if (link) {
            ASSERT_TRUE(QFile::link(elsewhere.path(), dir.file("_backup")));
        } else {
            dir.write("_backup", "not a folder");
        }
        const QByteArray original = dir.read("a.jpg");
        EXPECT_THROW(RotationJob(dir.path(), 90, true).rotateFile("a.jpg", Turn::Right), IoError);
        EXPECT_EQ(dir.read("a.jpg"), original);
        EXPECT_TRUE(
            QDir(elsewhere.path()).isEmpty(QDir::AllEntries | QDir::Hidden | QDir::NoDotAndDotDot));
    }
}

TEST(RotationJobTest, UnwritableFolderLeavesThePhotographByteIdentical) {
    TempDir dir;
    test::writeTestJpeg(dir.file("a.jpg"), 32, 16);
    const QByteArray original = dir.read("a.jpg");
    test::openUp(dir.path());
    test::makeReadOnly(dir.path());
    const RotationJob job(dir.path(), 90, false);
    {
        test::AsOtherUser user;  // permissions bind the superuser only through another user
        ASSERT_TRUE(user.active());
        try {
            job.rotateFile("a.jpg", Turn::Right);
            ADD_FAILURE() << "save into a read-only folder succeeded";
        } catch (const IoError& error) {
            EXPECT_TRUE(error.message().contains("a.jpg"));
        }
    }
    QFile::setPermissions(dir.path(),
                          QFileDevice::ReadOwner | QFileDevice::WriteOwner | QFileDevice::ExeOwner);
    EXPECT_EQ(dir.read("a.jpg"), original);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.jpg"});
}

TEST(RotationJobTest, FullDiskLeavesThePhotographByteIdentical) {
    TempDir dir;
    test::writeTestJpeg(dir.file("a.jpg"), 200, 150);
    const QByteArray original = dir.read("a.jpg");
    const RotationJob job(dir.path(), 95, false);
    {
        test::FullDisk full(1000);
        EXPECT_THROW(job.rotateFile("a.jpg", Turn::Right), IoError);
    }
    EXPECT_EQ(dir.read("a.jpg"), original);
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.jpg"});
    job.rotateFile("a.jpg", Turn::Right);  // room again: the save goes through
    EXPECT_EQ(decoded(dir.file("a.jpg")).width(), 150);
}

TEST(RotationJobTest, FullDiskDuringTheBackupLeavesNoHalfCopy) {
    TempDir dir;
    test::writeTestJpeg(dir.file("a.jpg"), 200, 150);
    const QByteArray original = dir.read("a.jpg");
    const RotationJob job(dir.path(), 95, true);
    {
        test::FullDisk full(1000);
        EXPECT_THROW(job.rotateFile("a.jpg", Turn::Left), IoError);
    }
    EXPECT_EQ(dir.read("a.jpg"), original);
    EXPECT_FALSE(QFileInfo::exists(dir.file("_backup/a.jpg")));
    job.rotateFile("a.jpg", Turn::Left);  // the next try makes a whole backup
    EXPECT_EQ(test::readFile(dir.file("_backup/a.jpg")), original);
}

TEST(RotationJobTest, ReplacementThatIsNotCommittedLeavesTheTargetAlone) {
    TempDir dir;
    dir.write("a.jpg", "original");
    {
        FileReplacement replacement(dir.file("a.jpg"));
        test::writeFile(replacement.temporaryPath(), "half an enc");  // the encode failed here
    }
    EXPECT_EQ(dir.read("a.jpg"), QByteArray("original"));
    EXPECT_EQ(QDir(dir.path()).entryList(QDir::Files | QDir::Hidden), QStringList{"a.jpg"});

    FileReplacement replacement(dir.file("a.jpg"));
    test::writeFile(replacement.temporaryPath(), "new");
    QFile::setPermissions(dir.file("a.jpg"), QFileDevice::ReadOwner | QFileDevice::WriteOwner |
                                                 QFileDevice::ReadOther);
    replacement.commit();
    EXPECT_EQ(dir.read("a.jpg"), QByteArray("new"));
    EXPECT_TRUE(QFile::permissions(dir.file("a.jpg")) & QFileDevice::ReadOther);
}

// A photograph reached through a chain of links is replaced where the chain ends; every link
// on the way stays a link.
TEST(RotationJobTest, ReplacementWritesWhereTheLinkChainEnds) {
    TempDir dir;
    dir.write("real.jpg", "old");
    ASSERT_TRUE(QFile::link(dir.file("real.jpg"), dir.file("middle.jpg")));
    ASSERT_TRUE(QFile::link(dir.file("middle.jpg"), dir.file("a.jpg")));
    FileReplacement::replace(dir.file("a.jpg"), "new");
    EXPECT_EQ(dir.read("real.jpg"), QByteArray("new"));
    EXPECT_TRUE(QFileInfo(dir.file("middle.jpg")).isSymLink());
    EXPECT_TRUE(QFileInfo(dir.file("a.jpg")).isSymLink());
}

TEST(RotationJobTest, UnreadablePhotographRaisesAndLeavesNoBackup) {
    TempDir dir;
    dir.write("bad.jpg", "no jpeg at all");
    EXPECT_THROW(RotationJob(dir.path(), 90, true).rotateFile("bad.jpg", Turn::Right), Error);
    EXPECT_FALSE(QFileInfo::exists(dir.file("_backup/bad.jpg")));
    EXPECT_EQ(dir.read("bad.jpg"), QByteArray("no jpeg at all"));
}

}  // namespace
}  // namespace tessaly
