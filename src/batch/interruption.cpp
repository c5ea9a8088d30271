#include "batch/interruption.h"

#include <signal.h>

#include <atomic>

#include "core/catalog/catalogrun.h"

namespace tessaly::batch {

namespace {

const int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// What a signal handler may touch: lock-free atomics only.
std::atomic<CatalogRun*> watchedRun{nullptr};
volatile sig_atomic_t caughtSignal = 0;

void onSignal(int number) {
    if (caughtSignal == 0) caughtSignal = number;
    CatalogRun* run = watchedRun.load();
    if (run != nullptr) run->cancel();
}

void handle(int number, void (*handler)(int)) {
    struct sigaction action {};
    action.sa_handler = handler;
    sigemptyset(&action.sa_mask);
    // The handler is reset by its first call, so a second signal ends the program.
    action.sa_flags = handler == SIG_DFL ? 0 : SA_RESETHAND | SA_RESTART;
    sigaction(number, &action, nullptr);
}

}  // namespace

Interruption::Interruption(CatalogRun* run) {
    caughtSignal = 0;
    watchedRun.store(run);
    for (const int number : kSignals) handle(number, onSignal);
}

Interruption::~Interruption() {
    for (const int number : kSignals) handle(number, SIG_DFL);
    watchedRun.store(nullptr);
}

bool Interruption::caught() const { return caughtSignal != 0; }

int Interruption::interruptedStatus() const { return 128 + caughtSignal; }

}  // namespace tessaly::batch
