#include "core/imaging/metadata/exifblock.h"

#include <libexif/exif-data.h>
#include <libexif/exif-mem.h>

#include <QStringList>
#include <cmath>
#include <cstring>
#include <functional>
#include <initializer_list>
#include <optional>
#include <vector>

namespace tessaly {

namespace {

constexpr int kTiffStart = 6;  // after "Exif\0\0"

// ---- Reading ----

const ExifEntry* entryOf(ExifData* data, ExifIfd ifd, ExifTag tag) {
    if (!data) return nullptr;
    const ExifEntry* entry = exif_content_get_entry(data->ifd[ifd], tag);
    return entry && entry->data && entry->size > 0 ? entry : nullptr;
}

QString textOf(ExifData* data, ExifIfd ifd, ExifTag tag) {
    const ExifEntry* entry = entryOf(data, ifd, tag);
    if (!entry || entry->format != EXIF_FORMAT_ASCII) return QString();
    const char* text = reinterpret_cast<const char*>(entry->data);
    return QString::fromLatin1(text, int(qstrnlen(text, entry->size))).trimmed();
}

// The first value of a RATIONAL entry; NaN when missing or undefined.
double rationalOf(ExifData* data, ExifIfd ifd, ExifTag tag) {
    const ExifEntry* entry = entryOf(data, ifd, tag);
    if (!entry || entry->format != EXIF_FORMAT_RATIONAL || entry->size < 8) return std::nan("");
    const ExifRational r = exif_get_rational(entry->data, exif_data_get_byte_order(data));
    return r.denominator == 0 ? std::nan("") : double(r.numerator) / r.denominator;
}

// "YYYY:MM:DD HH:MM:SS" as the camera wrote it.
QDateTime dateTimeOf(const QString& text) {
    const QDate date = QDate::fromString(text.left(10), QStringLiteral("yyyy:MM:dd"));
    const QTime time = QTime::fromString(text.mid(11, 8), QStringLiteral("HH:mm:ss"));
    if (!date.isValid() || !time.isValid()) return QDateTime();
    return QDateTime(date, time, Qt::UTC);
}

// 18 -> "18", 4.5 -> "4.5".
QString shortNumber(double value) {
    QString text = QString::number(value, 'f', 1);
    if (text.endsWith(QLatin1String(".0"))) text.chop(2);
    return text;
}

QString exposureText(double seconds) {
    if (!(seconds > 0)) return QString();
    if (seconds < 1)
        return QStringLiteral("1/") + shortNumber(std::round(1 / seconds)) + QStringLiteral("秒");
    return shortNumber(seconds) + QStringLiteral("秒");
}

// ---- Keeping the date and camera fields ----

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

// ---- Editing in place ----

// The TIFF data of a block, read and written in its byte order, every access bounds-checked.
// Offsets count from the TIFF start, as in the data itself.
class TiffBytes {
public:
    explicit TiffBytes(QByteArray& block) : block_(block) {}

    // As libexif opens the data: a byte order mark, then the first directory's offset.
    bool open() {
        if (block_.size() < kTiffStart + 8) return false;
        const QByteArray order = block_.mid(kTiffStart, 2);
        big_ = order == "MM";
        return big_ || order == "II";
    }

    bool fits(quint64 at, quint64 bytes) const {
        return at + bytes <= quint64(block_.size() - kTiffStart);
    }

    std::optional<quint32> read(quint64 at, int bytes) const {
        if (!fits(at, quint64(bytes))) return std::nullopt;
        quint32 value = 0;
        for (int i = 0; i < bytes; ++i) {
            const quint32 byte = uchar(block_[int(kTiffStart + at) + (big_ ? i : bytes - 1 - i)]);
            value = (value << 8) | byte;
        }
        return value;
    }

    void write(quint64 at, int bytes, quint32 value) {
        for (int i = 0; i < bytes; ++i) {
            const int shift = 8 * (big_ ? bytes - 1 - i : i);
            block_[int(kTiffStart + at) + i] = char((value >> shift) & 0xFF);
        }
    }

