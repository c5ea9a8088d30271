#include "core/work/decodebudget.h"

#include <sys/resource.h>
#include <unistd.h>

#include <QFile>
#include <algorithm>

namespace tessaly {

DecodeBudget::DecodeBudget(qint64 limitBytes) : limit_(limitBytes) {}

qint64 DecodeBudget::limitFor(qint64 physicalBytes) {
    return std::max<qint64>(qint64(256) << 20, physicalBytes / 4);
}

namespace {

qint64 numberIn(const QString& path) {
    QFile file(path);
    if (!file.open(QIODevice::ReadOnly)) return 0;
    bool number = false;
    const qint64 value = file.readAll().trimmed().toLongLong(&number);
    return number && value > 0 ? value : 0;  // "max" (no limit) reads as 0
}

// The memory limit of the process's own control group (cgroup v2 memory.max, or the v1
// memory controller's limit), or 0 when none can be read.
qint64 groupLimit() {
    QFile membership(QStringLiteral("/proc/self/cgroup"));
    if (!membership.open(QIODevice::ReadOnly)) return 0;
    qint64 limit = 0;
    for (const QByteArray& line : membership.readAll().split('\n')) {
        const QList<QByteArray> fields = line.split(':');  // "id:controllers:/path"
        if (fields.size() != 3) continue;
        const QString path = QString::fromUtf8(fields[2]);
        qint64 found = 0;
        if (fields[0] == "0" && fields[1].isEmpty()) {
            found =
                numberIn(QStringLiteral("/sys/fs/cgroup") + path + QStringLiteral("/memory.max"));
        } else if (fields[1].split(',').contains("memory")) {
            found = numberIn(QStringLiteral("/sys/fs/cgroup/memory") + path +
                             QStringLiteral("/memory.limit_in_bytes"));
        }
        if (found > 0 && (limit == 0 || found < limit)) limit = found;
    }
    return limit;
}

}  // namespace

// The machine's memory, or less when the process may use less: an address-space limit
// (ulimit -v) or the memory limit of its control group.
qint64 DecodeBudget::usableMemory() {
    const long pages = sysconf(_SC_PHYS_PAGES);
    const long pageSize = sysconf(_SC_PAGESIZE);
    qint64 bytes = pages > 0 && pageSize > 0 ? qint64(pages) * pageSize : 0;
    rlimit space{};
    if (getrlimit(RLIMIT_AS, &space) == 0 && space.rlim_cur != RLIM_INFINITY) {
        bytes = std::min<qint64>(bytes, qint64(space.rlim_cur));
    }
    const qint64 group = groupLimit();
    if (group > 0) bytes = std::min(bytes, group);
    return bytes;
}

qint64 DecodeBudget::defaultLimit() { return limitFor(usableMemory()); }

// Nothing in flight admits anything; otherwise the bytes must fit under the limit.
bool DecodeBudget::fits(qint64 bytes) const {
    return holders_ == 0 || inFlight_ + std::max<qint64>(bytes, 0) <= limit_;
}

void DecodeBudget::admit(qint64 bytes) {
    inFlight_ += std::max<qint64>(bytes, 0);
    ++holders_;
    peak_ = std::max(peak_, inFlight_);
}

bool DecodeBudget::tryAcquire(qint64 bytes) {
    std::lock_guard<std::mutex> lock(mutex_);
    if (stopped_ || serving_ != nextTicket_ || !fits(bytes)) return false;
    admit(bytes);
    return true;
}

bool DecodeBudget::acquire(qint64 bytes) {
    std::unique_lock<std::mutex> lock(mutex_);
    const quint64 ticket = nextTicket_++;
    const auto ready = [&] { return stopped_ || (ticket == serving_ && fits(bytes)); };
    if (!ready()) {
        ++waits_;
        released_.wait(lock, ready);
    }
    if (stopped_) return false;
    admit(bytes);
    ++serving_;
    lock.unlock();
    released_.notify_all();  // the next in line may fit beside this one
    return true;
}

void DecodeBudget::release(qint64 bytes) {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        inFlight_ -= std::max<qint64>(bytes, 0);
        --holders_;
    }
    released_.notify_all();
}

void DecodeBudget::stop() {
    {
        std::lock_guard<std::mutex> lock(mutex_);
        stopped_ = true;
    }
    released_.notify_all();
}

qint64 DecodeBudget::inFlight() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return inFlight_;
}

qint64 DecodeBudget::peak() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return peak_;
}

int DecodeBudget::waits() const {
    std::lock_guard<std::mutex> lock(mutex_);
    return waits_;
}

DecodeBudget::Admission::Admission(DecodeBudget* budget, qint64 bytes)
    : budget_(budget), bytes_(bytes), admitted_(!budget || budget->acquire(bytes)) {}

DecodeBudget::Admission::~Admission() {
    if (budget_ && admitted_) budget_->release(bytes_);
}

}  // namespace tessaly
