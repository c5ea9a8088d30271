#include "gui/common/volumebox.h"

#include <QDir>
#include <QStorageInfo>
#include <algorithm>

#include "gui/common/comboboxaccessible.h"

namespace tessaly {

VolumeBox::VolumeBox(QWidget* parent) : QComboBox(parent) {
    ComboBoxAccessible::install();
    setAccessibleName(QStringLiteral("ドライブ"));  // the name screen readers read
    refresh();
    connect(this, &QComboBox::activated, this, [this](int index) {
        if (index >= 0 && index < roots_.size()) emit driveChanged(roots_.at(index));
    });
}

QString VolumeBox::drive() const {
    const int index = currentIndex();
    if (index < 0 || index >= roots_.size()) return QStringLiteral("/");
    return roots_.at(index);
}

void VolumeBox::setDrive(const QString& path) {
    const QString root = rootOf(path, roots_);
    const int index = static_cast<int>(roots_.indexOf(root));
    if (index >= 0) setCurrentIndex(index);
}

void VolumeBox::refresh() {
    const QString shown = count() > 0 ? drive() : QStringLiteral("/");
    roots_ = mountedRoots();
    blockSignals(true);
    clear();
    for (const QString& root : roots_) addItem(root);
    blockSignals(false);
    setDrive(shown);
}

void VolumeBox::showPopup() {
    refresh();
    QComboBox::showPopup();
}

QString VolumeBox::rootOf(const QString& path, const QStringList& roots) {
    const QString clean = QDir::cleanPath(QDir(path).absolutePath());
    QString best = QStringLiteral("/");
    for (const QString& root : roots) {
        const bool holds = clean == root || clean.startsWith(root + QLatin1Char('/'));
        if (holds && root.size() > best.size()) best = root;
    }
    return best;
}

QStringList VolumeBox::mountedRoots() {
    QStringList roots{QStringLiteral("/")};
    for (const QStorageInfo& volume : QStorageInfo::mountedVolumes()) {
        if (!volume.isValid() || !volume.isReady()) continue;
        const QString root = QDir::cleanPath(volume.rootPath());
        if (!root.isEmpty() && !roots.contains(root)) roots << root;
    }
    std::sort(roots.begin() + 1, roots.end());
    return roots;
}

}  // namespace tessaly
