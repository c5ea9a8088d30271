#include "gui/common/threadbridge.h"

#include <QThread>
#include <condition_variable>
#include <mutex>

namespace tessaly {

struct ThreadBridge::State {
    std::mutex mutex;
    std::condition_variable answered;
    bool closed = false;
};

ThreadBridge::ThreadBridge(QObject* parent) : QObject(parent), state_(std::make_shared<State>()) {}

ThreadBridge::~ThreadBridge() { close(); }

void ThreadBridge::post(std::function<void()> call) {
    QMetaObject::invokeMethod(this, std::move(call), Qt::QueuedConnection);
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
    auto answer = std::make_shared<Answer>();
    const std::shared_ptr<State> state = state_;
    {
        std::lock_guard<std::mutex> lock(state->mutex);
        if (state->closed) return false;
    }
    // The worker waits until the call has run or the bridge is closed (on this thread), so the
    // call it lends is still there whenever the check below finds the bridge open.
    post([state, answer, &call] {
        {
            std::lock_guard<std::mutex> lock(state->mutex);
            if (state->closed) return;
        }
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
    {
        std::lock_guard<std::mutex> lock(state_->mutex);
        state_->closed = true;
    }
    state_->answered.notify_all();
}

}  // namespace tessaly
