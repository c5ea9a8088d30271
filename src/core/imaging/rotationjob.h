#pragma once

#include <QString>

#include "core/imaging/pixelimage.h"

namespace tessaly {

// A quarter turn clockwise, a quarter turn counter-clockwise, or a half turn.
enum class Turn { Right, Left, Half };

// The file-level work of turning photographs and saving them over their own files, shared by
// the rotation window and tessaly-batch. The folder is the photographs' folder; names are
// file names inside it.
class RotationJob {
public:
    // quality: JPEG quality of the saved files (clamped to 1..100); backup: copy each file into
    // "_backup" before its first save.
    RotationJob(const QString& folder, int quality, bool backup);

    // Only files whose extension, in lower case, is exactly ".jpg" are turned.
    static bool isRotatableName(const QString& name);

    // Decodes a photograph as a 24-bit picture. A greyscale photograph is widened to 24 bits
    // (it is saved back as a colour JPEG). Raises JpegError or IoError; raises ImageError
    // damagedMessage() when the decode met missing or damaged data, whose picture must never
    // be saved over the photograph.
    static PixelImage loadPhotograph(const QString& path);

    // The picture turned; the source is left as it is. A picture that is not 24 bits is
    // widened first, since the turns carry no colour table.
    static PixelImage turned(const PixelImage& picture, Turn turn);

    QString folder() const { return folder_; }
    QString filePath(const QString& name) const { return folder_ + name; }
    QString backupFolder() const;

    // Copies the file into the backup folder (made when missing, one level) unless a copy
    // of that name is already there, so the backup keeps the file as it was before its first
    // save. Does nothing when backups are off. Returns true when a copy was made.
    // The copy is written under a temporary name, synced and renamed, with the photograph's
    // owner, group and mode. Raises IoError; a half-written copy never stands as the backup.
    bool backUp(const QString& name) const;

    // Encodes the picture and replaces the file with it through a temporary file: when the
    // encode or the write fails, the file is left untouched. Raises IoError or ImageError.
    void save(const PixelImage& picture, const QString& name) const;

    // Lock, load, turn, back up, save: one photograph of a batch. Raises IoError
    // PhotoLock::busyMessage() when another rotation is turning the same file.
    void rotateFile(const QString& name, Turn turn) const;

    // The window's texts.
    static QString
    backupErrorMessage();  // "バックアップファイルの書き込みでエラーが発生しました。"
    static QString saveErrorMessage();  // "ファイルの書き込みでエラーが発生しました。"
    static QString noFileMessage();  // "ファイルが選択されていません。"
    // "<file name>: 画像データが壊れているか途中で切れているため、回転できません。..."
    // with the codec's warning in brackets.
    static QString damagedMessage(const QString& path, const QString& detail);

private:
    QString folder_;
    int quality_;
    bool backup_;
};

}  // namespace tessaly
