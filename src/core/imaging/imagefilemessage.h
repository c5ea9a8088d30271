#pragma once

#include <QString>

namespace tessaly {

// The text of an image file that could not be read, as the user sees it:
// "<file name>: <what went wrong, in Japanese>（<the decoder's own detail>）".
// The sentence is chosen from the detail: the decoder's texts stay as they are and only
// follow the sentence, so nothing of what the decoder said is lost.
QString jpegFileMessage(const QString& path, const QString& detail);
QString bmpFileMessage(const QString& path, const QString& detail);

}  // namespace tessaly
