#pragma once

#include <QString>
#include <QStringList>
#include <functional>

#include "core/conversion/bmpconversion.h"
#include "core/work/stoptoken.h"

namespace tessaly {

// BMP or HEIF files converted to JPEG by several workers at once, within a decode budget,
// with everything the user sees kept in the order of the files: each file's turn (the
// starting hook, the overwrite question, the write and the `done` call) comes in list order,
// and the output is the same as one file after the other.
class ConversionRun {
public:
    // done(index, result of that file): after each file's turn, in list order.
    using Done = std::function<void(int index, const BmpConversion::Result& file)>;

    // A stop of `stop` ends the run at the next file's turn, without waiting for the files
    // being read (hooks.stopped is asked as well).
    ConversionRun(const BmpConversion& conversion, int jobs, StopToken stop = StopToken());

    using Ended = std::function<void(const BmpConversion::Result& all)>;

    // Called on the worker thread that reads each file, before it reads it (tests slow the
    // reading down with it).
    void setBeforeReading(std::function<void(const QString& path)> hook) {
        beforeReading_ = std::move(hook);
    }

    // Converts the files (full paths); stops at the first one that cannot be read or
    // written, or when hooks.stopped says so. The result sums up every file's; `ended` gets it
    // before the run waits for the reads in hand after a stop (their files are dropped).
    BmpConversion::Result run(const QStringList& paths, const BmpConversion::Hooks& hooks,
                              const Done& done = {}, const Ended& ended = {}) const;

    // The memory a file's conversion is reckoned to take, from its header: a BMP's picture, or
    // another format's file, reader buffers and whole picture (from the file's size, some
    // twelve bytes of picture to one, when the header cannot be read). Each file is admitted
    // by the decode budget once, for this; one larger than the whole budget is converted alone.
    static qint64 decodeBytes(const QString& path);

    // The files of a folder that the conversion reads (BMP or HEIC/HEIF by their extension),
    // by name, with those of its sub-folders at every depth when recursive is set.
    static QStringList filesOf(const QString& folder, BmpConversion::Source source, bool recursive);

private:
    const BmpConversion& conversion_;
    int jobs_;
    StopToken stop_;
    std::function<void(const QString&)> beforeReading_;
};

}  // namespace tessaly
