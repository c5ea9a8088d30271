// How evenly the run's workers share a folder: each thumbnail is made as a run makes it (the
// same pipeline and thumbnail step, default box), and the processor time of every job is
// counted to the worker thread that made it. With the machine to itself a run of that many
// jobs takes about as long as its busiest worker, so total / busiest is the speed-up over one
// job that other programs on the machine cannot disturb; the wall-clock speed-up is shown too.
//   bench_workers FOLDER [JOBS]    (default 2)
#include <QDir>
#include <QElapsedTimer>
#include <QTemporaryDir>
#include <cstdio>
#include <ctime>
#include <map>
#include <mutex>
#include <thread>

#include "core/catalog/thumbnailwork.h"
#include "core/work/decodebudget.h"
#include "core/work/orderedpool.h"

using namespace tessaly;

namespace {

double threadSeconds() {
    timespec t{};
    clock_gettime(CLOCK_THREAD_CPUTIME_ID, &t);
    return double(t.tv_sec) + double(t.tv_nsec) / 1e9;
}

struct Outcome {
    double wall = 0;
    std::map<std::thread::id, double> busy;  // processor seconds per worker
};

Outcome run(const QString& folder, int jobs) {
    QTemporaryDir out;
    std::vector<ThumbnailJob> list;
    for (const QString& name : QDir(folder).entryList({"*.jpg"}, QDir::Files, QDir::Name)) {
        list.push_back({folder + "/" + name, out.filePath(name), out.filePath(name)});
    }
    const ThumbnailBox box{110, 150, 80, false};
    auto budget = std::make_shared<DecodeBudget>(DecodeBudget::defaultLimit());
    Outcome outcome;
    std::mutex mutex;
    QElapsedTimer clock;
    clock.start();
    {
        OrderedPool<ThumbnailResult>::Plan plan;
        plan.workers = jobs;
        plan.budget = budget;
        OrderedPool<ThumbnailResult> pool(int(list.size()), plan, [&](int k) {
            const double start = threadSeconds();
            ThumbnailResult result = makeThumbnail(list[k], box, false, budget.get());
            std::lock_guard<std::mutex> lock(mutex);
            outcome.busy[std::this_thread::get_id()] += threadSeconds() - start;
            return result;
        });
        for (int k = 0; k < int(list.size()); ++k) pool.take(k);
    }
    outcome.wall = clock.nsecsElapsed() / 1e9;
    return outcome;
}

}  // namespace

int main(int argc, char* argv[]) {
    if (argc < 2) {
        std::fprintf(stderr, "usage: bench_workers FOLDER [JOBS]\n");
        return 2;
    }
    const QString folder = QFile::decodeName(argv[1]);
    const int jobs = argc > 2 ? std::atoi(argv[2]) : 2;
    const Outcome one = run(folder, 1);
    const Outcome many = run(folder, jobs);
    double total = 0, busiest = 0;
    for (const auto& [thread, seconds] : many.busy) {
        total += seconds;
        busiest = std::max(busiest, seconds);
        std::printf("  worker: %.3f s processor\n", seconds);
    }
    std::printf(
        "%d jobs: total %.3f s processor, busiest worker %.3f s: speed-up %.2f by processor "
        "time; %.2f by wall time (%.3f s against %.3f s)\n",
        jobs, total, busiest, total / busiest, one.wall / many.wall, many.wall, one.wall);
    return 0;
}
