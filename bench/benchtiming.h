// What the catalogue benchmarks share: a shell that opens nothing, and the wall-clock and
// processor seconds of a piece of work.
#pragma once

#include <QElapsedTimer>
#include <ctime>

#include "core/catalog/catalogrun.h"

namespace tessaly::bench {

class NoShell : public Shell {
public:
    void openDocument(const QString&) override {}
    void startProgram(const QString&, const QString&, const QString&) override {}
};

struct Timing {
    double wall = 0;
    double cpu = 0;
};

inline double cpuSeconds() {
    timespec now{};
    clock_gettime(CLOCK_PROCESS_CPUTIME_ID, &now);
    return double(now.tv_sec) + double(now.tv_nsec) / 1e9;
}

template <typename Work>
Timing timed(Work work) {
    QElapsedTimer clock;
    clock.start();
    const double cpu = cpuSeconds();
    work();
    return Timing{clock.nsecsElapsed() / 1e9, cpuSeconds() - cpu};
}

}  // namespace tessaly::bench
