#include "batch/interruption.h"

#include <fcntl.h>
#include <signal.h>
#include <unistd.h>

#include <cerrno>

namespace tessaly::batch {

namespace {

const int kSignals[] = {SIGINT, SIGTERM, SIGHUP};

// What a signal handler may touch: the caught signal and the pipe's writing end.
volatile sig_atomic_t caughtSignal = 0;
volatile sig_atomic_t wakeFd = -1;

void onSignal(int number) {
    const int saved = errno;
    if (caughtSignal == 0) caughtSignal = number;
    const char byte = 1;
    if (wakeFd >= 0) (void)!::write(wakeFd, &byte, 1);
    errno = saved;
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

Interruption::Interruption() {
    caughtSignal = 0;
    if (::pipe2(pipe_, O_CLOEXEC) == 0) {
        wakeFd = pipe_[1];
        watcher_ = std::thread([this] { watch(); });
    }
    for (const int number : kSignals) handle(number, onSignal);
}

Interruption::~Interruption() {
    for (const int number : kSignals) handle(number, SIG_DFL);
    if (watcher_.joinable()) {
        wakeFd = -1;
        ::close(pipe_[1]);  // the watcher reads the end of the pipe and returns
        watcher_.join();
        ::close(pipe_[0]);
    }
}

// Waits for the handler's byte (or the pipe's end) and stops the work.
void Interruption::watch() {
    char byte = 0;
    ssize_t got = 0;
    do {
        got = ::read(pipe_[0], &byte, 1);
    } while (got < 0 && errno == EINTR);
    if (got == 1 || caughtSignal != 0) stop_.requestStop();
}

bool Interruption::caught() const { return caughtSignal != 0; }

int Interruption::interruptedStatus() const { return 128 + caughtSignal; }

}  // namespace tessaly::batch
