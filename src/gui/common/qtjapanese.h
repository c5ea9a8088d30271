#pragma once

#include <QLocale>
#include <QTranslator>

namespace tessaly {

// Qt's own texts in Japanese (the standard buttons of every question box, the file and colour
// choosers), whatever the system language: the program's whole interface is Japanese. Captions
// the program sets itself are not touched.
class QtJapanese {
public:
    QtJapanese() = default;
    ~QtJapanese();
    QtJapanese(const QtJapanese&) = delete;
    QtJapanese& operator=(const QtJapanese&) = delete;

    // Loads qtbase_ja from Qt's translation folder (Debian: qt6-translations-l10n) and
    // installs it in the running application, which from then on uses Qt's own file and
    // colour choosers (a desktop's native ones follow the system language). False when the
    // translation is not there; the standard dialogs then stay in English. Either way Japanese
    // becomes the default locale, so that dates, sizes and numbers in Qt's dialogs read as a
    // Japanese user expects.
    bool install();

private:
    QTranslator translator_;
    QLocale previousLocale_;
    bool localeSet_ = false;
    bool installed_ = false;
    bool hadNativeDialogs_ = true;
};

}  // namespace tessaly
