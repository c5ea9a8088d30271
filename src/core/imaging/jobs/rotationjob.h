#pragma once

#include <QString>
#include <QStringList>

#include "core/imaging/pixels/pixelimage.h"

namespace tessaly {

// A quarter turn clockwise, a quarter turn counter-clockwise, a half turn, or none (the
// photograph saved as it is shown).
enum class Turn { Right, Left, Half, None };

// The file-level work of turning photographs and saving them over their own files, shared by
// the rotation window and tessaly-batch. The folder is the photographs' folder; names are
// file names inside it.
class RotationJob {
public:
    // quality: JPEG quality of the saved files (clamped to 1..100); backup: copy each file into
    // "_backup" before its first save; lossless: turn the coded blocks without re-encoding
    // where the photograph's size allows it.
    RotationJob(const QString& folder, int quality, bool backup, bool lossless = false);

    // What rotateFile was doing when it raised.
    enum class Step { Reading, BackingUp, Saving };

    // Only files the format table turns losslessly (".jpg", any case) are turned.
    static bool isRotatableName(const QString& name);

    // Decodes a photograph as a 24-bit picture. A greyscale photograph is widened to 24 bits
    // (it is saved back as a colour JPEG). Raises JpegError or IoError; raises ImageError
    // damagedMessage() when the decode met missing or damaged data, whose picture must never
    // be saved over the photograph.
    static PixelImage loadPhotograph(const QString& path);
    // The same for the bytes of the file at path (named in the messages).
    static PixelImage decodePhotograph(const QString& path, const QByteArray& data);

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
    // owner, group, mode and modification time. Raises IoError; a half-written copy never
    // stands as the backup.
    bool backUp(const QString& name) const;

    // One photograph, under its PhotoLock from the read to the rename: reads the file, turns
    // the picture as it is shown (its EXIF orientation applied) by `turn`, backs the file up
    // and replaces it through a temporary file, so a failure leaves it untouched.
    // The written file keeps every APPn and COM segment of the original, in order and byte
    // for byte, except: in the EXIF block Orientation becomes 1, the pixel dimensions are
    // exchanged after a quarter turn and the embedded thumbnail is unlinked (it would show
    // the old position); when the pixels are re-encoded, the Adobe segment (it describes the
    // old coding) and an ICC profile that is not for RGB colours (a grey or CMYK photograph
    // is saved in colour) are left out. The EXIF block is edited where it stands (see
    // ExifBlock::madeUpright): a field that cannot be edited there stays as it was, and only
    // a block too damaged to edit at all is left out; either is told in `warnings`, when
    // given (exifUnchangedMessage, exifLeftOutMessage), once the file is saved.
    // Returns true when the coded blocks were turned losslessly; false when the picture was
    // re-encoded at the quality (lossless off, or the size did not allow a perfect turn).
    // Raises IoError PhotoLock::busyMessage() when another rotation is turning the same
    // file, the read's errors, IoError for the backup or the save; `step`, when given,
    // tells which step raised.
    bool rotateFile(const QString& name, Turn turn, Step* step = nullptr,
                    QStringList* warnings = nullptr) const;

    // The window's texts.
    static QString
    backupErrorMessage();  // "バックアップファイルの書き込みでエラーが発生しました。"
    static QString saveErrorMessage();  // "ファイルの書き込みでエラーが発生しました。"
    static QString noFileMessage();  // "ファイルが選択されていません。"
    // "<file name>: 画像データが壊れているか途中で切れているため、回転できません。..."
    // with the codec's warning in brackets.
    static QString damagedMessage(const QString& path);
    // "<name>: 画像の大きさが無劣化で回転できない大きさのため、圧縮し直して保存しました。"
    static QString notLosslessMessage(const QString& name);
    // "<name>: EXIF 情報は壊れていて直せないため外しました。"; withDate (the block held a
    // capture time) puts "（撮影日時も失われます）" before the full stop.
    static QString exifLeftOutMessage(const QString& name, bool withDate);
    // "<name>: EXIF の <fields, joined by 、> は直せず元のまま"
    static QString exifUnchangedMessage(const QString& name, const QStringList& fields);

private:
    QString folder_;
    int quality_;
    bool backup_;
    bool lossless_;

    QByteArray turnedFile(const QString& path, Turn turn, bool& lossless,
                          QStringList* warnings) const;
};

}  // namespace tessaly
