#pragma once

#include <QThread>
#include <QtGlobal>
#include <algorithm>
#include <chrono>
#include <condition_variable>
#include <exception>
#include <functional>
#include <map>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "core/catalog/decodebudget.h"

namespace tessaly {

// Work on a list of files with several threads while the caller sees the results in list
// order, as one thread would give them: workers make the items in list order, at most
// `workers` beyond the one the caller takes next, each decode admitted by a decode budget for
// the bytes that weigh() says it needs; the caller takes the results one by one and does
// what must keep the list's order (questions, messages, writes) itself.
template <typename Result>
class OrderedJobs {
public:
    using Make = std::function<Result(int index)>;
    using Weigh = std::function<qint64(int index)>;

    OrderedJobs(int count, int workers, Weigh weigh, Make make)
        : count_(count),
          ahead_(std::max(workers, 1)),
          weigh_(std::move(weigh)),
          make_(std::move(make)),
          budget_(DecodeBudget::defaultLimit()) {
        const int threads = std::min(ahead_, count_);
        for (int i = 0; i < threads; ++i) threads_.emplace_back([this] { work(); });
    }
    // Hands out no more items and waits for the ones in hand.
    ~OrderedJobs() {
        stop();
        for (std::thread& thread : threads_) thread.join();
    }
    OrderedJobs(const OrderedJobs&) = delete;
    OrderedJobs& operator=(const OrderedJobs&) = delete;

    // The default number of workers: one per core.
    static int defaultWorkers() { return std::max(1, QThread::idealThreadCount()); }

    // The result of item k (k = 0, 1, ... in turn), waiting for it; what making it threw is
    // thrown here. Nothing once stopped() says so (asked every 40 ms while waiting) or stop()
    // was called.
    std::optional<Result> take(int k, const std::function<bool()>& stopped = {}) {
        std::unique_lock<std::mutex> lock(mutex_);
        while (!done_.count(k)) {
            if (stopping_) return std::nullopt;
            changed_.wait_for(lock, std::chrono::milliseconds(40));
            if (stopped && !done_.count(k)) {
                lock.unlock();
                const bool stop = stopped();
                lock.lock();
                if (stop) return std::nullopt;
            }
        }
        auto found = done_.find(k);
        std::optional<Result> result = std::move(found->second.result);
        const std::exception_ptr failure = found->second.failure;
        done_.erase(found);
        taken_ = k + 1;
        lock.unlock();
        changed_.notify_all();
        if (failure) std::rethrow_exception(failure);
        return result;
    }

    // No more items are started; the caller's take() gives nothing from now on.
    void stop() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            stopping_ = true;
        }
        changed_.notify_all();
        budget_.stop();
    }

private:
    bool claim(int& k) {
        std::unique_lock<std::mutex> lock(mutex_);
        changed_.wait(lock,
                      [&] { return stopping_ || next_ >= count_ || next_ < taken_ + ahead_; });
        if (stopping_ || next_ >= count_) return false;
        k = next_++;
        return true;
    }

    void work() {
        int k = 0;
        while (claim(k)) {
            Made made;
            try {
                const DecodeBudget::Admission admission(&budget_, weigh_ ? weigh_(k) : 0);
                if (!admission) continue;  // stopped
                made.result = make_(k);
            } catch (...) {
                made.failure = std::current_exception();
            }
            std::lock_guard<std::mutex> lock(mutex_);
            done_.emplace(k, std::move(made));
            changed_.notify_all();
        }
    }

    struct Made {
        std::optional<Result> result;
        std::exception_ptr failure;
    };

    const int count_;
    const int ahead_;
    Weigh weigh_;
    Make make_;
    DecodeBudget budget_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::map<int, Made> done_;
    int next_ = 0;   // the next item to start
    int taken_ = 0;  // items the caller has taken
    bool stopping_ = false;
    std::vector<std::thread> threads_;
};

}  // namespace tessaly
