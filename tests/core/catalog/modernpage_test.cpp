#include <QDir>
#include <QFileInfo>

#include "catalogrun_fixture.h"

namespace tessaly::test {
namespace {

// The modern page style: the UTF-8 page, its stylesheet and script, and the double-size
// thumbnails beside the others.
class ModernPageTest : public CatalogRunTest {
protected:
    void SetUp() override {
        CatalogRunTest::SetUp();
        settings.pageStyle = QStringLiteral("modern");
        input.perRow = 1;
    }
    QString doubled(const QString& name) const { return dir.file("htm_image/2x/" + name); }
    QString pageText() const { return QString::fromUtf8(dir.read("index.htm")); }
};

TEST_F(ModernPageTest, PageThumbnailsAndFilesBesideThem) {
    addImage("a.jpg", 660, 450);
    addImage("<b>&\"x.jpg", 300, 600);
    for (int i = 0; i < 6; ++i) addImage(QStringLiteral("p%1.jpg").arg(i));
    addImage(",x y.jpg");
    settings.makeSlideShow = QStringLiteral("on");
    dir.write("PicComment.txt",
              sjisBytes("*****************************\r\na.jpg\r\n春の<b>海</b> & 空\r\n二行目\r\n"
                        "*****************************\r\np0.jpg\r\nトカゲ <大> & 庭\r\n"
                        "a&lt;b <i title='1>2'>&#x5C71;</i><!-- x -->\r\n"));
    host.comments = true;
    ASSERT_EQ(run(), CatalogRunOutcome::Completed);
    const QString page = pageText();
    EXPECT_TRUE(page.startsWith("<!DOCTYPE html>\r\n<!-- Tessaly Version 1.60 -->\r\n"));
    EXPECT_TRUE(page.contains("<html lang=\"ja\">\r\n<head><meta charset=\"utf-8\">"));
    EXPECT_TRUE(
        page.contains(R"(<a class="photo" href="a.jpg" data-caption="春の海 &amp; 空 二行目">)"
                      R"(<img src="htm_image/a.jpg" srcset="htm_image/2x/a.jpg 2x" )"
                      R"(width="110" height="75" alt="春の海 &amp; 空 二行目">)"));
    // The lightbox caption and the alt text read what the grid caption shows.
    EXPECT_TRUE(page.contains(R"(data-caption="トカゲ &lt;大&gt; &amp; 庭 a&lt;b 山">)"));
    EXPECT_TRUE(page.contains(R"(alt="トカゲ &lt;大&gt; &amp; 庭 a&lt;b 山")"));
    EXPECT_TRUE(page.contains(R"(<p class="caption">春の<b>海</b> & 空<br>二行目</p>)"));
    EXPECT_TRUE(page.contains(R"(href="%3Cb%3E%26%22x.jpg")")) << page.toStdString();
    EXPECT_TRUE(page.contains(R"(alt="&lt;b&gt;&amp;&quot;x")"));
    // Spaces and commas would split a srcset candidate.
    EXPECT_TRUE(page.contains(R"(src="htm_image/,x y.jpg" srcset="htm_image/2x/%2Cx%20y.jpg 2x")"));
    // The first screen loads at once, the rest when scrolled to.
    EXPECT_FALSE(page.section("p4.jpg", 0, 0).contains("loading="));
    EXPECT_TRUE(page.section("p4.jpg", 1).contains(R"(loading="lazy" decoding="async")"));
    EXPECT_TRUE(page.contains(R"(<body data-interval="3">)"));
    EXPECT_TRUE(page.contains(R"(id="slideshow")"));
    EXPECT_FALSE(QFileInfo::exists(dir.file("SShow.htm")));  // the slide show is in the page
    EXPECT_EQ(jpegSize(thumb("a.jpg")), QSize(110, 75));
    EXPECT_EQ(jpegSize(doubled("a.jpg")), QSize(220, 150));
    EXPECT_EQ(jpegSize(doubled("<b>&\"x.jpg")), QSize(150, 300));
    EXPECT_TRUE(dir.read("htm_image/tessaly.css").contains("prefers-color-scheme: dark"));
    EXPECT_TRUE(dir.read("htm_image/tessaly.js").contains("showModal"));
}

// A re-run keeps a thumbnail only when its double-size twin is up to date too; either one
// missing makes both again.
TEST_F(ModernPageTest, DoubleThumbnailsFollowTheSkipRules) {
    addImage("a.jpg", 660, 450);
    addImage("b.jpg", 660, 450);
    settings.skipExistingThumbs = QStringLiteral("on");
    ASSERT_EQ(run(), CatalogRunOutcome::Completed);
    EXPECT_EQ(host.matching("made:").size(), 2);
    for (int jobs : {1, 2}) {
        input.jobs = jobs;
        host.log.clear();
        ASSERT_TRUE(QFile::remove(doubled("b.jpg")));
        ASSERT_EQ(run(), CatalogRunOutcome::Completed);
        EXPECT_EQ(host.matching("skipped:"), QStringList({"skipped:1 a.jpg"}));
        EXPECT_EQ(host.matching("made:").size(), 1);
        EXPECT_EQ(jpegSize(doubled("b.jpg")), QSize(220, 150));
    }
}

}  // namespace
}  // namespace tessaly::test
