#pragma once

#include <QObject>
#include <QString>

namespace tessaly {

// System sound events of the main window ("Minimize", "RestoreUp"). The desktop's sound
// theme plays them through canberra-gtk-play when that program is installed; otherwise they
// are silent. The last event is kept so the window's behaviour can be checked: the window's
// sounds are its child named "WindowSounds".
class WindowSounds : public QObject {
    Q_OBJECT
public:
    explicit WindowSounds(QObject* parent = nullptr);
    virtual void play(const QString& event);
    QString lastEvent() const { return last_; }

private:
    QString last_;
};

}  // namespace tessaly
