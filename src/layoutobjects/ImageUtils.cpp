// The image toolbox of the frames: loading with the resolution, mirroring and turning, background fills,
// transfers to printers, transparent-colour draws in strips, mask regions and the fixed-point resampler.
#include "layoutobjects/ImageUtils.h"

#include "core/AppSub.h"
#include "layoutobjects/ImageFiles.h"

#include <QFile>
#include <QFileInfo>
#include <QPainter>
#include <QSvgRenderer>

#include <cmath>
#include <cstring>
#include <vector>

int GetImageFileType(const QString& fileName)
{
    const QString ext = QFileInfo(fileName).suffix().toUpper();
    if (ext == QLatin1String("BMP"))
        return 1;
    if (ext == QLatin1String("JPG") || ext == QLatin1String("JPEG"))
        return 2;
    return -1;
}

std::optional<TGraphic> LoadImageWithDpi(const QString& fileName, int& dpi)
{
    if (GetImageFileType(fileName) < 0)
        return std::nullopt;
    dpi = 72;
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        throw EImageFileError(QStringLiteral("%1 を開けません: %2").arg(fileName, file.errorString()).toStdString());
    const QByteArray bytes = file.readAll();
    TGraphic graphic;
    if (bytes.startsWith("BM")) {
        dpi = BmpDpi(bytes);
        graphic.Bitmap = ReadBmp(bytes);
    } else if (bytes.startsWith("\xFF\xD8")) {
        dpi = JfifDpi(bytes);
        graphic.Bitmap = DecodeJpeg(bytes);
        if (!graphic.Bitmap.isNull())
            graphic.Jpeg = bytes;
    }
    if (graphic.Bitmap.isNull() || graphic.Bitmap.width() == 0 || graphic.Bitmap.height() == 0)
        return std::nullopt;
    return graphic;
}

namespace {

// Bytes per pixel of the formats moved byte-wise; 0 for 1-bit, -1 for unsupported.
int pixelBytes(const QImage& image)
{
    switch (image.depth()) {
    case 1:
        return 0;
    case 8:
    case 16:
    case 24:
    case 32:
        return image.depth() / 8;
    default:
        return -1;
    }
}

// Moves every pixel of the source to the place the mapping gives in the target.
template <typename Map>
QImage movePixels(const QImage& source, int targetWidth, int targetHeight, Map map)
{
    const int bytes = pixelBytes(source);
    if (bytes < 0 || source.isNull())
        return {};
    QImage target(targetWidth, targetHeight, source.format());
    if (target.isNull())
        return {};
    target.setColorTable(source.colorTable());
    target.setDotsPerMeterX(source.dotsPerMeterX());
    target.setDotsPerMeterY(source.dotsPerMeterY());
    for (int y = 0; y < source.height(); ++y) {
        const uchar* src = source.constScanLine(y);
        for (int x = 0; x < source.width(); ++x) {
            const QPoint to = map(x, y);
            if (bytes == 0)
                target.setPixel(to, source.pixelIndex(x, y));
            else
                std::memcpy(target.scanLine(to.y()) + to.x() * bytes, src + x * bytes, size_t(bytes));
        }
    }
    return target;
}

struct TChannels
{
    int r, g, b;
};

TChannels channelsOf(quint32 color)
{
    return {int(color & 0xFF), int((color >> 8) & 0xFF), int((color >> 16) & 0xFF)};
}

void ensure24(QImage& image)
{
    if (image.format() != QImage::Format_RGB888)
        image = image.convertToFormat(QImage::Format_RGB888);
}

// The size of the source at its physical size on the zoomed 96-dpi screen.
QSize physicalSize(const QImage& source, int dpi, double zoom)
{
    const double d = dpi > 0 ? dpi : 96;
    return QSize(int(RoundHalfAway(zoom * (source.width() / d * 96))),
                 int(RoundHalfAway(source.height() / d * 96 * zoom)));
}

} // namespace

QImage FlipBitmap(const QImage& bitmap, quint8 horizontal)
{
    const int w = bitmap.width(), h = bitmap.height();
    if (horizontal)
        return movePixels(bitmap, w, h, [w](int x, int y) { return QPoint(w - 1 - x, y); });
    return movePixels(bitmap, w, h, [h](int x, int y) { return QPoint(x, h - 1 - y); });
}

