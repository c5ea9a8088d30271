#pragma once

#include <QByteArray>
#include <QDate>
#include <QDir>
#include <QString>
#include <QStringList>

#include "core/settings/catalogsettings.h"
#include "core/toc/tocgenerator.h"
#include "support/tempdir.h"

namespace tessaly::test {

// A parent folder with catalogue sub-folders, their pages written as plain Shift-JIS lines in
// the layout the catalogue page writer uses.
class TocFixture {
public:
    TocFixture();

    // Writes sub/<htmlFileName> with the given title, image count and first thumbnail name;
    // marked = false writes a page whose second line lacks the marker.
    void addCatalogue(const QString& sub, const QString& title, int count = 12,
                      const QString& thumbnail = QStringLiteral("IMG_01.JPG"), bool marked = true,
                      const QString& date = QStringLiteral("2026.1.5"));
    // A JPEG thumbnail sub/<thumbFolderName>/<name> of the given size.
    void addThumbnail(const QString& sub, const QString& name, int width, int height);

    TocOptions options(const QString& title = QStringLiteral("目次")) const;
    QString run(const TocOptions& options);        // through TocGenerator
    QStringList lines(const QString& name) const;  // the page's lines, decoded

    TempDir dir;
    CatalogSettings settings;
    QStringList progress;
};

// The catalogue page's leading lines as the catalogue page writer lays them out.
QByteArray catalogueHead(const QString& title, int count, const QString& thumbnail,
                         const QString& date, bool marked);

}  // namespace tessaly::test
