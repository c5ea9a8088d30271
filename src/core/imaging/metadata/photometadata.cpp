#include "core/imaging/metadata/photometadata.h"

#include <libexif/exif-data.h>
#include <libexif/exif-mem.h>

#include <cstdlib>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <memory>
#include <vector>

namespace tessaly {

namespace {

struct Kept {
    ExifIfd ifd;
    int tag;
};

// Date and camera fields; the numbers are those of the EXIF standard.
const Kept kKept[] = {
    {EXIF_IFD_0, 0x010F},     // Make
    {EXIF_IFD_0, 0x0110},     // Model
    {EXIF_IFD_0, 0x0132},     // DateTime
    {EXIF_IFD_EXIF, 0x829A},  // ExposureTime
    {EXIF_IFD_EXIF, 0x829D},  // FNumber
    {EXIF_IFD_EXIF, 0x8827},  // ISOSpeedRatings
    {EXIF_IFD_EXIF, 0x9003},  // DateTimeOriginal
    {EXIF_IFD_EXIF, 0x9004},  // DateTimeDigitized
    {EXIF_IFD_EXIF, 0x9010},  // OffsetTime
    {EXIF_IFD_EXIF, 0x9011},  // OffsetTimeOriginal
    {EXIF_IFD_EXIF, 0x9012},  // OffsetTimeDigitized
    {EXIF_IFD_EXIF, 0x920A},  // FocalLength
    {EXIF_IFD_EXIF, 0x9290},  // SubSecTime
    {EXIF_IFD_EXIF, 0x9291},  // SubSecTimeOriginal
    {EXIF_IFD_EXIF, 0x9292},  // SubSecTimeDigitized
    {EXIF_IFD_EXIF, 0xA405},  // FocalLengthIn35mmFilm
    {EXIF_IFD_EXIF, 0xA433},  // LensMake
    {EXIF_IFD_EXIF, 0xA434},  // LensModel
};

struct DataUnref {
    void operator()(ExifData* p) const { exif_data_unref(p); }
};
struct MemUnref {
    void operator()(ExifMem* p) const { exif_mem_unref(p); }
};
using DataPtr = std::unique_ptr<ExifData, DataUnref>;

// An ExifData that neither adds nor drops fields on its own.
DataPtr plainData(ExifMem* mem) {
    DataPtr data(exif_data_new_mem(mem));
    if (data) exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    return data;
}

// Copies one field into the target's IFD; false when memory ran out.
bool copyEntry(ExifMem* mem, const ExifEntry& from, ExifContent* to) {
    ExifEntry* entry = exif_entry_new_mem(mem);
    if (!entry) return false;
    entry->data = static_cast<unsigned char*>(exif_mem_alloc(mem, from.size));
    if (!entry->data && from.size > 0) {
        exif_entry_unref(entry);
        return false;
    }
    if (from.size > 0) std::memcpy(entry->data, from.data, from.size);
    entry->tag = from.tag;
    entry->format = from.format;
    entry->components = from.components;
    entry->size = from.size;
    exif_content_add_entry(to, entry);
    exif_entry_unref(entry);
    return true;
}

}  // namespace

QByteArray PhotoMetadata::keptExif(const QByteArray& exifBlock) {
    if (exifBlock.isEmpty()) return {};
    std::unique_ptr<ExifMem, MemUnref> mem(exif_mem_new_default());
    if (!mem) return {};
    DataPtr source = plainData(mem.get());
    DataPtr kept = plainData(mem.get());
    if (!source || !kept) return {};
    exif_data_load_data(source.get(), reinterpret_cast<const unsigned char*>(exifBlock.constData()),
                        unsigned(exifBlock.size()));
    exif_data_set_byte_order(kept.get(), exif_data_get_byte_order(source.get()));
    int count = 0;
    for (const Kept& field : kKept) {
        const ExifEntry* entry =
            exif_content_get_entry(source->ifd[field.ifd], static_cast<ExifTag>(field.tag));
        if (!entry || !entry->data) continue;
        if (!copyEntry(mem.get(), *entry, kept->ifd[field.ifd])) return {};
        ++count;
    }
    if (count == 0) return {};
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(kept.get(), &bytes, &size);
    QByteArray block(reinterpret_cast<const char*>(bytes), int(size));
    exif_mem_free(mem.get(), bytes);
    return block;
}

}  // namespace tessaly

