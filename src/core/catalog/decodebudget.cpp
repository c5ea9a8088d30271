#include "core/catalog/decodebudget.h"

#include <unistd.h>

#include <algorithm>

namespace tessaly {

DecodeBudget::DecodeBudget(qint64 limitBytes) : limit_(limitBytes) {}

qint64 DecodeBudget::limitFor(qint64 physicalBytes) {
    return std::max<qint64>(qint64(256) << 20, physicalBytes / 4);
}

qint64 DecodeBudget::defaultLimit() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    return limitFor(pages > 0 && pageSize > 0 ? qint64(pages) * pageSize : 0);
}

// Nothing in flight admits anything; otherwise the bytes must fit under the limit.
bool DecodeBudget::fits(qint64 bytes) const {
    return holders_ == 0 || inFlight_ + std::max<qint64>(bytes, 0) <= limit_;
}

void DecodeBudget::admit(qint64 bytes) {
    inFlight_ += std::max<qint64>(bytes, 0);
    ++holders_;
    peak_ = std::max(peak_, inFlight_);
}

bool DecodeBudget::tryAcquire(qint64 bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopped_ || !fits(bytes)) return false;
    admit(bytes);
    return true;
}

bool DecodeBudget::acquire(qint64 bytes) {
    std::unique_lock<std::mutex> lock(mutex_);
    if (!stopped_ && !fits(bytes)) {
        ++waits_;
        released_.wait(lock, [&] { return stopped_ || fits(bytes); });
    }
    if (stopped_) return false;
    admit(bytes);
    return true;
}

void DecodeBudget::release(qint64 bytes) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        inFlight_ -= std::max<qint64>(bytes, 0);
        --holders_;
    }
    released_.notify_all();
}

void DecodeBudget::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    released_.notify_all();
}

qint64 DecodeBudget::inFlight() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return inFlight_;
}

qint64 DecodeBudget::peak() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return peak_;
}

int DecodeBudget::waits() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return waits_;
}

DecodeBudget::Admission::Admission(DecodeBudget* budget, qint64 bytes)
    : budget_(budget), bytes_(bytes), admitted_(!budget || budget->acquire(bytes)) {}

DecodeBudget::Admission::~Admission() {
    if (budget_ && admitted_) budget_->release(bytes_);
}

}  // namespace tessaly
