#pragma once

#include <QRect>
#include <QString>

namespace tessaly {

// The main window's place and size as its settings line keeps them, "left,top,width,height"
// (the frame's top left corner and the size inside the frame), and how they are fitted to
// the screen the window opens on.
class WindowPlacement {
public:
    static QString toText(const QRect& place);
    // An empty rectangle when the text is not four whole numbers with a positive size.
    static QRect fromText(const QString& text);
    // The size at a first start: roomy, yet leaving a tenth of the screen free.
    static QSize firstSize(const QSize& minimum, const QRect& screen);
    // The place limited to the screen: at least minimum, at most the screen's size (the
    // minimum wins on a screen smaller than it), moved so that it lies on the screen.
    static QRect fitted(const QRect& place, const QSize& minimum, const QRect& screen);
};

}  // namespace tessaly
