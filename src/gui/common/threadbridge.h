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
// away), waiting workers get their fallback at once and calls not yet run are dropped, so no
// worker is ever left waiting for a window. A call made on the bridge's own thread runs at
// once.
//
// A call is owned by the bridge until it has run, and a worker may stop waiting for it while
// it runs (the bridge closed from inside a prompt): so what a call uses it holds by value,
// never by reference to the asking worker's stack.
//
// The calls wait in the bridge's own queue, under its own lock; Qt's queued call only says that
// one is there. So the hand-over from the worker to the window's thread is one that a thread
// checker sees.
class ThreadBridge : public QObject {
    Q_OBJECT
public:
    explicit ThreadBridge(QObject* parent = nullptr);
    ~ThreadBridge() override;  // closes

    void post(std::function<void()> call);
    // True when the call ran (false: the bridge was closed first, or while it ran). What the
    // call throws is thrown here.
    bool ask(std::function<void()> call);
    template <typename T>
    T ask(std::function<T()> call, T fallback) {
        const auto answer = std::make_shared<std::optional<T>>();
        if (!ask([answer, call = std::move(call)] { *answer = call(); })) return fallback;
        return answer->value_or(fallback);
    }
    // Called on the bridge's own thread.
    void close();

private slots:
    void runNext();

private:
    struct State;
    std::shared_ptr<State> state_;
};

}  // namespace tessaly