QImage RotateBitmap(const QImage& bitmap, int kind)
{
    const int w = bitmap.width(), h = bitmap.height();
    switch (kind) {
    case 0:
        return movePixels(bitmap, h, w, [w](int x, int y) { return QPoint(y, w - 1 - x); });
    case 1:
        return movePixels(bitmap, h, w, [h](int x, int y) { return QPoint(h - 1 - y, x); });
    case 2:
        return movePixels(bitmap, w, h, [w, h](int x, int y) { return QPoint(w - 1 - x, h - 1 - y); });
    default:
        return {};
    }
}

void CenterBitmap(const QImage& source, int dpi, QImage& target, double zoom)
{
    const QSize size = physicalSize(source, dpi, zoom);
    QPainter painter(&target);
    StretchDrawDIB(painter,
                   source,
                   QRect((target.width() - size.width()) / 2, (target.height() - size.height()) / 2,
                         size.width(), size.height()));
}

void TileBitmap(const QImage& source, int dpi, QImage& target, quint8 fromBottomRight, double zoom)
{
    QSize tile = physicalSize(source, dpi, zoom);
    tile = tile.expandedTo(QSize(1, 1));
    const int columns = (target.width() + tile.width() - 1) / tile.width();
    const int rows = (target.height() + tile.height() - 1) / tile.height();
    QPainter painter(&target);
    for (int r = 0; r < rows; ++r)
        for (int c = 0; c < columns; ++c) {
            const QPoint at = fromBottomRight ? QPoint(target.width() - (c + 1) * tile.width(),
                                                       target.height() - (r + 1) * tile.height())
                                              : QPoint(c * tile.width(), r * tile.height());
            StretchDrawDIB(painter, source, QRect(at, tile));
        }
}

void GradientFillBitmap(QImage& bitmap, int angle, quint32 color1, quint32 color2)
{
    ensure24(bitmap);
    const int w = bitmap.width(), h = bitmap.height();
    if (w == 0 || h == 0)
        return;
    const TChannels c1 = channelsOf(color1), c2 = channelsOf(color2);
    const auto put = [&](int x, int y, int r, int g, int b) {
        uchar* p = bitmap.scanLine(y) + x * 3;
        p[0] = uchar(r);
        p[1] = uchar(g);
        p[2] = uchar(b);
    };
    if (color1 == color2) {
        for (int y = 0; y < h; ++y)
            for (int x = 0; x < w; ++x)
                put(x, y, c1.r, c1.g, c1.b);
        return;
    }
    angle %= 360;
    if (angle < 0)
        angle += 360;
    const auto steps = [&](double n) {
        return std::array<double, 3>{n < 1 ? 0 : (c1.r - c2.r) / n, n < 1 ? 0 : (c1.g - c2.g) / n,
                                     n < 1 ? 0 : (c1.b - c2.b) / n};
    };
    if (angle == 0 || angle == 180) {
        const auto s = steps(h - 1);
        for (int d = 0; d < h; ++d) {
            const int y = angle == 0 ? d : h - 1 - d;
            for (int x = 0; x < w; ++x)
                put(x, y, int(c1.r - d * s[0]), int(c1.g - d * s[1]), int(c1.b - d * s[2]));
        }
        return;
    }
    if (angle == 90 || angle == 270) {
        const auto s = steps(w - 1);
        for (int i = 0; i < w; ++i)
            put(angle == 90 ? i : w - 1 - i, 0, int(c1.r - i * s[0]), int(c1.g - i * s[1]), int(c1.b - i * s[2]));
        for (int y = 1; y < h; ++y)
            std::memcpy(bitmap.scanLine(y), bitmap.constScanLine(0), size_t(w) * 3);
        return;
    }
    const double t = std::tan((angle % 90) * M_PI / 180.0);
    const int q = angle / 90;
    double d, e;
    if (q == 0 || q == 2) {
        d = std::trunc(std::fabs(h / t)) + w - 1;
        e = std::trunc(std::fabs(w * t)) + h - 1;
    } else {
        d = std::trunc(std::fabs(h * t)) + w - 1;
        e = std::trunc(std::fabs(w / t)) + h - 1;
    }
    const auto hs = steps(d), vs = steps(e);
    const int c1v[3] = {c1.r, c1.g, c1.b};
    for (int row = 0; row < h; ++row) {
        const int y = angle < 90 || angle > 270 ? row : h - 1 - row;
        uchar* p = bitmap.scanLine(y);
        for (int i = 0; i < w; ++i) {
            const int x = angle <= 179 ? i : w - 1 - i;
            for (int c = 0; c < 3; ++c)
                p[i * 3 + c] = uchar(std::clamp(int(c1v[c] - row * vs[c] - x * hs[c]), 0, 255));
        }
    }
}

