// The worker side of a run: the decode budget's admissions and the pipeline's order.
#include <gtest/gtest.h>

#include <QDir>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <thread>

#include "core/catalog/decodebudget.h"
#include "core/catalog/thumbnailpipeline.h"
#include "support/tempdir.h"
#include "support/testimages.h"

namespace tessaly {
namespace {

constexpr qint64 MiB = qint64(1) << 20;

TEST(DecodeBudget, AdmitsWhatFitsAndAlwaysOneDecode) {
    EXPECT_EQ(DecodeBudget::limitFor(0), 256 * MiB);
    EXPECT_EQ(DecodeBudget::limitFor(512 * MiB), 256 * MiB);
    EXPECT_EQ(DecodeBudget::limitFor(24 * 1024 * MiB), 6 * 1024 * MiB);
    EXPECT_GE(DecodeBudget::defaultLimit(), 256 * MiB);
    EXPECT_EQ(DecodeBudget::defaultLimit(), DecodeBudget::limitFor(DecodeBudget::usableMemory()));
    EXPECT_GT(DecodeBudget::usableMemory(), 0);

    DecodeBudget budget(100);
    EXPECT_TRUE(budget.tryAcquire(60));
    EXPECT_FALSE(budget.tryAcquire(50));  // 110 would not fit
    EXPECT_TRUE(budget.tryAcquire(40));   // exactly the limit
    EXPECT_FALSE(budget.tryAcquire(1));
    EXPECT_EQ(budget.inFlight(), 100);
    budget.release(60);
    budget.release(40);
    EXPECT_TRUE(budget.tryAcquire(500));  // nothing in flight: admitted however large
    EXPECT_FALSE(budget.tryAcquire(1));   // and nothing beside it
    budget.release(500);
    EXPECT_EQ(budget.inFlight(), 0);
    EXPECT_EQ(budget.peak(), 500);
}

TEST(DecodeBudget, AWaitingDecodeIsAdmittedOnReleaseOrRefusedOnStop) {
    DecodeBudget budget(100);
    ASSERT_TRUE(budget.acquire(80));
    bool admitted = false;
    std::thread waiter([&] { admitted = budget.acquire(50); });
    while (budget.waits() == 0) std::this_thread::yield();
    budget.release(80);
    waiter.join();
    EXPECT_TRUE(admitted);
    EXPECT_EQ(budget.inFlight(), 50);

    bool refused = false;
    std::thread stopped([&] { refused = !budget.acquire(60); });
    while (budget.waits() == 1) std::this_thread::yield();
    budget.stop();
    stopped.join();
    EXPECT_TRUE(refused);
    EXPECT_EQ(budget.inFlight(), 50);
    EXPECT_FALSE(budget.tryAcquire(1));
    {
        const DecodeBudget::Admission none(nullptr, 1 << 30);  // no budget: admitted
        EXPECT_TRUE(bool(none));
    }
}

// Twelve small files that claim large progressive pictures, on twelve workers: their decodes
// are admitted a few at a time, never together beyond the budget.
TEST(DecodeBudget, BoundsTheDecodesOfManyWorkers) {
    test::TempDir dir;
    test::JpegLayout layout;
    layout.progressive = true;
    const QByteArray big = test::makePhotoJpeg(2000, 1500, layout);
    std::vector<ThumbnailJob> jobs;
    for (int i = 0; i < 12; ++i) {
        const QString name = QStringLiteral("p%1.jpg").arg(i);
        dir.write(name, big.left(4000));  // the headers and the start of the first scan
        jobs.push_back({dir.file(name), dir.file("t" + name), dir.file("t" + name)});
    }
    ThumbnailMaker probe;
    probe.open(jobs[0].sourcePath);
    const ThumbnailBox box{110, 150, 80, false};
    const qint64 each = probe.scaleBytes(box);
    EXPECT_GT(each, 4 * MiB);  // the whole coefficient buffer of a progressive file
    DecodeBudget budget(3 * each);
    {
        ThumbnailPipeline pipeline(
            jobs, [&](const ThumbnailJob& job) { return makeThumbnail(job, box, false, &budget); },
            12, [&] { budget.stop(); });
        for (std::size_t k = 0; k < jobs.size(); ++k) {
            const ThumbnailResult result = pipeline.take(k);
            EXPECT_FALSE(result.loadError);
            EXPECT_EQ(result.preview.width(), 110);
        }
    }
    EXPECT_LE(budget.peak(), 3 * each);
    EXPECT_GE(budget.peak(), each);
    EXPECT_EQ(budget.inFlight(), 0);
}

TEST(ThumbnailPipeline, StartsTheLargestFilesFirst) {
    EXPECT_EQ(ThumbnailPipeline::startOrder({5, 9, 1, 9, 7}),
              (std::vector<std::size_t>{1, 3, 4, 0, 2}));
    EXPECT_TRUE(ThumbnailPipeline::startOrder({}).empty());
}

// While the first image is slow, the other worker makes every other image: nothing limits how
// far it runs ahead of the image the page waits for.
TEST(ThumbnailPipeline, WorkersRunAheadOfASlowImage) {
    test::TempDir dir;
    std::vector<ThumbnailJob> jobs;
    for (int i = 0; i < 8; ++i) {
        const QString name = QStringLiteral("p%1.jpg").arg(i);
        dir.write(name, QByteArray(i == 0 ? 100 : 10, 'x'));  // the slow one is the largest
        jobs.push_back({dir.file(name), QString(), QString()});
    }
    std::mutex mutex;
    std::condition_variable others;
    int othersDone = 0;
    bool slowSawAll = false;
    {
        ThumbnailPipeline pipeline(
            jobs,
            [&](const ThumbnailJob& job) {
                std::unique_lock<std::mutex> lock(mutex);
                if (job.sourcePath == jobs[0].sourcePath) {
                    // A deadline only so that a fault fails the test instead of hanging it.
                    slowSawAll = others.wait_for(lock, std::chrono::seconds(60),
                                                 [&] { return othersDone == 7; });
                } else {
                    ++othersDone;
                    others.notify_all();
                }
                return ThumbnailResult();
            },
            2);
        for (std::size_t k = 0; k < jobs.size(); ++k) pipeline.take(k);
    }
    EXPECT_TRUE(slowSawAll);
}

}  // namespace
}  // namespace tessaly
