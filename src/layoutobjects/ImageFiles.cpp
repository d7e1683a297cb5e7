// Picture file codecs: our own BMP reader and writer, JPEG through libjpeg, and the resolution in their headers.
#include "layoutobjects/ImageFiles.h"

#include "core/AppSub.h"

#include <QtEndian>

#include <csetjmp>
#include <cstdio>
#include <cstring>

#include <jpeglib.h>

namespace {

quint32 u32At(const QByteArray& b, qint64 at)
{
    return qFromLittleEndian<quint32>(b.constData() + at);
}
quint16 u16At(const QByteArray& b, qint64 at)
{
    return qFromLittleEndian<quint16>(b.constData() + at);
}

// Shift and width of one colour mask of a bit-field BMP.
struct TChannel
{
    int shift = 0;
    quint32 max = 0;
    quint32 mask = 0;

    explicit TChannel(quint32 m) : mask(m)
    {
        if (!m)
            return;
        while (!(m & 1)) {
            m >>= 1;
            ++shift;
        }
        max = m;
    }
    uchar Value(quint32 pixel) const
    {
        if (!max)
            return 0;
        return uchar(quint64((pixel & mask) >> shift) * 255 / max);
    }
};

} // namespace

qint64 BmpFileLength(const QByteArray& bytes)
{
    if (bytes.size() < 18 || bytes[0] != 'B' || bytes[1] != 'M')
        return -1;
    const qint64 length = u32At(bytes, 2);
    if (length < 18 || length > bytes.size())
        return -1;
    return length;
}

int BmpDpi(const QByteArray& bytes)
{
    if (bytes.size() < 42 || u32At(bytes, 14) != 40)
        return 72;
    const qint64 dpi = RoundHalfAway(double(u32At(bytes, 38)) / 1000.0 * 25.4);
    return dpi <= 0 || dpi > 1000000 ? 72 : int(dpi);
}

