#pragma once

#include <QWidget>

class QToolButton;

namespace tessaly {

// A pair of arrow buttons that step a position within a range, shown beside a read-only
// edit that displays the position.
class StepButtons : public QWidget {
    Q_OBJECT
public:
    explicit StepButtons(QWidget* parent = nullptr);

    void setRange(int minimum, int maximum);
    int minimum() const { return minimum_; }
    int maximum() const { return maximum_; }
    int position() const { return position_; }
    // Sets the position, limited to the range; emits nothing.
    void setPosition(int position);

    // Steps as a click on an arrow does (the up and down keys of the edit beside it).
    void step(int delta);

    QToolButton* upButton() const { return up_; }
    QToolButton* downButton() const { return down_; }

signals:
    // A click on an arrow changed the position.
    void clicked(int position);

private:
    QToolButton* up_;
    QToolButton* down_;
    int minimum_ = 0;
    int maximum_ = 100;
    int position_ = 0;
};

}  // namespace tessaly
