#pragma once

#include <QComboBox>
#include <QStringList>

namespace tessaly {

// The drive box of this platform: the root folders of the mounted volumes ("/" always first).
// Choosing an entry emits driveChanged with that root.
class VolumeBox : public QComboBox {
    Q_OBJECT
public:
    explicit VolumeBox(QWidget* parent = nullptr);

    // The root of the volume shown.
    QString drive() const;
    // Shows the volume that holds path (the longest mount root that is a prefix of it).
    void setDrive(const QString& path);
    // Reads the mounted volumes again, keeping the volume shown when it is still there.
    void refresh();

    // The mount root among roots that holds path; "/" when none does.
    static QString rootOf(const QString& path, const QStringList& roots);
    // The roots of the mounted volumes that are ready, sorted, "/" first.
    static QStringList mountedRoots();

signals:
    void driveChanged(const QString& root);

protected:
    // The volumes are read again each time the list opens, so new media show up.
    void showPopup() override;

private:
    QStringList roots_;
};

}  // namespace tessaly