namespace tessaly {

namespace {

// Fields that name the camera's owner or the camera itself: serial numbers (EXIF, DNG and
// Adobe's private tags) and owner names.
constexpr int kMakerNote = 0x927C;

bool listed(int tag, std::initializer_list<int> tags) {
    for (const int t : tags) {
        if (t == tag) return true;
    }
    return false;
}

bool isSerial(int tag) { return listed(tag, {0xA431, 0xA435, 0xC62F, 0xFDE9}); }
bool isOwner(int tag) { return listed(tag, {0xA430, 0xFDE8}); }

void removeWhere(ExifContent* content, const std::function<bool(int)>& drop) {
    std::vector<ExifEntry*> doomed;
    for (unsigned i = 0; i < content->count; ++i) {
        if (drop(int(content->entries[i]->tag))) doomed.push_back(content->entries[i]);
    }
    for (ExifEntry* entry : doomed) exif_content_remove_entry(content, entry);
}

// Sets a single SHORT or LONG value where the entry holds one.
void setNumber(ExifEntry* entry, ExifByteOrder order, unsigned value) {
    if (!entry || entry->components != 1 || !entry->data) return;
    if (entry->format == EXIF_FORMAT_SHORT && value <= 0xFFFF && entry->size >= 2) {
        exif_set_short(entry->data, order, ExifShort(value));
    } else if (entry->format == EXIF_FORMAT_LONG && entry->size >= 4) {
        exif_set_long(entry->data, order, ExifLong(value));
    }
}

DataPtr loaded(ExifMem* mem, const QByteArray& block, bool knownTagsOnly) {
    DataPtr data = plainData(mem);
    if (!data) return data;
    if (knownTagsOnly) {
        exif_data_set_option(data.get(), EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    } else {
        exif_data_unset_option(data.get(), EXIF_DATA_OPTION_IGNORE_UNKNOWN_TAGS);
    }
    exif_data_set_option(data.get(), EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    exif_data_load_data(data.get(), reinterpret_cast<const unsigned char*>(block.constData()),
                        unsigned(block.size()));
    return data;
}

bool holdsAnything(const ExifData& data) {
    for (const ExifContent* content : data.ifd) {
        if (content && content->count > 0) return true;
    }
    return false;
}

}  // namespace

QByteArray PhotoMetadata::publishedExif(const QByteArray& exifBlock, bool keepLocation, int width,
                                        int height) {
    if (exifBlock.isEmpty()) return {};
    std::unique_ptr<ExifMem, MemUnref> mem(exif_mem_new_default());
    if (!mem) return {};
    DataPtr data = loaded(mem.get(), exifBlock, true);
    if (!data || !holdsAnything(*data)) return {};
    ExifData* d = data.get();
    for (const ExifIfd ifd : {EXIF_IFD_0, EXIF_IFD_EXIF, EXIF_IFD_INTEROPERABILITY}) {
        removeWhere(d->ifd[ifd],
                    [](int tag) { return tag == kMakerNote || isSerial(tag) || isOwner(tag); });
    }
    removeWhere(d->ifd[EXIF_IFD_1], [](int) { return true; });
    if (!keepLocation) removeWhere(d->ifd[EXIF_IFD_GPS], [](int) { return true; });
    if (d->data) exif_mem_free(mem.get(), d->data);
    d->data = nullptr;
    d->size = 0;
    const ExifByteOrder order = exif_data_get_byte_order(d);
    setNumber(exif_content_get_entry(d->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION), order, 1);
    setNumber(exif_content_get_entry(d->ifd[EXIF_IFD_EXIF], EXIF_TAG_PIXEL_X_DIMENSION), order,
              unsigned(width));
    setNumber(exif_content_get_entry(d->ifd[EXIF_IFD_EXIF], EXIF_TAG_PIXEL_Y_DIMENSION), order,
              unsigned(height));
    unsigned char* bytes = nullptr;
    unsigned int size = 0;
    exif_data_save_data(d, &bytes, &size);
    if (!bytes) return {};
    QByteArray block(reinterpret_cast<const char*>(bytes), int(size));
    exif_mem_free(mem.get(), bytes);
    return block;
}

PhotoMetadata::Private PhotoMetadata::privateFields(const QByteArray& exifBlock) {
    Private found;
    if (exifBlock.isEmpty()) return found;
    std::unique_ptr<ExifMem, MemUnref> mem(exif_mem_new_default());
    if (!mem) return found;
    DataPtr data = loaded(mem.get(), exifBlock, false);
    if (!data) return found;
    ExifContent* gps = data->ifd[EXIF_IFD_GPS];
    found.position = exif_content_get_entry(gps, static_cast<ExifTag>(EXIF_TAG_GPS_LATITUDE)) ||
                     exif_content_get_entry(gps, static_cast<ExifTag>(EXIF_TAG_GPS_LONGITUDE));
    for (const ExifIfd ifd : {EXIF_IFD_0, EXIF_IFD_EXIF}) {
        const ExifContent* content = data->ifd[ifd];
        for (unsigned i = 0; i < content->count; ++i) {
            const ExifEntry* entry = content->entries[i];
            if (entry->size == 0) continue;
            found.serial = found.serial || isSerial(int(entry->tag));
            found.owner = found.owner || isOwner(int(entry->tag));
        }
    }
    return found;
}

}  // namespace tessaly