QImage ReadBmp(const QByteArray& bytes)
{
    if (bytes.size() < 26 || bytes[0] != 'B' || bytes[1] != 'M')
        return {};
    const qint64 size = bytes.size();
    // A file header may claim less than the file holds, never more.
    const qint64 claimed = u32At(bytes, 2);
    if (claimed > size)
        return {};
    const qint64 headerSize = u32At(bytes, 14);
    qint64 width, height;
    int bits;
    quint32 compression = 0;
    qint64 colours = 0;
    int entryBytes;
    if (headerSize == 12) {
        width = u16At(bytes, 18);
        height = qint16(u16At(bytes, 20));
        bits = u16At(bytes, 24);
        entryBytes = 3;
    } else if (headerSize >= 40 && headerSize <= size - 14) {
        width = qint32(u32At(bytes, 18));
        height = qint32(u32At(bytes, 22));
        bits = u16At(bytes, 28);
        compression = u32At(bytes, 30);
        colours = u32At(bytes, 46);
        entryBytes = 4;
    } else {
        return {};
    }
    const bool topDown = height < 0;
    height = qAbs(height);
    if (width <= 0 || height <= 0 || width > 65535 || height > 65535)
        return {};
    if (bits != 1 && bits != 4 && bits != 8 && bits != 16 && bits != 24 && bits != 32)
        return {};
    // Plain pixels, or bit fields for 16 and 32 bits; run-length data is not read.
    if (compression != 0 && !(compression == 3 && (bits == 16 || bits == 32)))
        return {};
    qint64 paletteAt = 14 + headerSize;
    quint32 masks[3] = {0x7C00, 0x03E0, 0x001F};
    if (bits == 32) {
        masks[0] = 0xFF0000;
        masks[1] = 0xFF00;
        masks[2] = 0xFF;
    }
    if (compression == 3) {
        // The masks follow a 40-byte header; longer headers hold them in the same place.
        if (14 + 40 + 12 > size)
            return {};
        if (headerSize < 52)
            paletteAt = 14 + 40 + 12;
        for (int i = 0; i < 3; ++i)
            masks[i] = u32At(bytes, 14 + 40 + 4 * i);
    }
    QList<QRgb> palette;
    if (bits <= 8) {
        const qint64 maxColours = qint64(1) << bits;
        if (colours <= 0 || colours > maxColours)
            colours = maxColours;
        // Old files cut the table short: read what the bytes hold.
        const qint64 available = (size - paletteAt) / entryBytes;
        colours = qMin(colours, qMax<qint64>(available, 0));
        for (qint64 i = 0; i < colours; ++i) {
            const char* e = bytes.constData() + paletteAt + i * entryBytes;
            palette.append(qRgb(uchar(e[2]), uchar(e[1]), uchar(e[0])));
        }
        palette.resize(maxColours, qRgb(0, 0, 0));
        paletteAt += colours * entryBytes;
    }
    const qint64 rowBytes = (width * bits + 31) / 32 * 4;
    qint64 pixelsAt = u32At(bytes, 10);
    if (pixelsAt < paletteAt || pixelsAt > size)
        pixelsAt = paletteAt;
    if (rowBytes * height > size - pixelsAt || width * 3 * height > MaxDecodedImageBytes)
        return {};

    QImage image(int(width), int(height), QImage::Format_RGB888);
    if (image.isNull())
        return {};
    const TChannel red(masks[0]), green(masks[1]), blue(masks[2]);
    for (qint64 y = 0; y < height; ++y) {
        const uchar* src =
            reinterpret_cast<const uchar*>(bytes.constData()) + pixelsAt + rowBytes * (topDown ? y : height - 1 - y);
        uchar* dst = image.scanLine(int(y));
        for (qint64 x = 0; x < width; ++x, dst += 3) {
            switch (bits) {
            case 1:
            case 4:
            case 8: {
                const qint64 bit = x * bits;
                const int index = (src[bit / 8] >> (8 - bits - bit % 8)) & ((1 << bits) - 1);
                const QRgb c = palette[index];
                dst[0] = uchar(qRed(c));
                dst[1] = uchar(qGreen(c));
                dst[2] = uchar(qBlue(c));
                break;
            }
            case 16:
            case 32: {
                const quint32 p = bits == 16 ? quint32(qFromLittleEndian<quint16>(src + x * 2))
                                             : qFromLittleEndian<quint32>(src + x * 4);
                dst[0] = red.Value(p);
                dst[1] = green.Value(p);
                dst[2] = blue.Value(p);
                break;
            }
            default:
                dst[0] = src[x * 3 + 2];
                dst[1] = src[x * 3 + 1];
                dst[2] = src[x * 3];
            }
        }
    }
    return image;
}

QByteArray WriteBmp(const QImage& source, int dpi)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    const qint64 rowBytes = (qint64(image.width()) * 3 + 3) / 4 * 4;
    const qint64 pixelBytes = rowBytes * image.height();
    QByteArray out(54 + pixelBytes, '\0');
    char* p = out.data();
    const quint32 ppm = quint32(RoundHalfAway(dpi / 25.4 * 1000.0));
    p[0] = 'B';
    p[1] = 'M';
    qToLittleEndian<quint32>(quint32(out.size()), p + 2);
    qToLittleEndian<quint32>(54, p + 10);
    qToLittleEndian<quint32>(40, p + 14);
    qToLittleEndian<qint32>(image.width(), p + 18);
    qToLittleEndian<qint32>(image.height(), p + 22);
    qToLittleEndian<quint16>(1, p + 26);
    qToLittleEndian<quint16>(24, p + 28);
    qToLittleEndian<quint32>(quint32(pixelBytes), p + 34);
    qToLittleEndian<quint32>(ppm, p + 38);
    qToLittleEndian<quint32>(ppm, p + 42);
    for (int y = 0; y < image.height(); ++y) {
        const uchar* src = image.constScanLine(y);
        uchar* dst = reinterpret_cast<uchar*>(p) + 54 + rowBytes * (image.height() - 1 - y);
        for (int x = 0; x < image.width(); ++x) {
            dst[x * 3] = src[x * 3 + 2];
            dst[x * 3 + 1] = src[x * 3 + 1];
            dst[x * 3 + 2] = src[x * 3];
        }
    }
    return out;
}

