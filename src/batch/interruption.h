#pragma once

#include <thread>

#include "core/work/stoptoken.h"

namespace tessaly::batch {

// Ctrl-C (SIGINT), SIGTERM and SIGHUP while tessaly-batch works: the first one stops the work
// in hand at its next safe point (a catalogue run keeps the pages of an earlier run, or ends its
// own with the images done; a rotation or conversion finishes the file in hand and removes its
// temporary files); a second one of the same kind ends the program at once, which leaves
// earlier pages as they were. The mode then exits with interruptedStatus().
//
// The stop token is made before the handlers are installed, so a signal that comes at any
// moment after is never lost. The handler only writes to a pipe; a thread of its own reads it
// and stops the token (which wakes whatever waits for the work).
class Interruption {
public:
    Interruption();
    // Restores the default handling.
    ~Interruption();
    Interruption(const Interruption&) = delete;
    Interruption& operator=(const Interruption&) = delete;

    // The stop that the first signal requests: hand it to the work.
    const StopToken& stop() const { return stop_; }
    // True once one of the signals arrived.
    bool caught() const;
    // 128 + the signal's number (130 for SIGINT, 143 for SIGTERM, 129 for SIGHUP).
    int interruptedStatus() const;

private:
    void watch();

    StopToken stop_;
    int pipe_[2] = {-1, -1};
    std::thread watcher_;
};

}  // namespace tessaly::batch
