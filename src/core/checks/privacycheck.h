#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "core/imaging/metadata/privacyfilter.h"
#include "core/settings/catalogsettings.h"

namespace tessaly {

// One file of the folder that tells more than its picture.
struct PrivacyFinding {
    QString path;  // the image file
    PrivateFields fields;
    bool linked = true;  // a page links to it or shows it
};

// Lists the files a web server would serve from a catalogue's folder that carry a GPS
// position, a serial number or an owner name: every file below the folder, whether its pages
// link it or not, since uploading the folder publishes them all.
class PrivacyCheck {
public:
    explicit PrivacyCheck(const CatalogSettings& settings) : settings_(settings) {}

    // The catalogue and slide show pages of folder; with subFolders also every page at its top
    // (the contents page) and the catalogue and slide show pages of every folder below.
    QStringList pagesOf(const QString& folder, bool subFolders) const;
    // The local files a page or style sheet links to or shows, its background included
    // (links with a scheme or a query are not).
    static QStringList linkedFiles(const QString& pagePath);
    // Every file below folder (at any depth; links are not followed) carrying something
    // private: first those the pages link, in page order, then the others by name. Files of
    // no format we read are passed over. Throws IoError when a page cannot be read.
    std::vector<PrivacyFinding> check(const QString& folder) const;

private:
    const CatalogSettings& settings_;
};

}  // namespace tessaly
