#include "core/work/stoptoken.h"

#include <atomic>
#include <map>
#include <mutex>

namespace tessaly {

struct StopState {
    std::atomic<bool> stopped{false};
    // Held while the callbacks run, so that a Callback going away waits for its own call.
    std::mutex mutex;
    std::map<int, std::function<void()>> calls;
    int nextId = 1;
};

StopToken::StopToken() : state_(std::make_shared<StopState>()) {}

void StopToken::requestStop() const {
    std::lock_guard<std::mutex> lock(state_->mutex);
    if (state_->stopped.exchange(true)) return;
    for (auto& entry : state_->calls) entry.second();
    state_->calls.clear();
}

bool StopToken::stopRequested() const noexcept { return state_->stopped.load(); }

StopToken::Callback::Callback(const StopToken& token, std::function<void()> call)
    : state_(token.state_) {
    std::unique_lock<std::mutex> lock(state_->mutex);
    if (state_->stopped.load()) {
        lock.unlock();
        call();
        return;
    }
    id_ = state_->nextId++;
    state_->calls.emplace(id_, std::move(call));
}

StopToken::Callback::~Callback() {
    std::lock_guard<std::mutex> lock(state_->mutex);
    state_->calls.erase(id_);
}

}  // namespace tessaly
