#include "core/conversion/conversionrun.h"

#include <QDir>
#include <QDirIterator>
#include <QFile>
#include <QFileInfo>
#include <QtEndian>
#include <algorithm>

#include "core/imaging/files/filereplacement.h"
#include "core/imaging/reader/photoreader.h"
#include "core/text/errors.h"
#include "core/text/formatting.h"
#include "core/text/textfile.h"
#include "core/work/orderedpool.h"

namespace tessaly {

ConversionRun::ConversionRun(const BmpConversion& conversion, int jobs, StopToken stop)
    : conversion_(conversion), jobs_(std::max(1, jobs)), stop_(std::move(stop)) {}

BmpConversion::Result ConversionRun::run(const QStringList& paths,
                                         const BmpConversion::Hooks& hooks, const Done& done,
                                         const Ended& ended) const {
    const BmpConversion& conversion = conversion_;
    QStringList folders;
    for (const QString& path : paths) folders << QFileInfo(path).absolutePath();
    folders.removeDuplicates();
    for (const QString& folder : folders) {
        FileReplacement::removeAbandoned(folderPath(folder));  // what killed conversions left
    }
    OrderedPool<BmpConversion::Prepared>::Plan plan;
    plan.workers = jobs_;
    plan.ahead = jobs_;
    plan.weigh = [&paths](int k) { return decodeBytes(paths[k]); };
    OrderedPool<BmpConversion::Prepared> jobs(int(paths.size()), std::move(plan), [&](int k) {
        if (beforeReading_) beforeReading_(paths[k]);
        const QFileInfo file(paths[k]);
        return conversion.prepare(file.absolutePath(), file.fileName(), hooks);
    });
    const StopToken::Callback wake(stop_, [&jobs] { jobs.stop(); });
    const auto stopped = [&] {
        return stop_.stopRequested() || (hooks.stopped && hooks.stopped());
    };
    BmpConversion::Result total;
    for (int k = 0; k < paths.size(); ++k) {
        if (stopped()) {
            total.failure = BmpConversion::Failure::Stopped;
            break;
        }
        const QFileInfo file(paths[k]);
        if (hooks.starting) hooks.starting(file.fileName());
        std::optional<BmpConversion::Prepared> prepared = jobs.take(k);
        if (!prepared) {
            total.failure = BmpConversion::Failure::Stopped;
            break;
        }
        BmpConversion::Result one;
        const bool goOn = conversion.finish(file.absolutePath(), *prepared, hooks, one);
        total.written << one.written;
        total.skipped << one.skipped;
        total.failure = one.failure;
        total.failedName = one.failedName;
        total.message = one.message;
        if (done) done(k, one);
        if (!goOn) break;
    }
    jobs.stop();  // files read ahead of a stop are dropped; nothing of theirs was written
    if (ended) ended(total);
    return total;
}

qint64 ConversionRun::decodeBytes(const QString& path) {
    QFile file(path);
    if (!isRegularFile(path) || !file.open(QIODevice::ReadOnly)) return 0;
    const QByteArray head = file.read(26);
    if (head.size() == 26 && head.startsWith("BM")) {
        const qint64 width = std::abs(qFromLittleEndian<qint32>(head.constData() + 18));
        const qint64 height = std::abs(qFromLittleEndian<qint32>(head.constData() + 22));
        return width * height * 4;
    }
    try {
        const std::unique_ptr<PhotoReader> reader = openPhotoReader(path);
        return file.size() + reader->decodeBytes() + 3 * qint64(reader->width()) * reader->height();
    } catch (const Error&) {
        return file.size() * 12;  // the conversion reports what is wrong with the file
    }
}

QStringList ConversionRun::filesOf(const QString& folder, BmpConversion::Source source,
                                   bool recursive) {
    const QStringList masks = BmpConversion::masksOf(source);
    QDirIterator it(folder, masks, QDir::Files | QDir::Readable,
                    recursive ? QDirIterator::Subdirectories : QDirIterator::NoIteratorFlags);
    QStringList files;
    while (it.hasNext()) files << it.next();
    std::sort(files.begin(), files.end(), [](const QString& a, const QString& b) {
        return a.compare(b, Qt::CaseInsensitive) < 0;
    });
    return files;
}

}  // namespace tessaly
