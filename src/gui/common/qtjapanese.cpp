#include "gui/common/qtjapanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace tessaly {

QtJapanese::~QtJapanese() {
    if (installed_) QCoreApplication::removeTranslator(&translator_);
}

bool QtJapanese::install() {
    if (installed_) return true;
    if (!translator_.load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    installed_ = QCoreApplication::installTranslator(&translator_);
    return installed_;
}

}  // namespace tessaly