int JfifDpi(const QByteArray& bytes)
{
    const qint64 size = bytes.size();
    const auto be16 = [&](qint64 at) { return qFromBigEndian<quint16>(bytes.constData() + at); };
    qint64 at = 2;
    while (at + 2 <= size) {
        const quint16 marker = be16(at);
        at += 2;
        if (marker == 0xFFE0) {
            at += 10;
            if (at + 2 > size)
                return 72;
            const int density = be16(at);
            return density == 0 ? 72 : density;
        }
        if (marker == 0xFFDA || marker == 0xFFD9 || at + 2 > size)
            return 72;
        const quint16 length = be16(at);
        if (length < 2)
            return 72;
        at += length;
    }
    return 72;
}

namespace {

// libjpeg reports fatal errors by calling error_exit, which must not return: we jump back to the caller.
struct TJpegErrors
{
    jpeg_error_mgr manager;
    std::jmp_buf jump;
};

[[noreturn]] void jpegErrorExit(j_common_ptr info)
{
    std::longjmp(reinterpret_cast<TJpegErrors*>(info->err)->jump, 1);
}

void jpegSilent(j_common_ptr) {}

void setUpErrors(TJpegErrors& errors)
{
    jpeg_std_error(&errors.manager);
    errors.manager.error_exit = jpegErrorExit;
    errors.manager.output_message = jpegSilent;
}

} // namespace

// No object with a destructor is created between setjmp and the calls that may jump.
QImage DecodeJpeg(const QByteArray& bytes)
{
    QImage image;
    if (bytes.size() < 4)
        return image;
    jpeg_decompress_struct info;
    TJpegErrors errors;
    setUpErrors(errors);
    info.err = &errors.manager;
    if (setjmp(errors.jump)) {
        jpeg_destroy_decompress(&info);
        return QImage();
    }
    jpeg_create_decompress(&info);
    jpeg_mem_src(&info, reinterpret_cast<const unsigned char*>(bytes.constData()), (unsigned long)bytes.size());
    jpeg_read_header(&info, TRUE);
    info.out_color_space = JCS_RGB;
    info.dct_method = JDCT_ISLOW;
    info.do_fancy_upsampling = TRUE;
    if (qint64(info.image_width) * 3 * info.image_height > MaxDecodedImageBytes) {
        jpeg_destroy_decompress(&info);
        return QImage();
    }
    jpeg_start_decompress(&info);
    if (info.output_components != 3) {
        jpeg_destroy_decompress(&info);
        return QImage();
    }
    image = QImage(int(info.output_width), int(info.output_height), QImage::Format_RGB888);
    if (image.isNull()) {
        jpeg_destroy_decompress(&info);
        return QImage();
    }
    while (info.output_scanline < info.output_height) {
        JSAMPROW row = image.scanLine(int(info.output_scanline));
        jpeg_read_scanlines(&info, &row, 1);
    }
    jpeg_finish_decompress(&info);
    const long warnings = errors.manager.num_warnings;
    jpeg_destroy_decompress(&info);
    if (warnings > 0)
        return QImage();
    return image;
}

QByteArray EncodeJpeg(const QImage& source, int quality)
{
    const QImage image = source.convertToFormat(QImage::Format_RGB888);
    if (image.isNull())
        return {};
    jpeg_compress_struct info;
    TJpegErrors errors;
    setUpErrors(errors);
    info.err = &errors.manager;
    unsigned char* buffer = nullptr;
    unsigned long length = 0;
    if (setjmp(errors.jump)) {
        jpeg_destroy_compress(&info);
        std::free(buffer);
        return QByteArray();
    }
    jpeg_create_compress(&info);
    jpeg_mem_dest(&info, &buffer, &length);
    info.image_width = JDIMENSION(image.width());
    info.image_height = JDIMENSION(image.height());
    info.input_components = 3;
    info.in_color_space = JCS_RGB;
    jpeg_set_defaults(&info);
    jpeg_set_quality(&info, quality, TRUE);
    jpeg_start_compress(&info, TRUE);
    while (info.next_scanline < info.image_height) {
        JSAMPROW row = const_cast<uchar*>(image.constScanLine(int(info.next_scanline)));
        jpeg_write_scanlines(&info, &row, 1);
    }
    jpeg_finish_compress(&info);
    jpeg_destroy_compress(&info);
    QByteArray out(reinterpret_cast<const char*>(buffer), qsizetype(length));
    std::free(buffer);
    return out;
}
