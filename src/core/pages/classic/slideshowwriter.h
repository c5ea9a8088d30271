#pragma once

#include <QString>
#include <memory>

#include "core/pages/catalogentry.h"
#include "core/settings/catalogsettings.h"

namespace tessaly {

class PageFile;

// Name of the slide show page, always beside the catalogue page.
extern const char* const kSlideShowFileName;

// Writes the slide show page of one run in three stages: head, three script lines per image,
// tail; publish() then puts it in place of the old page, which stays as it was until then
// (see PageFile). Shift-JIS with CR LF; characters the code page cannot hold become "&#N;".
class SlideShowWriter {
public:
    explicit SlideShowWriter(const CatalogSettings& settings);
    ~SlideShowWriter();  // closes quietly if open
    SlideShowWriter(const SlideShowWriter&) = delete;
    SlideShowWriter& operator=(const SlideShowWriter&) = delete;

    // Starts the page (its temporary file) and writes its 16 head lines. A folder, device or
    // pipe under the page's name raises CreateError; other failures IoError.
    void writeHead(const QString& path, const QString& title, int selectedCount);
    // The lines of image number n (1 for the first image written), with its slide size. The
    // image array holds the address of what the entry links to, which the page's script
    // writes as markup into a quoted IMG SRC and ALT and the slide window's title
    // (pageAddress for the slide script).
    void writeImage(int n, const CatalogEntry& entry);
    // The 85 tail lines, then closes the file (raises IoError when that fails); the page is
    // not in place yet. largestWidth/largestHeight are the uncapped largest image sizes.
    void writeTail(int imagesWritten, int largestWidth, int largestHeight);
    // Puts the ended page in place of the old one (raises IoError when that fails).
    void publish();
    // Drops whatever is open without writing more (failure paths): the old page stays.
    void close() noexcept;
    bool isOpen() const;

    // The slide size of an image: within slideMaxWidth x slideMaxHeight when slideMaxEnabled
    // is "on", keeping the proportions; otherwise the image size.
    static void slideSize(const CatalogSettings& settings, int imageWidth, int imageHeight,
                          int& slideWidth, int& slideHeight);

private:
    void writeLine(const QString& line);

    CatalogSettings settings_;
    std::unique_ptr<PageFile> file_;
    QString path_;
};

}  // namespace tessaly
