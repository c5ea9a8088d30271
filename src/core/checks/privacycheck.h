#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "core/imaging/metadata/privacyfilter.h"
#include "core/settings/catalogsettings.h"

namespace tessaly {

// One published image that tells more than its picture.
struct PrivacyFinding {
    QString path;  // the image file
    PrivateFields fields;
};

// Reads the pages a catalogue published and the images they link to or show, and lists those
// that carry a GPS position, a serial number or an owner name.
class PrivacyCheck {
public:
    explicit PrivacyCheck(const CatalogSettings& settings) : settings_(settings) {}

    // The catalogue and slide show pages of folder; with subFolders also every page at its top
    // (the contents page) and the catalogue and slide show pages of every folder below.
    QStringList pagesOf(const QString& folder, bool subFolders) const;
    // The local files a page links to or shows (links with a scheme or a query are not).
    static QStringList linkedFiles(const QString& pagePath);
    // Every image of the pages carrying something private, each once, in page order. Images
    // that are missing or no JPEG files are passed over.
    std::vector<PrivacyFinding> check(const QStringList& pages) const;

private:
    const CatalogSettings& settings_;
};

}  // namespace tessaly
