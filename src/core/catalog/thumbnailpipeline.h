#pragma once

#include <QtGlobal>
#include <chrono>
#include <condition_variable>
#include <cstddef>
#include <functional>
#include <map>
#include <mutex>
#include <thread>
#include <vector>

#include "core/catalog/thumbnailwork.h"

namespace tessaly {

// Makes the thumbnails of a run on worker threads while the caller takes the results one by
// one in job order. Workers start the largest files first and run as far ahead of the caller
// as there is work, so none waits behind one slow photograph; a finished result holds only
// its thumbnail until the caller takes it. Should the results waiting pass kHeldBytes,
// workers make only the job the caller needs next until it has taken some.
class ThumbnailPipeline {
public:
    using MakeFunction = std::function<ThumbnailResult(const ThumbnailJob&)>;
    static constexpr qint64 kHeldBytes = qint64(64) << 20;

    // stop is called when the pipeline is dropped, before the workers are joined (to wake a
    // worker that waits inside make).
    ThumbnailPipeline(std::vector<ThumbnailJob> jobs, MakeFunction make, int workers,
                      std::function<void()> stop = {});
    // Hands out no more jobs and waits for the ones in hand.
    ~ThumbnailPipeline();
    // Hands out no more jobs (and calls stop), without waiting for the ones in hand.
    void stop();
    ThumbnailPipeline(const ThumbnailPipeline&) = delete;
    ThumbnailPipeline& operator=(const ThumbnailPipeline&) = delete;

    // The order in which jobs start: the largest file first, list order among equal sizes.
    static std::vector<std::size_t> startOrder(const std::vector<qint64>& sizes);

    // Waits at most `wait` for the result of job k; true when it is there.
    bool ready(std::size_t k, std::chrono::milliseconds wait);
    // The result of job k, waiting for it when needed. k grows by one from 0 with each call.
    ThumbnailResult take(std::size_t k);
    const ThumbnailJob& job(std::size_t k) const { return jobs_[k]; }
    // How many jobs are finished (taken or not), and the last of them in `last`.
    std::size_t finished(std::size_t& last);

private:
    void work();
    bool claim(std::size_t& k);
    bool nextClaimable(std::size_t& k);

    std::vector<ThumbnailJob> jobs_;
    MakeFunction make_;
    std::function<void()> stop_;
    std::vector<std::size_t> order_;
    std::vector<bool> started_;
    std::size_t cursor_ = 0;  // into order_: every job before it has started
    std::mutex mutex_;
    std::condition_variable changed_;
    std::size_t taken_ = 0;  // jobs the caller has taken
    qint64 held_ = 0;        // bytes of the thumbnails waiting in done_
    bool stopping_ = false;
    std::size_t finished_ = 0;      // jobs whose results were made
    std::size_t lastFinished_ = 0;  // the job finished last
    std::map<std::size_t, ThumbnailResult> done_;
    std::vector<std::thread> threads_;
};

}  // namespace tessaly
