#pragma once

#include <QString>

namespace tessaly::batch {

// The one usage-error report of every mode: "tessaly-batch: TEXT" on standard error, then the
// mode's usage text, or without one a hint at --help. Returns 2, the usage-error status.
int usageError(const QString& text, const char* usage = nullptr);

}  // namespace tessaly::batch
