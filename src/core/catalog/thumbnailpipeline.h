#pragma once

#include <condition_variable>
#include <cstddef>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "core/catalog/thumbnailwork.h"

namespace tessaly {

// Makes the thumbnails of a run on several worker threads while the caller takes the results
// one by one in job order. A worker starts job k only when k is fewer than `workers` jobs
// ahead of the caller, so at most `workers` photographs are decoded at any moment and no
// result waits long in memory.
class ThumbnailPipeline {
public:
    ThumbnailPipeline(std::vector<ThumbnailJob> jobs, const ThumbnailBox& box, bool skipExisting,
                      int workers);
    // Hands out no more jobs and waits for the ones in hand.
    ~ThumbnailPipeline();
    ThumbnailPipeline(const ThumbnailPipeline&) = delete;
    ThumbnailPipeline& operator=(const ThumbnailPipeline&) = delete;

    // The result of job k, waiting for it when needed. k grows by one from 0 with each call.
    ThumbnailResult take(std::size_t k);

private:
    void work();
    bool claim(std::size_t& k);

    std::vector<ThumbnailJob> jobs_;
    ThumbnailBox box_;
    bool skipExisting_;
    std::size_t window_;
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t next_ = 0;   // next job to hand out
    std::size_t taken_ = 0;  // jobs the caller has taken
    bool stopping_ = false;
    std::map<std::size_t, ThumbnailResult> done_;
    std::vector<std::thread> threads_;
};

}  // namespace tessaly
