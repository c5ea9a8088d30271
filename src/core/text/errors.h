#pragma once

#include <QByteArray>
#include <QString>
#include <exception>

namespace tessaly {

// Base of every error the core raises. The message is the text shown to the user.
class Error : public std::exception {
public:
    explicit Error(QString message);
    const QString& message() const noexcept { return message_; }
    const char* what() const noexcept override { return utf8_.constData(); }

private:
    QString message_;
    QByteArray utf8_;
};

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
