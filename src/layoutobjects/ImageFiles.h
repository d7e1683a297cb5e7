// Picture file codecs: our own BMP reader and writer, JPEG through libjpeg, and the resolution in their headers.
#pragma once

#include <QByteArray>
#include <QImage>

// The largest decoded picture we allocate, in bytes of 24-bit rows.
inline constexpr qint64 MaxDecodedImageBytes = qint64(512) * 1024 * 1024;

// A BMP file in memory (file header first) as a 24-bit image; a null image for anything damaged or
// unsupported. Every length and count is checked against the bytes before anything is allocated.
QImage ReadBmp(const QByteArray& bytes);
// The length a BMP claims in its file header, or -1 when the bytes hold no plausible BMP header or claim more
// than they hold.
qint64 BmpFileLength(const QByteArray& bytes);
// The dpi of a BMP: from the pixels per metre of a 40-byte info header, else 72.
int BmpDpi(const QByteArray& bytes);
// A 24-bit bottom-up BMP file of the image, its pixels per metre taken from the dpi.
QByteArray WriteBmp(const QImage& image, int dpi);

// A JPEG decoded to 24-bit colour; a null image for damaged data, including data that only decodes with
// warnings (a truncated file).
QImage DecodeJpeg(const QByteArray& bytes);
// A baseline JPEG of the image at the given quality.
QByteArray EncodeJpeg(const QImage& image, int quality = 90);
// The horizontal density of the JFIF segment, or 72 without one. The scan stops at a segment length
// below 2, at the start of the scan data and at the end of the image.
int JfifDpi(const QByteArray& bytes);
