#pragma once

#include <functional>
#include <memory>

namespace tessaly {

// The stop of one piece of long work, made before the work starts and handed to it by value:
// every copy shares one state, which goes from "going" to "stopped" once and never back. The
// work asks stopRequested() at its safe points; what waits (a worker pool, a decode budget)
// registers a Callback that wakes it.
class StopToken {
public:
    StopToken();

    // Marks the work stopped and runs the registered callbacks on this thread. Later calls do
    // nothing. Not for a signal handler (it takes a lock): a handler wakes a thread that calls
    // it.
    void requestStop() const;
    bool stopRequested() const noexcept;

    // Runs `call` once when the token is stopped, at once when it already is; unregistered
    // when it goes. Its destructor waits while the call runs on another thread.
    class Callback {
    public:
        Callback(const StopToken& token, std::function<void()> call);
        ~Callback();
        Callback(const Callback&) = delete;
        Callback& operator=(const Callback&) = delete;

    private:
        std::shared_ptr<struct StopState> state_;
        int id_ = 0;
    };

private:
    std::shared_ptr<struct StopState> state_;
};

}  // namespace tessaly
