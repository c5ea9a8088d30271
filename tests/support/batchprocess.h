#pragma once

#include <QString>
#include <QStringList>

namespace tessaly::test {

// tessaly-batch: named by TESSALY_BATCH, else the one of the same build as the test program.
QString batchProgram();

struct BatchOutcome {
    int status = -1;  // -1: ended by a signal
    QString out;
    QString errors;
};

// Runs tessaly-batch with standard input empty and waits for it.
BatchOutcome runBatch(const QStringList& args);

// Runs tessaly-batch through /bin/sh, so a test can set limits (ulimit) before it starts.
BatchOutcome batchWith(const QString& limits, const QStringList& args);

}  // namespace tessaly::test
