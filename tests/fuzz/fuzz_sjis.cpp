// Code page 932 decoding, and encoding back what was decoded.
#include <cstddef>
#include <cstdint>

#include "core/text/errors.h"
#include "core/text/sjis.h"

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size) {
    const QString text = tessaly::sjis::decode(
        QByteArray(reinterpret_cast<const char*>(data), static_cast<qsizetype>(size)));
    tessaly::sjis::encode(text, tessaly::sjis::Unmappable::CharacterRef);
    try {
        tessaly::sjis::encode(text, tessaly::sjis::Unmappable::Refuse);
    } catch (const tessaly::EncodingError&) {
    }
    return 0;
}
