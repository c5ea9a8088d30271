#include "core/work/orderedpool.h"

#include <QThread>
#include <algorithm>
#include <numeric>

namespace tessaly {

int PoolPlanning::defaultWorkers() { return std::max(1, QThread::idealThreadCount()); }

std::vector<int> PoolPlanning::largestFirst(const std::vector<qint64>& sizes) {
    std::vector<int> order(sizes.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&sizes](int a, int b) { return sizes[a] > sizes[b]; });
    return order;
}

}  // namespace tessaly
