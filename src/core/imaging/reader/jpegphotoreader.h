#pragma once

#include "core/imaging/jpeg/jpegsegments.h"
#include "core/imaging/reader/photoreader.h"
#include "core/imaging/reader/rowstreaming.h"

namespace tessaly {

// A JPEG photograph through the JPEG image class: the header and the metadata segments on
// opening, the picture (turned by its EXIF orientation) at 1, 1/2, 1/4 or 1/8 of its size
// through the codec's scaled decode, and its stored rows streamed to a sink.
class JpegPhotoReader : public PhotoReader, public RowStreaming {
public:
    explicit JpegPhotoReader(const QString& path);
    QString formatName() const override { return QStringLiteral("JPEG"); }
    PixelImage picture(int reduction = 1) override;
    qint64 decodeBytes() const override;
    JpegSegments iccChunks() const override { return iccChunks_; }
    RowStreaming* rowStreaming() override { return this; }

    const JpegHeader& storedRows() const override { return header_; }
    void readWholeFile() override;
    void decodeRows(const std::vector<int>& rows, JpegRowSink& sink) override;
    PixelImage decodeHeld(int reduction) override;
    const QByteArray& heldBytes() const override { return data_; }
    bool holdsWholeFile() const override { return whole_; }
    void dropBytes() override;

private:
    void takeSegments();

    QString path_;
    QByteArray data_;     // the start of the file, or all of it
    bool whole_ = false;  // data_ holds the whole file
    JpegHeader header_;
    JpegSegments iccChunks_;  // as stored
};

}  // namespace tessaly
