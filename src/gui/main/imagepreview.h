#pragma once

#include <QObject>
#include <QSize>

class QFrame;
class QImage;
class QLabel;

namespace tessaly {

// The preview picture (previewImage) inside its panel: fitted previews of a chosen image, the
// thumbnails of a catalogue run, and centring whenever the panel changes size.
class ImagePreview : public QObject {
    Q_OBJECT
public:
    static constexpr int kBox = 150;

    ImagePreview(QFrame& panel, QLabel& image);

    // The size that fits an image into the box keeping its aspect ratio (halves to even).
    static QSize fitSize(const QSize& image, int box = kBox);
    // Top left of a picture centred in a panel, moved down by topOffset.
    static QPoint centredPosition(const QSize& panel, const QSize& picture, int topOffset = 0);

    // Decodes a JPEG file and shows it fitted into the box, centred. Raises Error (and
    // leaves the preview hidden) when the file cannot be decoded.
    void showFile(const QString& path);
    // Shows a picture at its own size, centred with the top moved down by topOffset.
    void showPicture(const QImage& picture, int topOffset);
    void hide();
    // Empties the picture.
    void clear();
    void centre(int topOffset = 0);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QFrame& panel_;
    QLabel& image_;
};

}  // namespace tessaly
