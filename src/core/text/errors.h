#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace tessaly {

// Base of every error the core raises. The message is the text shown to the user, in
// Japanese; the detail, when there is one, is a library's or the system's own text (often
// English), kept for standard error only.
class Error : public std::exception {
public:
    explicit Error(QString message, QString detail = QString());
    const QString& message() const noexcept { return message_; }
    const QString& detail() const noexcept { return detail_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QString detail_;
    QByteArray utf8_;
};

// The error as standard error shows it: the message, then the detail in brackets when there
// is one ("a.jpg: JPEG データに画像がありません（JPEG datastream contains no image）").
QString diagnosticText(const Error& error);

// Writes diagnosticText() to standard error when the error has a detail the user's message
// leaves out; nothing otherwise.
void logDetail(const Error& error);

// A file or folder could not be opened, created, read, written or renamed.
class IoError : public Error {
public:
    using Error::Error;
};

// A file could not be created where it belongs (no folder, no right to write there, a
// folder in its place): nothing of it was written.
class CreateError : public IoError {
public:
    using IoError::IoError;
};

// A text holds a character that code page 932 cannot store.
class EncodingError : public Error {
public:
    using Error::Error;
};

// A pixel image, codec or image file problem.
class ImageError : public Error {
public:
    using Error::Error;
};

// A check before the work starts refused the request (no title, no folder ...): a foreseen
// refusal whose message the user reads as a notice, not as a failure.
class CheckError : public Error {
public:
    using Error::Error;
};

// A setting that cannot be used as it stands (a hand-edited or damaged Quorvel.ini).
class SettingsError : public Error {
public:
    using Error::Error;
};

// The text shown when memory ran out: "メモリが足りません。\n処理は中断されました。"
QString outOfMemoryMessage();

}  // namespace tessaly
