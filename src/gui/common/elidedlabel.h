#pragma once

#include <QLabel>

namespace tessaly {

// A one-line label for a name that may be longer than the room it has: text() keeps the whole
// name; what is drawn is the name shortened in the middle ("IMG_2024…0001.jpg") so that both
// its start and its extension stay visible, never cut off at an edge.
class ElidedLabel : public QLabel {
    Q_OBJECT
public:
    explicit ElidedLabel(QWidget* parent = nullptr);

    // The text as drawn at the label's present width.
    QString shownText() const;
    // Asks for little width, so a long name never widens the window or its status bar.
    QSize minimumSizeHint() const override;

protected:
    void paintEvent(QPaintEvent* event) override;

private:
    QRect textArea() const;
};

}  // namespace tessaly
