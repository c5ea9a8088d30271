#pragma once

#include <sys/types.h>

#include <QSet>
#include <QString>
#include <QStringList>
#include <set>
#include <utility>

namespace tessaly {

// Where a catalogue run may write: into the photo folder or its thumbnail folder, and never
// onto one of the photographs it reads. Paths are resolved as a write would resolve them
// (symbolic links followed, also dangling ones, which a write would create; every link on the
// way lies in one of the two folders too), and photographs
// are also known by their file identity, so a link or a second name of a photograph is
// refused too.
class OutputGuard {
public:
    // folder: the photo folder; thumbFolder: the thumbnail folder (both existing);
    // photoPaths: the photographs the run reads.
    OutputGuard(const QString& folder, const QString& thumbFolder, const QStringList& photoPaths);

    // Raises SettingsError refusedMessage() when the file may not be written, LinkRefusedError
    // when it is a link that stays inside. settingLabel names the setting the name came from
    // (empty when none).
    void check(const QString& path, const QString& settingLabel) const;

    static QString refusedMessage(const QString& path, const QString& settingLabel);

private:
    bool allows(const QString& path) const;
    bool inside(const QString& path) const;  // the path's folder is one of the two

    QString folder_;
    QString thumbFolder_;
    QSet<QString> photoPaths_;
    std::set<std::pair<dev_t, ino_t>> photoFiles_;
};

}  // namespace tessaly
