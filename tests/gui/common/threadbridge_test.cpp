// The bridge between a worker and the window's thread: what it promises once closed.
#include "gui/common/threadbridge.h"

#include <gtest/gtest.h>

#include <QCoreApplication>
#include <QDeadlineTimer>
#include <QThread>
#include <atomic>
#include <string>
#include <thread>

namespace tessaly {
namespace {

// Lets the window's events run until the condition holds (a guard of a minute keeps a fault
// from hanging the suite).
bool processUntil(const std::function<bool()>& condition) {
    const QDeadlineTimer guard(60000);
    while (!condition()) {
        if (guard.hasExpired()) return false;
        QCoreApplication::processEvents(QEventLoop::AllEvents, 20);
        QThread::msleep(1);
    }
    return true;
}

// Calls posted by a worker before the bridge closes but not yet run, and calls posted after,
// are dropped; one posted while open runs.
TEST(ThreadBridge, CallsPostedAfterCloseAreDropped) {
    ThreadBridge bridge;
    std::atomic<int> ran{0};
    std::thread([&] { bridge.post([&] { ran += 1; }); }).join();
    QCoreApplication::processEvents();
    EXPECT_EQ(ran.load(), 1);
    std::thread([&] { bridge.post([&] { ran += 10; }); }).join();  // queued, not yet run
    bridge.close();
    std::thread([&] { bridge.post([&] { ran += 100; }); }).join();
    QCoreApplication::processEvents();
    EXPECT_EQ(ran.load(), 1);
    // An ask after close gets its fallback without waiting.
    bool answer = true;
    std::thread([&] { answer = bridge.ask<bool>([] { return true; }, false); }).join();
    EXPECT_FALSE(answer);
}

// The prompt of an ask closes the bridge (the window goes away meanwhile): the worker gets its
// fallback at once and goes on, while the call, still running, uses what it holds.
TEST(ThreadBridge, AskSurvivesTheBridgeClosingInsideThePrompt) {
    ThreadBridge bridge;
    std::atomic<bool> workerReturned{false};
    std::string seen;
    bool answer = true;
    std::thread worker([&] {
        std::string text(200, 'q');  // the worker's own, as a question's text is
        answer = bridge.ask<bool>(
            [&bridge, &workerReturned, &seen, text] {
                bridge.close();
                // The worker has left ask() and reused its stack before the prompt ends.
                processUntil([&] { return workerReturned.load(); });
                seen = text;
                return true;
            },
            false);
        std::string scribble(400, 'x');  // what a worker does next with its stack
        workerReturned = true;
        (void)scribble;
    });
    ASSERT_TRUE(processUntil([&] { return workerReturned.load(); }));
    worker.join();
    QCoreApplication::processEvents();
    EXPECT_FALSE(answer);
    EXPECT_EQ(seen, std::string(200, 'q'));
}

}  // namespace
}  // namespace tessaly
