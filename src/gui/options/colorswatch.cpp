#include "gui/options/colorswatch.h"

#include <QPalette>

namespace tessaly {

ColorSwatch::ColorSwatch(QWidget* parent) : QFrame(parent) {
    setFrameStyle(QFrame::Panel | QFrame::Sunken);
    setLineWidth(1);
    setAutoFillBackground(true);
    setMinimumSize(60, 22);
    setColour(0);
}

void ColorSwatch::setColour(int colour) {
    colour_ = colour;
    QPalette palette = this->palette();
    palette.setColor(QPalette::Window,
                     QColor(colour & 0xFF, (colour >> 8) & 0xFF, (colour >> 16) & 0xFF));
    setPalette(palette);
}

}  // namespace tessaly
