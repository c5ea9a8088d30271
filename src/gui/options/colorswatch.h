#pragma once

#include <QFrame>

namespace tessaly {

// A sunken panel filled with one colour, held as a Windows colour value (0x00BBGGRR).
class ColorSwatch : public QFrame {
    Q_OBJECT
public:
    explicit ColorSwatch(QWidget* parent = nullptr);

    int colour() const { return colour_; }
    void setColour(int colour);

private:
    int colour_ = 0;
};

}  // namespace tessaly