void StretchDrawDIB(QPainter& painter, const QImage& bitmap, const QRect& rect)
{
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(rect, bitmap);
    painter.restore();
}

namespace {

constexpr qint64 StripLimit = 8388608;

// The rows of one strip of ARGB work rows.
qint64 stripRows(int width, int height)
{
    return std::clamp<qint64>(StripLimit / qMax<qint64>(qint64(width) * 4, 1), 1, qMax(height, 1));
}

// The rows of one strip of ARGB work rows and their coverage (5 bytes a pixel).
qint64 maskedStripRows(int width, int height)
{
    return std::clamp<qint64>(StripLimit / qMax<qint64>(qint64(width) * 5, 1), 1, qMax(height, 1));
}

QRgb rgbOf(quint32 color)
{
    const TChannels c = channelsOf(color);
    return qRgb(c.r, c.g, c.b);
}

// Rows y ... y + rows - 1 of the image stretched to w × h, nearest pixel, as ARGB with the transparent colour
// cleared.
QImage transparentStrip(const QImage& image, QRgb transparent, int w, int h, int y, int rows)
{
    QImage strip(w, rows, QImage::Format_ARGB32);
    for (int r = 0; r < rows; ++r) {
        const int sy = int(qint64(y + r) * image.height() / h);
        QRgb* out = reinterpret_cast<QRgb*>(strip.scanLine(r));
        for (int x = 0; x < w; ++x) {
            const QRgb c = image.pixel(int(qint64(x) * image.width() / w), sy) | 0xFF000000u;
            out[x] = c == transparent ? 0 : c;
        }
    }
    return strip;
}

} // namespace

qint64 MaskedStripBytes(int width, int height)
{
    return maskedStripRows(width, height) * qint64(width) * 5;
}

qint64 TransparentStripBytes(int width, int height)
{
    return stripRows(width, height) * qint64(width) * 4;
}

void DrawTransparent(QPainter& painter, const QImage& image, quint32 transparentColor, const TRect& target)
{
    const int w = target.Width(), h = target.Height();
    if (w <= 0 || h <= 0 || image.isNull())
        return;
    const qint64 rows = stripRows(w, h);
    const QRgb transparent = rgbOf(transparentColor);
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (qint64 y = 0; y < h; y += rows) {
        const int n = int(qMin<qint64>(rows, h - y));
        painter.drawImage(QPoint(target.left, int(target.top + y)),
                          transparentStrip(image, transparent, w, h, int(y), n));
    }
    painter.restore();
}

