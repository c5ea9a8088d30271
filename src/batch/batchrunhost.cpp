#include "batch/batchrunhost.h"

#include <unistd.h>

#include <cstdio>

#include "core/pages/pagekind.h"
#include "core/text/formatting.h"

namespace tessaly::batch {

BatchRunHost::BatchRunHost(bool quiet, bool openPage)
    : quiet_(quiet), openPage_(openPage), terminal_(isatty(STDERR_FILENO) != 0) {
    clock_.start();
}

// One line or bar step per image once its photograph is read.
void BatchRunHost::imageRead(int number, const QString& name) {
    done_ = number;
    if (!quiet_) showProgress(name);
}

// Named as it happens, also when quiet: quiet silences progress, not warnings.
void BatchRunHost::imageLeftOut(const QString& name, const QString& reason) {
    leftOut_ << name;
    print(QStringLiteral("tessaly-batch: left out: ") + name + QStringLiteral(": ") + reason);
}

void BatchRunHost::reportLeftOut() {
    if (leftOut_.isEmpty()) return;
    print(QStringLiteral("tessaly-batch: %1 photo(s) left out:\n  ").arg(leftOut_.size()) +
          leftOut_.join(QStringLiteral("\n  ")));
}

QByteArray BatchRunHost::counter() const {
    return (counterText(done_) + QLatin1Char('/') + counterText(total_)).toUtf8();
}

void BatchRunHost::showProgress(const QString& fileName) {
    const QByteArray name = terminalText(fileName).toUtf8();
    if (!terminal_) {
        std::fprintf(stderr, "%s %s\n", counter().constData(), name.constData());
        return;
    }
    const int width = 24;
    const int filled = total_ > 0 ? done_ * width / total_ : width;
    const double seconds = clock_.elapsed() / 1000.0;
    const double rate = seconds > 0 ? (done_ - 1) / seconds : 0.0;
    std::fprintf(stderr, "\r\033[K[%s%s] %s %.1f/s %s", QByteArray(filled, '#').constData(),
                 QByteArray(width - filled, '.').constData(), counter().constData(), rate,
                 name.constData());
    std::fflush(stderr);
    barShown_ = true;
}

void BatchRunHost::endProgressLine() {
    if (!barShown_) return;
    std::fputs("\n", stderr);
    barShown_ = false;
}

void BatchRunHost::print(const QString& text) {
    endProgressLine();
    std::fprintf(stderr, "%s\n", terminalText(text, true).toUtf8().constData());
}

void BatchRunHost::information(const QString& text) { print(text); }

void BatchRunHost::showError(const QString& text) { print(text); }

// The comment file question is answered No; the browser question Yes only with --open; an
// unreadable photograph is left out with --keep-going (its failure is shown otherwise); a
// contents page is replaced after saying which page it is.
bool BatchRunHost::question(RunQuestion kind, const QString& text) {
    if (kind == RunQuestion::LeaveOutPhoto) return keepGoing_;
    if (kind == RunQuestion::ReplacePage) {
        print(pageReplacementNotice(text.section(QLatin1Char('\n'), 0, 0)));
        return true;
    }
    const bool browser = kind == RunQuestion::OpenBrowser;
    if (!browser) print(runQuestion(kind).title);
    return browser && openPage_;
}

void BatchRunHost::runEnded(CatalogRunOutcome) { endProgressLine(); }

}  // namespace tessaly::batch
