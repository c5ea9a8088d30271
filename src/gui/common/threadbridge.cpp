#include "gui/common/threadbridge.h"

#include <QThread>
#include <condition_variable>
#include <deque>
#include <mutex>

namespace tessaly {

struct ThreadBridge::State {
    std::mutex mutex;
    std::condition_variable answered;
    bool closed = false;
    std::deque<std::function<void()>> calls;  // posted, not yet run
};

ThreadBridge::ThreadBridge(QObject* parent) : QObject(parent), state_(std::make_shared<State>()) {}

ThreadBridge::~ThreadBridge() { close(); }

// Dropped when the bridge is closed now, or by the time the call's turn comes.
void ThreadBridge::post(std::function<void()> call) {
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        if (state_->closed) return;
        state_->calls.push_back(std::move(call));
    }
    QMetaObject::invokeMethod(this, "runNext", Qt::QueuedConnection);
}

// One queued turn for each call posted, in their order.
void ThreadBridge::runNext() {
    std::function<void()> call;
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        if (state_->closed || state_->calls.empty()) return;
        call = std::move(state_->calls.front());
        state_->calls.pop_front();
    }
    call();
}

bool ThreadBridge::ask(std::function<void()> call) {
    if (QThread::currentThread() == thread()) {
        call();
        return true;
    }
    struct Answer {
        bool done = false;
        std::exception_ptr failure;
    };
    const auto answer = std::make_shared<Answer>();
    const std::shared_ptr<State> state = state_;
    // The queued call owns the call and the answer: the worker may stop waiting while it runs.
    post([state, answer, call = std::move(call)] {
        try {
            call();
        } catch (...) {
            answer->failure = std::current_exception();
        }
        {
            std::lock_guard<std::mutex> lock(state->mutex);
            answer->done = true;
        }
        state->answered.notify_all();
    });
    std::unique_lock<std::mutex> lock(state->mutex);
    state->answered.wait(lock, [&] { return answer->done || state->closed; });
    if (!answer->done) return false;
    if (answer->failure) std::rethrow_exception(answer->failure);
    return true;
}

void ThreadBridge::close() {
    std::deque<std::function<void()>> dropped;
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->closed = true;
        dropped.swap(state_->calls);
    }
    state_->answered.notify_all();
}

}  // namespace tessaly
