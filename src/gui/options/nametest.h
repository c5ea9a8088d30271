#pragma once

#include <QString>

namespace tessaly {

// Checks that the thumbnail folder name and the catalogue page name can be created, by
// creating them inside the scratch folder "temp" beside the settings file in use and removing
// them again. The scratch folder itself is created when missing and left in place.
//
// Names holding a separator ("/" or "\"), a NUL character, or being "." or ".." are refused
// without touching the disk: they would reach outside the scratch folder here and outside the
// image folder when the catalogue is made. The thumbnail prefix, which starts every
// thumbnail's name, is held to the same rule (an empty prefix is fine).
class NameTest {
public:
    enum class Result { Passed, BadFolderName, BadFileName, BadPrefix };

    // configFolder: the folder of the settings file in use (CatalogSettings::configFolder).
    explicit NameTest(QString configFolder);

    QString scratchFolder() const;  // configFolder + "/temp"

    // Raises IoError when the scratch folder is missing and cannot be created.
    Result run(const QString& folderName, const QString& fileName,
               const QString& prefix = QString()) const;

    static QString badFolderMessage();  // "フォルダ名が不正です。\n指定し直してください。"
    static QString badFileMessage();  // "ファイル名が不正です。\n指定し直してください。"
    // "サムネイル画像に付加する文字列が不正です。\n指定し直してください。"
    static QString badPrefixMessage();

private:
    static bool isSingleName(const QString& name, bool allowEmpty);
    static bool makeScratchFile(const QString& path);

    QString configFolder_;
};

}  // namespace tessaly
