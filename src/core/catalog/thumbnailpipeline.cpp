#include "core/catalog/thumbnailpipeline.h"

#include <algorithm>

namespace tessaly {

ThumbnailPipeline::ThumbnailPipeline(std::vector<ThumbnailJob> jobs, const ThumbnailBox& box,
                                     bool skipExisting, int workers)
    : jobs_(std::move(jobs)),
      box_(box),
      skipExisting_(skipExisting),
      window_(static_cast<std::size_t>(std::max(workers, 1))) {
    const std::size_t count = std::min(window_, jobs_.size());
    threads_.reserve(count);
    for (std::size_t i = 0; i < count; ++i) threads_.emplace_back([this] { work(); });
}

ThumbnailPipeline::~ThumbnailPipeline() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopping_ = true;
    }
    changed_.notify_all();
    for (std::thread& thread : threads_) thread.join();
}

bool ThumbnailPipeline::claim(std::size_t& k) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(
        lock, [this] { return stopping_ || next_ >= jobs_.size() || next_ < taken_ + window_; });
    if (stopping_ || next_ >= jobs_.size()) return false;
    k = next_++;
    return true;
}

void ThumbnailPipeline::work() {
    std::size_t k = 0;
    while (claim(k)) {
        ThumbnailResult result = makeThumbnail(jobs_[k], box_, skipExisting_);
        {
            std::lock_guard<std::mutex> lock(mutex_);
            done_.emplace(k, std::move(result));
        }
        changed_.notify_all();
    }
}

ThumbnailResult ThumbnailPipeline::take(std::size_t k) {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this, k] { return done_.count(k) != 0; });
    auto found = done_.find(k);
    ThumbnailResult result = std::move(found->second);
    done_.erase(found);
    taken_ = k + 1;
    lock.unlock();
    changed_.notify_all();
    return result;
}

}  // namespace tessaly
