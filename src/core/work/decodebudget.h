#pragma once

#include <QtGlobal>
#include <condition_variable>
#include <mutex>

namespace tessaly {

// Bounds the memory that the photographs being worked on at once hold together, across worker
// threads: an item is admitted once, for everything it decodes and makes, when its bytes fit
// beside those already in flight, and waits otherwise, so that fewer workers run at once when
// photographs are large. An item larger than the whole limit runs alone: it is admitted once
// nothing else is in flight. Waiters are admitted in the order they came, so that no item
// waits forever behind smaller ones that keep arriving. A holder must not ask for a second
// admission: it would wait for itself.
class DecodeBudget {
public:
    explicit DecodeBudget(qint64 limitBytes);
    DecodeBudget(const DecodeBudget&) = delete;
    DecodeBudget& operator=(const DecodeBudget&) = delete;

    // The limit of a run: the larger of 256 MiB and a quarter of the machine's memory (of
    // what the process may use, when an address-space or control-group limit says less).
    static qint64 defaultLimit();
    static qint64 limitFor(qint64 memoryBytes);
    static qint64 usableMemory();

    // Counts the bytes in when they fit now and nobody waits; false (nothing counted)
    // otherwise.
    bool tryAcquire(qint64 bytes);
    // Waits until the earlier waiters are in and the bytes fit, then counts them in. False,
    // without counting, once stop() has been called.
    bool acquire(qint64 bytes);
    void release(qint64 bytes);
    // Wakes every waiter; acquire() refuses from then on.
    void stop();

    qint64 limit() const { return limit_; }
    qint64 inFlight() const;
    qint64 peak() const;  // the most bytes ever in flight at once
    int waits() const;    // acquire() calls that had to wait

    // Holds an admission for its lifetime. Without a budget it admits at once.
    class Admission {
    public:
        Admission(DecodeBudget* budget, qint64 bytes);
        ~Admission();
        Admission(const Admission&) = delete;
        Admission& operator=(const Admission&) = delete;
        explicit operator bool() const { return admitted_; }

    private:
        DecodeBudget* budget_;
        qint64 bytes_;
        bool admitted_;
    };

private:
    bool fits(qint64 bytes) const;
    void admit(qint64 bytes);

    const qint64 limit_;
    mutable std::mutex mutex_;
    std::condition_variable released_;
    qint64 inFlight_ = 0;
    int holders_ = 0;
    quint64 nextTicket_ = 0;  // the place in line of the next acquire()
    quint64 serving_ = 0;     // the place in line admitted next
    qint64 peak_ = 0;
    int waits_ = 0;
    bool stopped_ = false;
};

}  // namespace tessaly
