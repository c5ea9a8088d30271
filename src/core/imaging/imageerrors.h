#pragma once

#include "core/text/errors.h"

namespace tessaly {

// Errors of the pixel image. Each message names the operation that failed.

// The image or its pixel format is invalid.
class PixelFormatError : public ImageError {
public:
    using ImageError::ImageError;
};

// The file is not a BMP file or its content is damaged.
class BmpFormatError : public ImageError {
public:
    using ImageError::ImageError;
};

// The operation is not possible on a run-length compressed image.
class CompressedImageError : public ImageError {
public:
    using ImageError::ImageError;
};

// A pixel position or row lies outside the image.
class PixelRangeError : public ImageError {
public:
    using ImageError::ImageError;
};

// Invalid sizes or parameters for a new storage.
class ImageSizeError : public ImageError {
public:
    using ImageError::ImageError;
};

// The JPEG codec refused the data (the message is the codec's own text).
class JpegError : public ImageError {
public:
    using ImageError::ImageError;
};

namespace imagemsg {
inline constexpr const char* kGetPixelFormat1 = "TNkInternalDIB.GetPixelFormat: Invalid DIB(1Bit)";
inline constexpr const char* kGetPixelFormat4 = "TNkInternalDIB.GetPixelFormat: Invalid DIB(4Bit)";
inline constexpr const char* kGetPixelFormat8 = "TNkInternalDIB.GetPixelFormat: Invalid DIB(8Bit)";
inline constexpr const char* kGetPixelFormat24 =
    "TNkInternalDIB.GetPixelFormat: Invalid DIB(24Bit)";
inline constexpr const char* kGetPixelFormatBitCount =
    "TNkInternalDIB.GetPixelFormat: Invalid DIB(Illegal BitCount)";
inline constexpr const char* kGetPixelsBadType = "TNkDIB.GetPixels: Bad DIB Type";
inline constexpr const char* kGetPixelsRange = "TNkDIB.GetPixels: Pixel Position is Out of Range";
inline constexpr const char* kSetPixelsBadType = "TNkDIB.SetPixels: Bad DIB Type";
inline constexpr const char* kSetPixelsRange = "TNkDIB.SetPixels: Pixel Position is Out of Range";
inline constexpr const char* kScanLineRange = "TNkDIB.GetScanLine: y is Out of Range";
inline constexpr const char* kScanLineBadType = "TNkDIB.GetScanLine: Bad DIB Type";
inline constexpr const char* kInvalidWidth = "TNkDIB.SetWidth: Invalid Width";
inline constexpr const char* kInvalidHeight = "TNkDIB.SetWidth: Invalid Height";
inline constexpr const char* kCreateStorage = "TNkInternalDIB.CreateDIB: Invalid Parameters";
inline constexpr const char* kFileType = "TNkInternalDIB.LoadFromFile: File type is invalid";
inline constexpr const char* kHeaderSize =
    "TNkInternalDIB.LoadFromStream: Invalid Bitmap Header Size";
inline constexpr const char* kMasks = "TNkInternalDIB.LoadFromStream: Invalid Masks";
inline constexpr const char* kBitCoutWindows = "TNkInternalDIB.LoadFromStream: Invalid BitCout";
inline constexpr const char* kBitCountOs2 = "TNkInternalDIB.LoadFromStream: Invalid BitCount";
inline constexpr const char* kBiBitCount = "TNkInternalDIB.LoadFromStream: Invalid biBitCount";
inline constexpr const char* kWidthHeight =
    "TNkInternalDIB.LoadFromStream: Invalid Width or Height";
// Texts of this program's own checks of untrusted BMP data.
inline constexpr const char* kTruncated =
    "TNkInternalDIB.LoadFromStream: The file is truncated or its data offsets are invalid";
inline constexpr const char* kBadRle =
    "TNkInternalDIB.LoadFromStream: Run-length data runs past the row or the image";
inline constexpr const char* kTooLarge = "TNkInternalDIB.LoadFromStream: The image is too large";
}  // namespace imagemsg

}  // namespace tessaly
