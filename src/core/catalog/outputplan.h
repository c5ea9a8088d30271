#pragma once

#include <QString>
#include <QStringList>
#include <vector>

#include "core/pages/outputlayout.h"
#include "core/settings/catalogsettings.h"

namespace tessaly {

// What a run makes of one selected photograph, each output as a file and as the pages reach
// it. An empty path: the run makes none of it.
struct PlannedPhoto {
    int index = 0;  // in the run's list
    QString name;   // as the list gives it
    PlacedFile photo;
    PlacedFile thumbnail;
    PlacedFile doubleThumbnail;  // when the pages show double-size thumbnails
    PlacedFile browserCopy;      // the JPEG copy of a photograph browsers cannot show
    PlacedFile webCopy;          // when the run makes web copies
    QString webCopyName;         // its name in the web folder
    QString thumbnailFileName;   // the thumbnail's name with its prefix, for the head line
    QString shortName;           // the name the pages show; null: theirs
    // What the pages link to: the web copy when one is made, else the browser copy, else the
    // photograph itself.
    const PlacedFile& linkTarget(bool viaWebCopy) const;
};

// Every output of one catalogue run, decided before anything is written: the selected
// photographs in list order, with their thumbnails, double-size thumbnails, browser copies
// and web copies.
class OutputPlan {
public:
    // names and selected are the run's list; allFormats names thumbnails and copies of other
    // formats apart from those of JPEG photographs.
    OutputPlan(const CatalogSettings& settings, const QString& folder, const QStringList& names,
               const std::vector<bool>& selected, bool allFormats, bool doubles);

    const OutputLayout& layout() const { return layout_; }
    const std::vector<PlannedPhoto>& photos() const { return photos_; }
    // Whether the run makes web copies: as the settings say, and always when it publishes.
    bool webCopies() const { return webCopies_; }
    // Raises SettingsError when a file the run would write lies outside the folder and its
    // thumbnail folder, or is one of the photographs (OutputGuard): the pages' files, the
    // background names given (in the thumbnail folder), and every output of the photographs.
    void guard(const PageFiles& files, const QStringList& background) const;
    // The list index of the last selected photograph (-1: none).
    int lastIndex() const { return photos_.empty() ? -1 : photos_.back().index; }

private:
    void guardPhotoOutputs(const QStringList& photos) const;

    OutputLayout layout_;
    bool webCopies_ = false;
    std::vector<PlannedPhoto> photos_;
};

}  // namespace tessaly
