#pragma once

#include <QObject>
#include <exception>
#include <functional>
#include <memory>
#include <optional>

namespace tessaly {

// Carries calls from worker threads to the thread this object lives on (a window's).
// post() queues a call and returns; ask() queues one and waits for it to have run, with its
// answer. Calls run in the order they were made, whichever way. Once closed (the window goes
// away), waiting workers get their fallback at once and later calls are dropped, so no
// worker is ever left waiting for a window. A call made on the bridge's own thread runs at
// once.
class ThreadBridge : public QObject {
public:
    explicit ThreadBridge(QObject* parent = nullptr);
    ~ThreadBridge() override;  // closes

    void post(std::function<void()> call);
    // True when the call ran (false: the bridge was closed first). What the call throws is
    // thrown here.
    bool ask(std::function<void()> call);
    template <typename T>
    T ask(std::function<T()> call, T fallback) {
        std::optional<T> answer;
        if (!ask([&answer, &call] { answer = call(); }) || !answer) return fallback;
        return *answer;
    }
    // Called on the bridge's own thread.
    void close();

private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace tessaly