void DrawTransparentClipped(QPainter& painter, const QImage& image, quint32 transparentColor, const TRect& target)
{
    const int w = target.Width(), h = target.Height();
    if (w <= 0 || h <= 0 || image.isNull())
        return;
    // The mask at the image's own resolution, stretched over the target.
    const QRgb transparent = rgbOf(transparentColor);
    std::vector<bool> clear(size_t(image.width()) * size_t(image.height()));
    for (int y = 0; y < image.height(); ++y)
        for (int x = 0; x < image.width(); ++x)
            clear[size_t(y) * size_t(image.width()) + size_t(x)] = (image.pixel(x, y) | 0xFF000000u) == transparent;
    QImage scaled(w, h, QImage::Format_Mono);
    scaled.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    for (int y = 0; y < h; ++y) {
        const qint64 sy = qint64(y) * image.height() / h;
        for (int x = 0; x < w; ++x)
            scaled.setPixel(x, y, clear[size_t(sy * image.width() + qint64(x) * image.width() / w)] ? 1 : 0);
    }
    const QRegion region = BitmapToRegion(scaled).translated(target.left, target.top);
    painter.save();
    painter.setClipRegion(region, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    StretchDrawDIB(painter, image, target.ToQRect());
    painter.restore();
}

QRegion BitmapToRegion(const QImage& mask)
{
    QRegion region;
    std::vector<QRect> batch;
    batch.reserve(4000);
    const auto flush = [&] {
        QRegion part;
        part.setRects(batch.data(), int(batch.size()));
        region += part;
        batch.clear();
    };
    for (int y = 0; y < mask.height(); ++y) {
        int x = 0;
        while (x < mask.width()) {
            if (mask.pixelIndex(x, y) != 0) {
                ++x;
                continue;
            }
            const int a = x;
            while (x < mask.width() && mask.pixelIndex(x, y) == 0)
                ++x;
            batch.emplace_back(a, y, x - a, 1);
            if (batch.size() == 4000)
                flush();
        }
    }
    if (!batch.empty())
        flush();
    return region;
}

TMaskPicture TMaskPicture::FromFile(const QString& fileName)
{
    QFile file(fileName);
    if (!file.open(QIODevice::ReadOnly))
        return {};
    return FromData(file.readAll());
}

TMaskPicture TMaskPicture::FromData(const QByteArray& svg)
{
    TMaskPicture picture;
    if (QSvgRenderer(svg).isValid())
        picture.m_svg = svg;
    return picture;
}

QImage TMaskPicture::Coverage(int w, int h, int top, const QRectF& rect, bool hard, bool halfTurn) const
{
    QImage coverage(w, h, QImage::Format_Alpha8);
    if (coverage.isNull())
        return coverage;
    coverage.fill(0);
    if (IsNull())
        return coverage;
    QSvgRenderer renderer(m_svg);
    renderer.setAspectRatioMode(Qt::IgnoreAspectRatio);
    QPainter painter(&coverage);
    painter.setRenderHint(QPainter::Antialiasing, !hard);
    painter.translate(0, -top);
    if (halfTurn)
        painter.setTransform(QTransform(-1, 0, 0, -1, rect.left() + rect.right(), rect.top() + rect.bottom()),
                             true);
    renderer.render(&painter, rect);
    return coverage;
}

void DrawMaskedByMetafile(QPainter& painter, const QImage& source, const TMaskPicture& mask,
                          const TRect& maskRect, const TRect& target)
{
    const int w = target.Width(), h = target.Height();
    if (w <= 0 || h <= 0 || source.isNull() || mask.IsNull())
        return;
    const qint64 rows = maskedStripRows(w, h);
    const QRectF shape = maskRect.ToQRect();
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    for (qint64 y = 0; y < h; y += rows) {
        const int n = int(qMin<qint64>(rows, h - y));
        QImage strip(w, n, QImage::Format_ARGB32_Premultiplied);
        if (strip.isNull())
            break;
        {
            QPainter p(&strip);
            p.setCompositionMode(QPainter::CompositionMode_Source);
            StretchDrawDIB(p, source, QRect(0, int(-y), w, h));
            p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
            p.drawImage(0, 0, mask.Coverage(w, n, int(y), shape, false));
        }
        painter.drawImage(QPoint(target.left, int(target.top + y)), strip);
    }
    painter.restore();
}

void DrawClippedByMetafile(QPainter& painter, const QImage& source, const TMaskPicture& mask,
                           const TRect& maskRect, const TRect& target)
{
    const int w = target.Width(), h = target.Height();
    if (w <= 0 || h <= 0 || source.isNull() || mask.IsNull())
        return;
    // A 1-bit mask of the whole target (0 where the picture shows), its coverage made in strips.
    QImage bits(w, h, QImage::Format_Mono);
    if (bits.isNull())
        return;
    bits.setColorTable({qRgb(0, 0, 0), qRgb(255, 255, 255)});
    bits.fill(1);
    const qint64 rows = stripRows(w, h);
    const QRectF shape = maskRect.ToQRect();
    for (qint64 y = 0; y < h; y += rows) {
        const int n = int(qMin<qint64>(rows, h - y));
        const QImage coverage = mask.Coverage(w, n, int(y), shape, true);
        for (int r = 0; r < n; ++r) {
            const uchar* in = coverage.constScanLine(r);
            for (int x = 0; x < w; ++x)
                if (in[x] >= 128)
                    bits.setPixel(x, int(y) + r, 0);
        }
    }
    const QRegion region = BitmapToRegion(bits).translated(target.left, target.top);
    painter.save();
    painter.setClipRegion(region, painter.hasClipping() ? Qt::IntersectClip : Qt::ReplaceClip);
    StretchDrawDIB(painter, source, target.ToQRect());
    painter.restore();
}

std::array<qint32, 4> BicubicWeights(double scale, double x)
{
    const auto k = [](double t) {
        t = std::fabs(t);
        if (t <= 1)
            return 1 - 2 * t * t + t * t * t;
        if (t <= 2)
            return 4 - 8 * t + 5 * t * t - t * t * t;
        return 0.0;
    };
    const double taps[4] = {k(x), k(x - 1), k(2 - x), k(3 - x)};
    std::array<qint32, 4> w{};
    for (int i = 0; i < 4; ++i)
        w[i] = qint32(std::trunc(taps[i] * scale + 0.5));
    return w;
}

namespace {

// The fixed-point geometry shared by the filters.
struct TScale
{
    int srcW, srcH, width, height;
    qint64 stepX, stepY, offX, offY;

    TScale(int sw, int sh, int w, int h) : srcW(sw), srcH(sh), width(w), height(h)
    {
        const double sx = double(sw) / w, sy = double(sh) / h;
        stepX = qint64(std::trunc(sx * 65536 + 0.5));
        stepY = qint64(std::trunc(sy * 65536 + 0.5));
        offX = qint64(std::trunc((sx * 0.5 - 0.5) * 65536 + 0.5));
        offY = qint64(std::trunc((sy * 0.5 - 0.5) * 65536 + 0.5));
    }
};

// The source index each target position reads in the bilinear filter, or -1 for an inner position.
std::vector<int> linearEdges(int count, int sourceCount, qint64 step, qint64 off)
{
    int left = 0, right = 0;
    while (left < count && left * step + off < 1)
        ++left;
    while (right < count && ((count - 1 - right) * step + off) >> 16 >= sourceCount - 1)
        ++right;
    const int n = qMax(left, right);
    std::vector<int> edge(size_t(count), -1);
    for (int i = count - n; i < count; ++i)
        edge[size_t(i)] = sourceCount - 1;
    for (int i = 0; i < n && i < count; ++i)
        edge[size_t(i)] = 0;
    return edge;
}

inline int lerp(int a, int b, qint64 f)
{
    return int((a * (65536 - f) + b * f + 32768) >> 16);
}

void stretchLinear(const QImage& src, QImage& dst, const TScale& s, const TRect& rect, const QPoint& offset)
{
    const std::vector<int> colEdge = linearEdges(s.width, s.srcW, s.stepX, s.offX);
    const std::vector<int> rowEdge = linearEdges(s.height, s.srcH, s.stepY, s.offY);
    std::vector<int> upper(size_t(rect.Width()) * 3), lower(upper.size());
    const auto horizontal = [&](const uchar* row, std::vector<int>& out) {
        for (int x = rect.left; x < rect.right; ++x) {
            int* o = &out[size_t(x - rect.left) * 3];
            const int edge = colEdge[size_t(x)];
            if (edge >= 0) {
                for (int c = 0; c < 3; ++c)
                    o[c] = row[edge * 3 + c];
                continue;
            }
            const qint64 pos = x * s.stepX + s.offX;
            const uchar* a = row + (pos >> 16) * 3;
            for (int c = 0; c < 3; ++c)
                o[c] = lerp(a[c], a[c + 3], pos & 0xFFFF);
        }
    };
    for (int y = rect.top; y < rect.bottom; ++y) {
        uchar* out = dst.scanLine(offset.y() + y - rect.top) + offset.x() * 3;
        const int edge = rowEdge[size_t(y)];
        if (edge >= 0) {
            horizontal(src.constScanLine(edge), upper);
            for (size_t i = 0; i < upper.size(); ++i)
                out[i] = uchar(upper[i]);
            continue;
        }
        const qint64 pos = y * s.stepY + s.offY;
        horizontal(src.constScanLine(int(pos >> 16)), upper);
        horizontal(src.constScanLine(int(pos >> 16) + 1), lower);
        for (size_t i = 0; i < upper.size(); ++i)
            out[i] = uchar(lerp(upper[i], lower[i], pos & 0xFFFF));
    }
}

inline uchar cubicByte(qint32 sum)
{
    return sum < 0 ? 0 : uchar(qMin(255, (sum + 32768) >> 16));
}

// The taps and weights of one target position. At the edges a copy is a single tap of weight 65536, which
// gives the same byte.
struct TTaps
{
    int at[4];
    qint32 weight[4];
};

TTaps cubicTaps(qint64 pos, int sourceCount, const std::vector<std::array<qint32, 4>>& table)
{
    const qint64 p = pos >> 16;
    if (pos <= 0 || p >= sourceCount - 1) {
        const int edge = pos <= 0 ? 0 : sourceCount - 1;
        return {{edge, edge, edge, edge}, {0, 65536, 0, 0}};
    }
    TTaps t;
    const std::array<qint32, 4>& w = table[size_t((pos >> 8) & 255)];
    for (int i = 0; i < 4; ++i) {
        t.at[i] = int(std::clamp<qint64>(p - 1 + i, 0, sourceCount - 1));
        t.weight[i] = w[size_t(i)];
    }
    return t;
}

void stretchBicubic(const QImage& src, QImage& dst, const TScale& s, const TRect& rect, const QPoint& offset)
{
    std::vector<std::array<qint32, 4>> table(256);
    for (int k = 0; k < 256; ++k)
        table[size_t(k)] = BicubicWeights(65536, 1 + k / 256.0);
    std::vector<TTaps> cols(size_t(rect.Width()));
    for (int x = rect.left; x < rect.right; ++x) {
        TTaps& t = cols[size_t(x - rect.left)];
        t = cubicTaps(x * s.stepX + s.offX, s.srcW, table);
        for (int& at : t.at)
            at *= 3;
    }
    const int spanFrom = int(qMax<qint64>(0, (s.offX + rect.left * s.stepX - 65536) >> 16));
    const int spanTo = int(qMin<qint64>(s.srcW - 1, (rect.right * s.stepX + s.offX + 0x20000) >> 16));
    std::vector<uchar> buffer(size_t(s.srcW) * 3);
    for (int y = rect.top; y < rect.bottom; ++y) {
        const qint64 pos = y * s.stepY + s.offY;
        const uchar* row;
        if (pos <= 0 || (pos >> 16) >= s.srcH - 1) {
            row = src.constScanLine(pos <= 0 ? 0 : s.srcH - 1);
        } else {
            const TTaps rt = cubicTaps(pos, s.srcH, table);
            const uchar *r0 = src.constScanLine(rt.at[0]), *r1 = src.constScanLine(rt.at[1]),
                        *r2 = src.constScanLine(rt.at[2]), *r3 = src.constScanLine(rt.at[3]);
            for (int i = spanFrom * 3; i <= spanTo * 3 + 2; ++i)
                buffer[size_t(i)] = cubicByte(rt.weight[0] * r0[i] + rt.weight[1] * r1[i] + rt.weight[2] * r2[i] +
                                              rt.weight[3] * r3[i]);
            row = buffer.data();
        }
        uchar* out = dst.scanLine(offset.y() + y - rect.top) + offset.x() * 3;
        for (const TTaps& t : cols) {
            const uchar *a = row + t.at[0], *b = row + t.at[1], *c = row + t.at[2], *d = row + t.at[3];
            for (int ch = 0; ch < 3; ++ch)
                out[ch] = cubicByte(t.weight[0] * a[ch] + t.weight[1] * b[ch] + t.weight[2] * c[ch] +
                                    t.weight[3] * d[ch]);
            out += 3;
        }
    }
}

// One target span over the source: the first index and its weight, the last index and its weight
// (0: not counted).
struct TSpan
{
    qint64 first, last;
    int firstWeight, lastWeight;
};

TSpan areaSpan(qint64 from, qint64 step, int sourceCount)
{
    const qint64 to = from + step;
    TSpan s{from >> 16, to >> 16, int(256 - ((from >> 8) & 255)), int((to >> 8) & 255)};
    if (s.first >= sourceCount)
        s.firstWeight = 0;
    if (s.last >= sourceCount)
        s.lastWeight = 0;
    return s;
}

void stretchAreaAverage(const QImage& src, QImage& dst, const TScale& s, const TRect& rect, const QPoint& offset)
{
    const double sx = double(s.srcW) / s.width, sy = double(s.srcH) / s.height;
    const qint64 invX = qint64(std::trunc(65536 / sx + 0.5)), invY = qint64(std::trunc(65536 / sy + 0.5));
    std::vector<TSpan> cols(size_t(rect.Width()));
    for (int x = rect.left; x < rect.right; ++x)
        cols[size_t(x - rect.left)] = areaSpan(x * s.stepX, s.stepX, s.srcW);
    std::vector<qint64> rowSum(cols.size() * 3), total(cols.size() * 3);
    const auto horizontal = [&](const uchar* row) {
        for (size_t i = 0; i < cols.size(); ++i) {
            const TSpan& span = cols[i];
            for (int c = 0; c < 3; ++c) {
                qint64 sum = 0;
                if (span.first < s.srcW)
                    sum += (span.firstWeight * row[span.first * 3 + c] + 128) >> 8;
                for (qint64 k = span.first + 1; k < span.last && k < s.srcW; ++k)
                    sum += row[k * 3 + c];
                if (span.lastWeight && span.last > span.first)
                    sum += (span.lastWeight * row[span.last * 3 + c] + 128) >> 8;
                rowSum[i * 3 + c] = sum;
            }
        }
    };
    for (int y = rect.top; y < rect.bottom; ++y) {
        const TSpan rows = areaSpan(y * s.stepY, s.stepY, s.srcH);
        std::fill(total.begin(), total.end(), 0);
        for (qint64 r = rows.first; r <= rows.last && r < s.srcH; ++r) {
            const bool first = r == rows.first, last = r == rows.last && r != rows.first;
            if (last && !rows.lastWeight)
                break;
            horizontal(src.constScanLine(int(r)));
            const int weight = first ? rows.firstWeight : last ? rows.lastWeight : 256;
            for (size_t i = 0; i < total.size(); ++i)
                total[i] += weight == 256 ? rowSum[i] : (weight * rowSum[i] + 128) >> 8;
        }
        uchar* out = dst.scanLine(offset.y() + y - rect.top) + offset.x() * 3;
        for (size_t i = 0; i < total.size(); ++i) {
            const qint64 t = (total[i] * invX + 32768) >> 16;
            out[i] = uchar(qMin<qint64>(255, (t * invY + 32768) >> 16));
        }
    }
}

} // namespace

void StretchBitmap(QImage& source, QImage* target, int width, int height, int mode)
{
    StretchBitmapRect(source, target, width, height, TRect{0, 0, width, height}, QPoint(0, 0), mode);
}

void StretchBitmapRect(QImage& source, QImage* target, int width, int height, const TRect& rect,
                       const QPoint& offset, int mode)
{
    if (source.isNull() || width <= 0 || height <= 0 || rect.left < 0 || rect.top < 0 || rect.right > width ||
        rect.bottom > height || rect.IsEmpty() || offset.x() < 0 || offset.y() < 0)
        return;
    const qint64 needW = qint64(rect.Width()) + offset.x(), needH = qint64(rect.Height()) + offset.y();
    if (target && (target->width() < needW || target->height() < needH))
        return;
    if (!target && needW * needH * 3 > MaxDecodedImageBytes)
        return;
    ensure24(source);
    QImage work;
    QImage& dst = target ? *target : work;
    if (target) {
        ensure24(*target);
    } else {
        work = QImage(int(needW), int(needH), QImage::Format_RGB888);
        work.fill(Qt::black);
    }
    const TScale s(source.width(), source.height(), width, height);
    if (width == source.width() && height == source.height()) {
        for (int y = rect.top; y < rect.bottom; ++y)
            std::memcpy(dst.scanLine(offset.y() + y - rect.top) + offset.x() * 3,
                        source.constScanLine(y) + rect.left * 3, size_t(rect.Width()) * 3);
    } else if (mode == 0) {
        stretchLinear(source, dst, s, rect, offset);
    } else if (mode == 2 && width < source.width() && height < source.height()) {
        stretchAreaAverage(source, dst, s, rect, offset);
    } else if (mode == 1 || mode == 2) {
        stretchBicubic(source, dst, s, rect, offset);
    }
    if (!target)
        source = work;
}