    const char* at(quint64 offset) const { return block_.constData() + kTiffStart + offset; }

private:
    QByteArray& block_;
    bool big_ = false;
};

// A directory as libexif loads it: the entries that lie whole in the data.
struct Directory {
    quint64 at = 0;
    int count = 0;   // as stated
    int loaded = 0;  // of them within the data
    quint64 entry(int i) const { return at + 2 + 12 * quint64(i); }
};

std::optional<Directory> directoryAt(const TiffBytes& tiff, quint64 at) {
    const auto count = tiff.read(at, 2);
    if (!count) return std::nullopt;
    Directory dir{at, int(*count), 0};
    while (dir.loaded < dir.count && tiff.fits(dir.entry(dir.loaded), 12)) ++dir.loaded;
    return dir;
}

// The entry of the directory that libexif read as `read`: the first with its tag, type,
// count and value. Nothing when the value is not held in the entry itself.
std::optional<quint64> entryLibexifRead(const TiffBytes& tiff, const Directory& dir,
                                        const ExifEntry& read) {
    if (read.size > 4) return std::nullopt;
    for (int i = 0; i < dir.loaded; ++i) {
        const quint64 entry = dir.entry(i);
        if (tiff.read(entry, 2) == quint32(read.tag) &&
            tiff.read(entry + 2, 2) == quint32(read.format) &&
            tiff.read(entry + 4, 4) == quint32(read.components) &&
            std::memcmp(tiff.at(entry + 8), read.data, read.size) == 0) {
            return entry;
        }
    }
    return std::nullopt;
}

// A single SHORT or LONG value held in its entry: the only fields edited in place.
bool isSingleNumber(const ExifEntry& entry) {
    return entry.components == 1 &&
           (entry.format == EXIF_FORMAT_SHORT || entry.format == EXIF_FORMAT_LONG);
}

quint32 numberOf(const ExifEntry& entry, ExifByteOrder order) {
    return entry.format == EXIF_FORMAT_SHORT ? exif_get_short(entry.data, order)
                                             : exif_get_long(entry.data, order);
}

// Writes a single number into an entry, a SHORT entry becoming LONG when it cannot hold it
// (both are allowed for the size fields, and the value stays within the entry).
void writeNumber(TiffBytes& tiff, quint64 entry, quint32 value) {
    const bool isShort = tiff.read(entry + 2, 2) == quint32(EXIF_FORMAT_SHORT);
    if (isShort && value <= 0xFFFF) {
        tiff.write(entry + 8, 2, value);
        return;
    }
    tiff.write(entry + 2, 2, EXIF_FORMAT_LONG);
    tiff.write(entry + 8, 4, value);
}

// The edits of ExifBlock::madeUpright on a copy of the block.
class UprightEdit {
public:
    UprightEdit(ExifData* data, QByteArray& block) : data_(data), tiff_(block) {}

    bool open() {
        if (!tiff_.open()) return false;
        const auto first = tiff_.read(4, 4);
        ifd0_ = first ? directoryAt(tiff_, *first) : std::nullopt;
        return ifd0_.has_value();
    }

    void resetOrientation() {
        const ExifEntry* read = entryOf(data_, EXIF_IFD_0, EXIF_TAG_ORIENTATION);
        if (!read || !isSingleNumber(*read)) return;  // read as 1 already
        if (const auto entry = entryLibexifRead(tiff_, *ifd0_, *read))
            writeNumber(tiff_, *entry, 1);
    }

    void swapDimensions() {
        swap(*ifd0_, EXIF_IFD_0, EXIF_TAG_IMAGE_WIDTH, EXIF_TAG_IMAGE_LENGTH,
             QStringLiteral("ImageWidth/ImageLength"));
        if (const auto exif = exifDirectory()) {
            swap(*exif, EXIF_IFD_EXIF, EXIF_TAG_PIXEL_X_DIMENSION, EXIF_TAG_PIXEL_Y_DIMENSION,
                 QStringLiteral("PixelXDimension/PixelYDimension"));
        } else if (hasTag(*ifd0_, EXIF_TAG_EXIF_IFD_POINTER)) {
            // Pointing outside the data: no reader finds the directory's sizes (nor its dates).
            unchanged_ << QStringLiteral("ExifIFDPointer");
        }
    }

