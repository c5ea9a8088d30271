#pragma once

#include <QByteArray>

namespace tessaly {

// The stylesheet and the script the modern catalogue and contents pages load from the
// thumbnail folder (UTF-8; no framework, nothing fetched from the network).
QByteArray modernStyleSheet();
QByteArray modernScript();

// Their names inside the thumbnail folder.
extern const char* const kModernStyleSheetName;
extern const char* const kModernScriptName;

}  // namespace tessaly
