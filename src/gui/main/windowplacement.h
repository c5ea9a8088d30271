#pragma once

#include <QRect>
#include <QString>

class QWidget;

namespace tessaly {

struct CatalogSettings;

// The main window's place and size as its settings line keeps them, "left,top,width,height"
// (the frame's top left corner and the size inside the frame), and how they are fitted to
// the screen the window opens on.
class WindowPlacement {
public:
    // Places and sizes a window as it was when it was last closed, else at the options'
    // position at a first-start size; either way on its screen and not below its minimum.
    static void restore(QWidget& window, const CatalogSettings& settings);
    // Keeps the window's place in the settings and writes that one line into the settings
    // file; the file's other values are written back as the file holds them. A settings file
    // that cannot be read or written is left alone (the window then opens at its first-start
    // place next time).
    static void store(const QWidget& window, CatalogSettings& settings);

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