    // Unlinks IFD1 where the link lies within the data (elsewhere libexif reads none).
    void unlinkThumbnail() {
        const quint64 link = ifd0_->entry(ifd0_->count);
        if (tiff_.fits(link, 4)) tiff_.write(link, 4, 0);
    }

    QStringList unchanged() const { return unchanged_; }

private:
    ExifData* data_;
    TiffBytes tiff_;
    std::optional<Directory> ifd0_;
    QStringList unchanged_;

    bool hasTag(const Directory& dir, int tag) const {
        for (int i = 0; i < dir.loaded; ++i) {
            if (tiff_.read(dir.entry(i), 2) == quint32(tag)) return true;
        }
        return false;
    }

    // The EXIF directory of IFD0's first EXIF pointer, when it starts within the data.
    std::optional<Directory> exifDirectory() const {
        for (int i = 0; i < ifd0_->loaded; ++i) {
            const quint64 entry = ifd0_->entry(i);
            if (tiff_.read(entry, 2) != quint32(EXIF_TAG_EXIF_IFD_POINTER)) continue;
            const auto at = tiff_.read(entry + 8, 4);
            return at ? directoryAt(tiff_, *at) : std::nullopt;
        }
        return std::nullopt;
    }

    void swap(const Directory& dir, ExifIfd ifd, ExifTag first, ExifTag second,
              const QString& names) {
        const ExifEntry* a = entryOf(data_, ifd, first);
        const ExifEntry* b = entryOf(data_, ifd, second);
        if (!a && !b) return;
        const auto atA = a ? entryLibexifRead(tiff_, dir, *a) : std::nullopt;
        const auto atB = b ? entryLibexifRead(tiff_, dir, *b) : std::nullopt;
        if (!atA || !atB || !isSingleNumber(*a) || !isSingleNumber(*b)) {
            unchanged_ << names;
            return;
        }
        const ExifByteOrder order = exif_data_get_byte_order(data_);
        const quint32 valueA = numberOf(*a, order), valueB = numberOf(*b, order);
        writeNumber(tiff_, *atA, valueB);
        writeNumber(tiff_, *atB, valueA);
    }
};

}  // namespace

void ExifBlock::Release::operator()(_ExifData* data) const { exif_data_unref(data); }

ExifBlock::ExifBlock(const QByteArray& payload) : payload_(payload) {
    const auto* bytes = reinterpret_cast<const unsigned char*>(payload.constData());
    if (!isExifPayload(bytes, std::size_t(payload.size()))) return;
    data_.reset(exif_data_new());
    if (!data_) return;
    // Read the data as it stands: no entries added or fixed, no maker notes interpreted.
    exif_data_unset_option(data_.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_option(data_.get(), EXIF_DATA_OPTION_DONT_CHANGE_MAKER_NOTE);
    exif_data_load_data(data_.get(), bytes, static_cast<unsigned int>(payload.size()));
}

ExifBlock::~ExifBlock() = default;

bool ExifBlock::isExifPayload(const unsigned char* payload, std::size_t size) {
    return size >= 6 && std::memcmp(payload, "Exif\0\0", 6) == 0;
}

int ExifBlock::orientation() const {
    const ExifEntry* entry = entryOf(data_.get(), EXIF_IFD_0, EXIF_TAG_ORIENTATION);
    if (!entry || entry->format != EXIF_FORMAT_SHORT || entry->components != 1 || entry->size < 2) {
        return 1;
    }
    const int read = exif_get_short(entry->data, exif_data_get_byte_order(data_.get()));
    return read >= 1 && read <= 8 ? read : 1;
}

QDateTime ExifBlock::taken() const {
    const std::pair<ExifIfd, ExifTag> fields[] = {{EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_ORIGINAL},
                                                  {EXIF_IFD_EXIF, EXIF_TAG_DATE_TIME_DIGITIZED},
                                                  {EXIF_IFD_0, EXIF_TAG_DATE_TIME}};
    for (const auto& [ifd, tag] : fields) {
        const QDateTime taken = dateTimeOf(textOf(data_.get(), ifd, tag));
        if (taken.isValid()) return taken;
    }
    return QDateTime();
}

QString ExifBlock::camera() const {
    ExifData* data = data_.get();
    QStringList parts;
    parts << textOf(data, EXIF_IFD_0, EXIF_TAG_MODEL);
    const double focal = rationalOf(data, EXIF_IFD_EXIF, EXIF_TAG_FOCAL_LENGTH);
    if (focal > 0) parts << shortNumber(focal) + QStringLiteral("mm");
    parts << exposureText(rationalOf(data, EXIF_IFD_EXIF, EXIF_TAG_EXPOSURE_TIME));
    const double fNumber = rationalOf(data, EXIF_IFD_EXIF, EXIF_TAG_FNUMBER);
    if (fNumber > 0) parts << QStringLiteral("F") + QString::number(fNumber, 'f', 1);
    const ExifEntry* iso = entryOf(data, EXIF_IFD_EXIF, EXIF_TAG_ISO_SPEED_RATINGS);
    if (iso && iso->format == EXIF_FORMAT_SHORT && iso->size >= 2) {
        const int value = exif_get_short(iso->data, exif_data_get_byte_order(data));
        if (value > 0) parts << QStringLiteral("ISO") + QString::number(value);
    }
    parts.removeAll(QString());
    return parts.join(QLatin1Char(' '));
}

bool ExifBlock::hasThumbnail() const { return data_ && data_->data && data_->size > 0; }

QByteArray ExifBlock::dateAndCameraBlock() const {
    if (!data_) return {};
    std::unique_ptr<ExifMem, MemUnref> mem(exif_mem_new_default());
    if (!mem) return {};
    // A block that neither adds nor drops fields on its own.
    DataPtr kept(exif_data_new_mem(mem.get()));
    if (!kept) return {};
    exif_data_unset_option(kept.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    exif_data_set_byte_order(kept.get(), exif_data_get_byte_order(data_.get()));
    int count = 0;
    for (const Kept& field : kKept) {
        const ExifEntry* entry =
            exif_content_get_entry(data_->ifd[field.ifd], static_cast<ExifTag>(field.tag));
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

ExifBlock::Upright ExifBlock::madeUpright(bool swapDimensions, bool dropThumbnail) const {
    Upright result;
    QByteArray edited = payload_;
    UprightEdit edit(data_.get(), edited);
    if (!data_ || !edit.open()) {
        result.leftOut = true;
        return result;
    }
    edit.resetOrientation();
    if (swapDimensions) edit.swapDimensions();
    // Only a link libexif follows: elsewhere the four bytes may belong to other data.
    if (dropThumbnail && (hasThumbnail() || data_->ifd[EXIF_IFD_1]->count > 0)) {
        edit.unlinkThumbnail();
    }
    result.unchanged = edit.unchanged();
    // Read back: overlapping or odd structures may make an edit change what readers see.
    const ExifBlock check(edited);
    if (check.orientation() != 1 || check.taken() != taken() || check.camera() != camera()) {
        result.leftOut = true;
        result.unchanged.clear();
        return result;
    }
    if (dropThumbnail && check.hasThumbnail()) result.unchanged << QStringLiteral("IFD1");
    result.payload = edited;
    return result;
}

namespace {

bool listed(int tag, std::initializer_list<int> tags) {
    for (const int t : tags) {
        if (t == tag) return true;
    }
    return false;
}

// Fields that name the camera's owner or the camera itself: serial numbers (EXIF, DNG and
// Adobe's private tags) and owner names.
bool isSerial(int tag) { return listed(tag, {0xA431, 0xA435, 0xC62F, 0xFDE9}); }
bool isOwner(int tag) { return listed(tag, {0xA430, 0xFDE8}); }

// The fields of the first directory a published copy keeps: its size and resolution,
// ImageDescription, Make, Model, Orientation, DateTime, Artist, YCbCrPositioning, Copyright.
bool isPublishedInFirst(int tag) {
    return listed(tag, {0x0100, 0x0101, 0x010E, 0x010F, 0x0110, 0x0112, 0x011A, 0x011B, 0x0128,
                        0x0132, 0x013B, 0x0213, 0x8298});
}

// The fields of the EXIF directory a published copy keeps: exposure (0x829A to 0x9209),
// the versions and components, dates and their time zones and fractions, focal length, UserComment,
// colour space and pixel size, the shooting modes (0xA215, 0xA401 to 0xA40C) and the lens.
bool isPublishedInExif(int tag) {
    return listed(tag,
                  {0x829A, 0x829D, 0x8822, 0x8827, 0x8830, 0x8831, 0x8832, 0x8833, 0x9000, 0x9003,
                   0x9004, 0x9010, 0x9011, 0x9012, 0x9101, 0x9201, 0x9202, 0x9203, 0x9204, 0x9205,
                   0x9206, 0x9207, 0x9208, 0x9209, 0x920A, 0x9286, 0x9290, 0x9291, 0x9292, 0xA000,
                   0xA001, 0xA002, 0xA003, 0xA215, 0xA401, 0xA402, 0xA403, 0xA404, 0xA405, 0xA406,
                   0xA407, 0xA408, 0xA409, 0xA40A, 0xA40C, 0xA432, 0xA433, 0xA434});
}

// Whether a published copy keeps a field: only those listed, and the GPS directory whole
// when the location is kept. Everything else goes, whatever it is: maker notes, serials and
// owner names, packets stored in EXIF (XMP, Photoshop resources, IPTC), the thumbnail's and
// the interoperability directories, fields of no known meaning.
bool isPublished(ExifIfd ifd, int tag, bool keepLocation) {
    switch (ifd) {
        case EXIF_IFD_0:
            return isPublishedInFirst(tag);
        case EXIF_IFD_EXIF:
            return isPublishedInExif(tag);
        case EXIF_IFD_GPS:
            return keepLocation;
        default:
            return false;
    }
}

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

DataPtr plainData(ExifMem* mem) {
    DataPtr data(exif_data_new_mem(mem));
    if (data) exif_data_unset_option(data.get(), EXIF_DATA_OPTION_FOLLOW_SPECIFICATION);
    return data;
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

QByteArray ExifBlock::publishedBlock(const QByteArray& exifBlock, bool keepLocation, int width,
                                     int height) {
    if (exifBlock.isEmpty()) return {};
    std::unique_ptr<ExifMem, MemUnref> mem(exif_mem_new_default());
    if (!mem) return {};
    DataPtr data = loaded(mem.get(), exifBlock, true);
    if (!data || !holdsAnything(*data)) return {};
    ExifData* d = data.get();
    for (int ifd = 0; ifd < EXIF_IFD_COUNT; ++ifd) {
        removeWhere(d->ifd[ifd], [ifd, keepLocation](int tag) {
            return !isPublished(ExifIfd(ifd), tag, keepLocation);
        });
    }
    if (d->data) exif_mem_free(mem.get(), d->data);
    d->data = nullptr;
    d->size = 0;
    const ExifByteOrder order = exif_data_get_byte_order(d);
    setNumber(exif_content_get_entry(d->ifd[EXIF_IFD_0], EXIF_TAG_ORIENTATION), order, 1);
    setNumber(exif_content_get_entry(d->ifd[EXIF_IFD_0], EXIF_TAG_IMAGE_WIDTH), order,
              unsigned(width));
    setNumber(exif_content_get_entry(d->ifd[EXIF_IFD_0], EXIF_TAG_IMAGE_LENGTH), order,
              unsigned(height));
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

ExifBlock::Private ExifBlock::privateFields(const QByteArray& exifBlock) {
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
