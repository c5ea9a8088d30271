#include "core/catalog/thumbnailpipeline.h"

#include <QFileInfo>
#include <algorithm>
#include <numeric>

namespace tessaly {

namespace {

qint64 heldBytes(const ThumbnailResult& result) {
    return result.preview.width() > 1 ? qint64(result.preview.stride()) * result.preview.height()
                                      : 0;
}

}  // namespace

ThumbnailPipeline::ThumbnailPipeline(std::vector<ThumbnailJob> jobs, MakeFunction make, int workers,
                                     std::function<void()> stop)
    : jobs_(std::move(jobs)),
      make_(std::move(make)),
      stop_(std::move(stop)),
      started_(jobs_.size(), false) {
    std::vector<qint64> sizes;
    sizes.reserve(jobs_.size());
    for (const ThumbnailJob& job : jobs_) sizes.push_back(QFileInfo(job.sourcePath).size());
    order_ = startOrder(sizes);
    const std::size_t count = std::min<std::size_t>(std::max(workers, 1), jobs_.size());
    threads_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) threads_.emplace_back([this] { work(); });
}

ThumbnailPipeline::~ThumbnailPipeline() {
    stop();
    for (std::thread& thread : threads_) thread.join();
}

void ThumbnailPipeline::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        if (stopping_) return;
        stopping_ = true;
    }
    changed_.notify_all();
    if (stop_) stop_();
}

std::vector<std::size_t> ThumbnailPipeline::startOrder(const std::vector<qint64>& sizes) {
    std::vector<std::size_t> order(sizes.size());
    std::iota(order.begin(), order.end(), std::size_t(0));
    std::stable_sort(order.begin(), order.end(),
                     [&sizes](std::size_t a, std::size_t b) { return sizes[a] > sizes[b]; });
    return order;
}

// The largest job not started; while too many results wait, only the caller's next one.
bool ThumbnailPipeline::nextClaimable(std::size_t& k) {
    while (cursor_ < order_.size() && started_[order_[cursor_]]) ++cursor_;
    if (cursor_ == order_.size()) return false;
    if (held_ < kHeldBytes) {
        k = order_[cursor_];
        return true;
    }
    if (taken_ < jobs_.size() && !started_[taken_]) {
        k = taken_;
        return true;
    }
    return false;
}

bool ThumbnailPipeline::claim(std::size_t& k) {
    std::unique_lock<std::mutex> lock(mutex_);
    bool claimed = false;
    changed_.wait(lock, [&] {
        if (stopping_) return true;
        claimed = nextClaimable(k);
        return claimed || cursor_ == order_.size();
    });
    if (stopping_ || !claimed) return false;
    started_[k] = true;
    return true;
}

void ThumbnailPipeline::work() {
    std::size_t k = 0;
    while (claim(k)) {
        ThumbnailResult result = make_(jobs_[k]);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            held_ += heldBytes(result);
            done_.emplace(k, std::move(result));
            ++finished_;
            lastFinished_ = k;
        }
        changed_.notify_all();
    }
}

bool ThumbnailPipeline::ready(std::size_t k, std::chrono::milliseconds wait) {
    std::unique_lock<std::mutex> lock(mutex_);
    return changed_.wait_for(lock, wait, [this, k] { return done_.count(k) != 0; });
}

std::size_t ThumbnailPipeline::finished(std::size_t& last) {
    std::lock_guard<std::mutex> lock(mutex_);
    last = lastFinished_;
    return finished_;
}

ThumbnailResult ThumbnailPipeline::take(std::size_t k) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this, k] { return done_.count(k) != 0; });
    auto found = done_.find(k);
    ThumbnailResult result = std::move(found->second);
    done_.erase(found);
    held_ -= heldBytes(result);
    taken_ = k + 1;
    lock.unlock();
    changed_.notify_all();
    return result;
}

}  // namespace tessaly
