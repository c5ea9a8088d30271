#include "core/imaging/metadata/photometadata.h"

#include <libexif/exif-data.h>
#include <libexif/exif-mem.h>

#include <cstdlib>
#include <cstring>
#include <memory>

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
