#include "gui/common/qtjapanese.h"

#include <QCoreApplication>
#include <QLibraryInfo>

namespace tessaly {

QtJapanese::~QtJapanese() {
    if (localeSet_) QLocale::setDefault(previousLocale_);
    if (!installed_) return;
    QCoreApplication::removeTranslator(&translator_);
    QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, !hadNativeDialogs_);
}

bool QtJapanese::install() {
    if (installed_) return true;
    if (!localeSet_) {
        previousLocale_ = QLocale();
        QLocale::setDefault(QLocale(QLocale::Japanese, QLocale::Japan));
        localeSet_ = true;
    }
    if (!translator_.load(QStringLiteral("qtbase_ja"),
                          QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        return false;
    }
    installed_ = QCoreApplication::installTranslator(&translator_);
    if (installed_) {
        hadNativeDialogs_ = !QCoreApplication::testAttribute(Qt::AA_DontUseNativeDialogs);
        QCoreApplication::setAttribute(Qt::AA_DontUseNativeDialogs, true);
    }
    return installed_;
}

}  // namespace tessaly
