// The worker side of a run: the decode budget's admissions and the ordered pool.
#include <gtest/gtest.h>

#include <QDir>
#include <atomic>
#include <chrono>
#include <condition_variable>
#include <mutex>
#include <stdexcept>
#include <thread>

#include "core/catalog/thumbnailwork.h"
#include "core/conversion/conversionrun.h"
#include "core/work/decodebudget.h"
#include "core/work/orderedpool.h"
#include "support/tempdir.h"
#include "support/testformats.h"
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

// An item larger than the whole limit waits until nothing else is in flight, and what comes
// after it, though it fits, does not get in first: it would keep the large one waiting.
TEST(DecodeBudget, AnItemOverTheLimitRunsAloneAndIsNotOvertaken) {
    DecodeBudget budget(100);
    ASSERT_TRUE(budget.acquire(60));
    bool admitted = false;
    std::thread alone([&] { admitted = budget.acquire(500); });
    while (budget.waits() == 0) std::this_thread::yield();
    const bool overtook = budget.tryAcquire(10);
    if (overtook) budget.release(10);
    EXPECT_FALSE(overtook);
    budget.release(60);
    alone.join();
    EXPECT_TRUE(admitted);
    EXPECT_FALSE(budget.tryAcquire(1));  // nothing beside it
    budget.release(500);
    EXPECT_EQ(budget.inFlight(), 0);
}

// A conversion is weighed from the file's header: a PNG of one colour is a small file that
// decodes into a large picture.
TEST(DecodeBudget, ConversionsAreWeighedFromTheirHeaders) {
    test::TempDir dir;
    dir.write("flat.png", test::makeTestPng(3000, 2000));
    dir.write("flat.bmp", test::makeTestBmp24(300, 200));
    EXPECT_GE(ConversionRun::decodeBytes(dir.file("flat.png")), 3 * 3000 * 2000);
    EXPECT_EQ(ConversionRun::decodeBytes(dir.file("flat.bmp")), 4 * 300 * 200);
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
    auto budget = std::make_shared<DecodeBudget>(3 * each);
    {
        OrderedPool<ThumbnailResult>::Plan plan;
        plan.workers = 12;
        plan.budget = budget;
        OrderedPool<ThumbnailResult> pool(int(jobs.size()), plan, [&](int k) {
            return makeThumbnail(jobs[k], box, false, budget.get());
        });
        for (int k = 0; k < int(jobs.size()); ++k) {
            const std::optional<ThumbnailResult> result = pool.take(k);
            ASSERT_TRUE(result);
            EXPECT_FALSE(result->loadError);
            EXPECT_EQ(result->preview.width(), 110);
        }
    }
    EXPECT_LE(budget->peak(), 3 * each);
    EXPECT_GE(budget->peak(), each);
    EXPECT_EQ(budget->inFlight(), 0);
}

TEST(OrderedPool, StartsTheLargestFilesFirst) {
    EXPECT_EQ(PoolPlanning::largestFirst({5, 9, 1, 9, 7}), (std::vector<int>{1, 3, 4, 0, 2}));
    EXPECT_TRUE(PoolPlanning::largestFirst({}).empty());
}

// While the first image is slow, the other worker makes every other image: nothing limits how
// far it runs ahead of the image the page waits for.
TEST(OrderedPool, WorkersRunAheadOfASlowImage) {
    std::mutex mutex;
    std::condition_variable others;
    int othersDone = 0;
    bool slowSawAll = false;
    {
        OrderedPool<int>::Plan plan;
        plan.workers = 2;
        plan.startOrder = PoolPlanning::largestFirst({100, 10, 10, 10, 10, 10, 10, 10});
        OrderedPool<int> pool(8, plan, [&](int k) {
            std::unique_lock<std::mutex> lock(mutex);
            if (k == 0) {
                // A deadline only so that a fault fails the test instead of hanging it.
                slowSawAll = others.wait_for(lock, std::chrono::seconds(60),
                                             [&] { return othersDone == 7; });
            } else {
                ++othersDone;
                others.notify_all();
            }
            return k;
        });
        for (int k = 0; k < 8; ++k) EXPECT_EQ(pool.take(k), k);
    }
    EXPECT_TRUE(slowSawAll);
}

// How far the workers may run ahead of the caller: `ahead` items, or until the results waiting
// hold heldLimit bytes (one a result here); the caller's next item is always made. Each row
// makes ten items while the caller has taken none, and counts the items started.
TEST(OrderedPool, ReadAheadStaysWithinItsBounds) {
    struct Row {
        int workers;
        int ahead;
        qint64 heldLimit;
        int started;  // once the workers have nothing more they may start
    };
    for (const Row& row :
         {Row{3, 2, 0, 2}, Row{3, 5, 0, 5}, Row{1, 0, 3, 3}, Row{1, 0, 1, 1}, Row{1, 4, 2, 2}}) {
        SCOPED_TRACE(row.ahead * 100 + row.heldLimit);
        std::mutex mutex;
        std::condition_variable changed;
        int started = 0;
        OrderedPool<int>::Plan plan;
        plan.workers = row.workers;
        plan.ahead = row.ahead;
        plan.heldLimit = row.heldLimit;
        plan.heldBytes = [](const int&) { return qint64(1); };
        OrderedPool<int> pool(10, plan, [&](int k) {
            std::lock_guard<std::mutex> lock(mutex);
            ++started;
            changed.notify_all();
            return k;
        });
        int last = -1;
        {
            // Deadlines only so that a fault fails the test instead of hanging it; a little
            // longer so that a worker past the bound would be seen.
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait_for(lock, std::chrono::seconds(30),
                             [&] { return started >= row.started; });
            changed.wait_for(lock, std::chrono::milliseconds(50), [&] { return false; });
            EXPECT_EQ(started, row.started);
        }
        for (int k = 0; k < 10; ++k) EXPECT_EQ(pool.take(k), k);
        EXPECT_EQ(pool.finished(last), 10);
    }
}

// stop() returns while an item is still being made; take() gives nothing from then on, what
// an item threw reaches the caller, and the item in hand is dropped when it finishes.
TEST(OrderedPool, StopReturnsAtOnceAndDropsTheItemsInHand) {
    std::mutex mutex;
    std::condition_variable changed;
    bool release = false;
    bool inHand = false;
    bool madeAfterStop = false;
    {
        OrderedPool<int>::Plan plan;
        plan.workers = 2;
        plan.ahead = 1;
        OrderedPool<int> pool(6, plan, [&](int k) -> int {
            if (k == 1) throw std::runtime_error("unreadable");
            if (k == 2) {
                std::unique_lock<std::mutex> lock(mutex);
                inHand = true;
                changed.notify_all();
                changed.wait(lock, [&] { return release; });
                madeAfterStop = true;
            }
            return k * 10;
        });
        EXPECT_EQ(pool.take(0), 0);
        EXPECT_THROW(pool.take(1), std::runtime_error);
        {
            std::unique_lock<std::mutex> lock(mutex);
            changed.wait(lock, [&] { return inHand; });
        }
        std::thread stopper([&] { pool.stop(); });
        stopper.join();  // returned although item 2 is still in hand
        EXPECT_EQ(pool.take(2), std::nullopt);
        {
            std::lock_guard<std::mutex> lock(mutex);
            release = true;
        }
        changed.notify_all();
    }
    EXPECT_TRUE(madeAfterStop);
}

}  // namespace
}  // namespace tessaly
