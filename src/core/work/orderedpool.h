#pragma once

#include <QtGlobal>
#include <condition_variable>
#include <exception>
#include <functional>
#include <map>
#include <memory>
#include <mutex>
#include <optional>
#include <thread>
#include <vector>

#include "core/work/decodebudget.h"

namespace tessaly {

// What every ordered pool shares: the start orders and the default number of workers.
struct PoolPlanning {
    // One worker per core.
    static int defaultWorkers();
    // The largest first, list order among equal sizes.
    static std::vector<int> largestFirst(const std::vector<qint64>& sizes);
};

// Work on the items of a list with several threads while the caller takes the results one by
// one in list order, as one thread would give them; the caller does what must keep the list's
// order (questions, messages, writes) itself. Workers start the items in the plan's start
// order and run ahead of the caller at most `ahead` items (0: as far as there is work) and,
// while the results waiting hold `heldLimit` bytes or more, make only the item the caller
// needs next. With weigh(), each item is admitted by the decode budget once, for the bytes it
// gives, before make() runs; without it, make() admits its item itself (once: see
// DecodeBudget), and the pool only stops the budget when it stops.
// Every wait is on a condition variable: nothing polls.
//
// stop() returns at once: take() gives nothing from then on and no item starts; the items in
// hand finish in the background and their results are dropped. The destructor waits for them,
// so what make() uses must outlive the pool.
template <typename Result>
class OrderedPool : public PoolPlanning {
public:
    struct Plan {
        int workers = 1;
        int ahead = 0;
        std::vector<int> startOrder;                     // empty: list order
        std::function<qint64(int index)> weigh;          // empty: make() admits its item
        std::function<qint64(const Result&)> heldBytes;  // empty: results hold nothing
        qint64 heldLimit = 0;                            // 0: no bound
        std::shared_ptr<DecodeBudget> budget;            // null: a budget of the default limit
    };
    using Make = std::function<Result(int index)>;
    // Called while take() waits, whenever more items are finished: how many, and the last.
    using Progress = std::function<void(int finished, int last)>;

    OrderedPool(int count, Plan plan, Make make)
        : count_(count), plan_(std::move(plan)), make_(std::move(make)), started_(count, false) {
        if (!plan_.budget)
            plan_.budget = std::make_shared<DecodeBudget>(DecodeBudget::defaultLimit());
        if (plan_.startOrder.empty()) {
            for (int i = 0; i < count_; ++i) plan_.startOrder.push_back(i);
        }
        const int threads = std::min(std::max(plan_.workers, 1), count_);
        for (int i = 0; i < threads; ++i) threads_.emplace_back([this] { work(); });
    }
    ~OrderedPool() {
        stop();
        for (std::thread& thread : threads_) thread.join();
    }
    OrderedPool(const OrderedPool&) = delete;
    OrderedPool& operator=(const OrderedPool&) = delete;

    // The result of item k (k = 0, 1, ... in turn), waiting for it; what making it threw is
    // thrown here. Nothing once stop() was called.
    std::optional<Result> take(int k, const Progress& progress = {}) {
        std::unique_lock<std::mutex> lock(mutex_);
        int reported = -1;
        for (;;) {
            if (stopping_) return std::nullopt;
            if (done_.count(k)) break;
            if (progress && finished_ != reported) {
                reported = finished_;
                const int last = lastFinished_;
                lock.unlock();
                progress(reported, last);
                lock.lock();
                continue;
            }
            changed_.wait(lock);
        }
        auto found = done_.find(k);
        Made made = std::move(found->second);
        done_.erase(found);
        held_ -= made.held;
        taken_ = k + 1;
        lock.unlock();
        changed_.notify_all();
        if (made.failure) std::rethrow_exception(made.failure);
        return std::move(made.result);
    }

    // No item starts from now on and take() gives nothing; returns without waiting.
    void stop() {
        {
            std::lock_guard<std::mutex> lock(mutex_);
            if (stopping_) return;
            stopping_ = true;
        }
        changed_.notify_all();
        plan_.budget->stop();
    }

    // How many items are finished (taken or not), and the last of them in `last`.
    int finished(int& last) {
        std::lock_guard<std::mutex> lock(mutex_);
        last = lastFinished_;
        return finished_;
    }

private:
    struct Made {
        std::optional<Result> result;
        std::exception_ptr failure;
        qint64 held = 0;
    };

    bool withinBounds(int k) const {
        if (plan_.ahead > 0 && k >= taken_ + plan_.ahead) return false;
        return plan_.heldLimit <= 0 || held_ < plan_.heldLimit;
    }

    // The first item of the start order not started, when the bounds allow it; else the
    // caller's next one, when that has not started.
    bool nextClaimable(int& k) {
        while (cursor_ < count_ && started_[plan_.startOrder[cursor_]]) ++cursor_;
        if (cursor_ == count_) return false;
        if (withinBounds(plan_.startOrder[cursor_])) {
            k = plan_.startOrder[cursor_];
            return true;
        }
        if (taken_ < count_ && !started_[taken_]) {
            k = taken_;
            return true;
        }
        return false;
    }

    bool claim(int& k) {
        std::unique_lock<std::mutex> lock(mutex_);
        bool claimed = false;
        changed_.wait(lock, [&] {
            if (stopping_) return true;
            claimed = nextClaimable(k);
            return claimed || cursor_ == count_;
        });
        if (stopping_ || !claimed) return false;
        started_[k] = true;
        return true;
    }

    void work() {
        int k = 0;
        while (claim(k)) {
            Made made;
            try {
                // An item that admits itself must not wait behind an admission of its own.
                const DecodeBudget::Admission admission(plan_.weigh ? plan_.budget.get() : nullptr,
                                                        plan_.weigh ? plan_.weigh(k) : 0);
                if (admission) made.result = make_(k);
            } catch (...) {
                made.failure = std::current_exception();
            }
            if (made.result && plan_.heldBytes) made.held = plan_.heldBytes(*made.result);
            std::unique_lock<std::mutex> lock(mutex_);
            ++finished_;
            lastFinished_ = k;
            if (!stopping_) {
                held_ += made.held;
                done_.emplace(k, std::move(made));
            }
            lock.unlock();
            changed_.notify_all();
        }
    }

    const int count_;
    Plan plan_;
    Make make_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::vector<bool> started_;
    int cursor_ = 0;  // into the start order: every item before it has started
    int taken_ = 0;   // items the caller has taken
    qint64 held_ = 0;
    bool stopping_ = false;
    int finished_ = 0;
    int lastFinished_ = 0;
    std::map<int, Made> done_;
    std::vector<std::thread> threads_;
};

}  // namespace tessaly
