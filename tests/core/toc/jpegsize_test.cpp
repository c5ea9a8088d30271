#include "core/toc/jpegsize.h"

#include <gtest/gtest.h>

#include "core/text/errors.h"
#include "support/tempdir.h"
#include "support/testimages.h"

using namespace tessaly;

// The walk itself is tested with the scanner (JpegScanner tests); here the file around it.
TEST(JpegSize, ReadsTheFrameOfAFileAndNamesAFileWithout) {
    test::TempDir dir;
    dir.write(QStringLiteral("t.jpg"), test::makeTestJpeg(333, 17));
    const auto size = readJpegSize(dir.file(QStringLiteral("t.jpg")));
    ASSERT_TRUE(size.has_value());
    EXPECT_EQ(size->width, 333);
    EXPECT_EQ(size->height, 17);
    dir.write(QStringLiteral("z.jpg"), QByteArray("\xFF\xD8\xFF\xC0\x00\x11\x08\x00", 8));
    for (const char* name : {"missing.jpg", "z.jpg"}) {
        EXPECT_FALSE(readJpegSize(dir.file(name))) << name;
        try {
            requireJpegSize(dir.file(name));
            ADD_FAILURE() << name;
        } catch (const ImageError& error) {
            EXPECT_TRUE(error.message().contains(name)) << error.message().toStdString();
        }
    }
}
