#include "gui/main/imagepreview.h"

#include <QEvent>
#include <QFrame>
#include <QLabel>
#include <QPixmap>

#include "core/imaging/jpeg/jpegimage.h"
#include "core/imaging/reader/photoreader.h"
#include "core/text/formatting.h"
#include "gui/imaging/displaypicture.h"

namespace tessaly {

ImagePreview::ImagePreview(QFrame& panel, QLabel& image) : panel_(panel), image_(image) {
    panel_.installEventFilter(this);
}

QSize ImagePreview::fitSize(const QSize& image, int box) {
    const long double width = image.width();
    const long double height = image.height();
    if (width <= 0 || height <= 0) return QSize(0, 0);
    if (height < width) return QSize(box, static_cast<int>(roundHalfEven(height / width * box)));
    return QSize(static_cast<int>(roundHalfEven(width / height * box)), box);
}

QPoint ImagePreview::centredPosition(const QSize& panel, const QSize& picture, int topOffset) {
    return QPoint(panel.width() / 2 - picture.width() / 2,
                  panel.height() / 2 - picture.height() / 2 + topOffset);
}

void ImagePreview::showFile(const QString& path) {
    hide();
    PixelImage pixels;
    if (hasJpegExtension(path)) {
        JpegImage jpeg;
        jpeg.loadFromFile(path);  // raises the decoder's own error
        pixels = jpeg.picture();
    } else {  // a photograph of another format, listed with the check box under the list
        pixels = openPhotoReader(path)->picture();
    }
    const QImage picture = DisplayPicture::toImage(pixels);
    image_.setScaledContents(true);
    image_.setPixmap(QPixmap::fromImage(picture));
    image_.resize(fitSize(picture.size()));
    centre();
    image_.setEnabled(true);
    image_.show();
}

void ImagePreview::showPicture(const QImage& picture, int topOffset) {
    image_.setScaledContents(false);
    image_.setPixmap(QPixmap::fromImage(picture));
    image_.resize(picture.size());
    centre(topOffset);
    image_.setEnabled(true);
    image_.show();
    image_.repaint();
}

void ImagePreview::hide() { image_.hide(); }

void ImagePreview::clear() { image_.clear(); }

void ImagePreview::centre(int topOffset) {
    image_.move(centredPosition(panel_.size(), image_.size(), topOffset));
}

bool ImagePreview::eventFilter(QObject* watched, QEvent* event) {
    if (watched == &panel_ && event->type() == QEvent::Resize) centre();
    return QObject::eventFilter(watched, event);
}

}  // namespace tessaly
