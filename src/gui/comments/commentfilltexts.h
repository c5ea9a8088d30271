#pragma once

#include <QDateTime>
#include <QString>

namespace tessaly {

// The texts the comment editor's fill commands put into the comment lines.

// A modification time as its date "yy/MM/dd" (8 characters, "26/12/07"), whatever the
// system's locale: a locale's own short format cut to 8 characters loses the day or the
// century ("2026/12/", "7 Dec 20").
QString commentDateText(const QDateTime& modified);

// A size in tenths of a kilobyte of 1,024 bytes, rounded half to even: 256 -> "0.2KB",
// 12,345 -> "12.1KB", 1,000 -> "1.0KB", 0 -> "0.0KB".
QString commentSizeText(qint64 bytes);

// A listed file name; without its extension (".jpg", ".heic", ...) when withoutExtension is set.
QString commentNameText(const QString& fileName, bool withoutExtension);

// The date and size texts of a file on disk. Raise IoError when the file cannot be examined.
QString fileDateText(const QString& path);
QString fileSizeText(const QString& path);

// What the camera recorded in a JPEG file's EXIF data (its header only is read): the capture
// time as the date text above, and the camera and exposure ("NIKON D70 18mm 1/60秒 F4.0
// ISO200"). Empty when the file holds none.
QString fileCaptureTimeText(const QString& path);
QString fileCameraText(const QString& path);

}  // namespace tessaly
