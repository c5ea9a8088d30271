#pragma once

#include <QByteArray>
#include <vector>

#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

// The ability of a photograph reader whose codec hands over the stored rows as it decodes
// them, so that a thumbnail is made from them without a full-size picture (JPEG). The reader
// holds the bytes it read: the start of the file after opening, the whole file once asked.
// Failures name the file, as the reader's own do.
class RowStreaming {
public:
    virtual ~RowStreaming() = default;

    // The stored picture as its header tells it: size before the orientation, grey or colour,
    // whether rows skipped by the codec leave the rows after them exact, the codec's memory.
    virtual const JpegHeader& storedRows() const = 0;
    // Reads the whole file (once) and the header again from it, so that the decode and the
    // sizes agree even when the file changed after opening.
    virtual void readWholeFile() = 0;
    // Decodes the listed stored rows (ascending; empty: every row) of the whole file into the
    // sink, as JpegImage::decodeRows does.
    virtual void decodeRows(const std::vector<int>& rows, JpegRowSink& sink) = 0;
    // The whole picture of the whole file, turned as shown, reduced by 1, 2, 4 or 8.
    virtual PixelImage decodeHeld(int reduction) = 0;

    // The bytes read so far, and whether they are the whole file.
    virtual const QByteArray& heldBytes() const = 0;
    virtual bool holdsWholeFile() const = 0;
    // Lets the bytes go (the header stays known).
    virtual void dropBytes() = 0;
};

}  // namespace tessaly
