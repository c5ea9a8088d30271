#include "core/imaging/metadata/exiforientation.h"

#include <libexif/exif-data.h>

#include <cstring>

namespace tessaly {

bool isExifPayload(const unsigned char* payload, size_t size) {
    return size >= 6 && std::memcmp(payload, "Exif\0\0", 6) == 0;
}

int exifOrientation(const unsigned char* payload, size_t size) {
    if (!isExifPayload(payload, size) || size > 0xFFFF) return 1;
    ExifData* data = exif_data_new();
    if (!data) return 1;
    // Read the data as it stands: no entries added or fixed, no maker notes interpreted.
    exif_data_unset_option(data, EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_option(data, EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    exif_data_load_data(data, payload, static_cast<unsigned int>(size));
    int value = 1;
    ExifEntry* entry = exif_content_get_entry(data->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION);
    if (entry && entry->format == EXIF_FORMAT_SHORT && entry->components == 1 && entry->data &&
        entry->size >= 2) {
        const int read = exif_get_short(entry->data, exif_data_get_byte_order(data));
        if (read >= 1 && read <= 8) value = read;
    }
    exif_data_unref(data);
    return value;
}

}  // namespace tessaly
