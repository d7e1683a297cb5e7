// The image toolbox of the frames: loading with the resolution, mirroring and turning, background fills,
// transfers to printers, transparent-colour draws in strips, mask regions and the fixed-point resampler.
#pragma once

#include "core/Canvas.h"

#include <QByteArray>
#include <QImage>
#include <QPoint>
#include <QRegion>
#include <QString>

#include <array>
#include <optional>
#include <stdexcept>

class QPainter;

// A picture file that exists but cannot be opened.
class EImageFileError : public std::runtime_error
{
public:
    using std::runtime_error::runtime_error;
};

// A loaded picture: the pixels, and for a JPEG its file bytes as they were.
struct TGraphic
{
    QImage Bitmap;
    QByteArray Jpeg;
    bool IsJpeg() const { return !Jpeg.isEmpty(); }
};

// 1 for ".BMP", 2 for ".JPG" or ".JPEG" in any case, -1 for anything else.
int GetImageFileType(const QString& fileName);
// The picture of a BMP or JPEG file and its dpi, or none (the dpi untouched for a name of another type).
// What loads follows from the first bytes, not from the name. Throws EImageFileError when the file cannot
// be opened.
std::optional<TGraphic> LoadImageWithDpi(const QString& fileName, int& dpi);

// A mirror image: left to right for a non-zero byte, else top to bottom. Null for an unsupported format.
QImage FlipBitmap(const QImage& bitmap, quint8 horizontal);
// Kind 0 a quarter turn counter-clockwise, 1 clockwise, 2 a half turn; kind 3 and unsupported formats give
// a null image.
QImage RotateBitmap(const QImage& bitmap, int kind);

// The source at its physical size on the zoomed 96-dpi screen, centred on the target.
void CenterBitmap(const QImage& source, int dpi, QImage& target, double zoom);
// The source tiled at its physical size, anchored top-left or (non-zero byte) bottom-right.
void TileBitmap(const QImage& source, int dpi, QImage& target, quint8 fromBottomRight, double zoom);
// A linear gradient from colour 1 to colour 2 (stored colour values) at the angle in degrees; the bitmap
// becomes 24-bit.
void GradientFillBitmap(QImage& bitmap, int angle, quint32 color1, quint32 color2);

// The whole bitmap stretched into the rectangle without smoothing.
void StretchDrawDIB(QPainter& painter, const QImage& bitmap, const QRect& rect);
// The image stretched into the target, leaving the canvas as it was where the scaled image has the
// transparent colour. Drawn in strips of at most 8 MB of work rows.
void DrawTransparent(QPainter& painter, const QImage& image, quint32 transparentColor, const TRect& target);
// The bytes of work rows the strips of a draw into a rectangle of this width hold at most.
qint64 TransparentStripBytes(int width, int height);
// The same result through a clip region, the colour matched at the image's own resolution.
void DrawTransparentClipped(QPainter& painter, const QImage& image, quint32 transparentColor, const TRect& target);
// The runs of 0 bits of a 1-bit mask as a region (pixel index 0 of a mono image).
QRegion BitmapToRegion(const QImage& mask);

// A cut-out shape: an SVG drawing whose filled parts are where a picture shows. A null picture shows nothing.
class TMaskPicture
{
public:
    TMaskPicture() = default;
    // The drawing of a file; a null picture when it cannot be read or is no valid SVG.
    static TMaskPicture FromFile(const QString& fileName);
    static TMaskPicture FromData(const QByteArray& svg);
    bool IsNull() const { return m_svg.isEmpty(); }
    const QByteArray& Data() const { return m_svg; }
    // The shape's coverage (alpha) of the drawing stretched to rect, on an image w x h whose rows start at
    // top of the whole target; smooth edges unless hard.
    QImage Coverage(int w, int h, int top, const QRectF& rect, bool hard, bool halfTurn = false) const;

private:
    QByteArray m_svg;
};

// The source stretched into the target, showing only where the mask picture stretched into maskRect
// (relative to the target's corner) is filled. Drawn in strips of at most 8 MB of work rows.
void DrawMaskedByMetafile(QPainter& painter, const QImage& source, const TMaskPicture& mask,
                          const TRect& maskRect, const TRect& target);
// The bytes of work rows and coverage the strips of a masked draw into a rectangle of this width hold at
// most.
qint64 MaskedStripBytes(int width, int height);
// The same through a clip region of the mask (for printers that cannot combine pictures).
void DrawClippedByMetafile(QPainter& painter, const QImage& source, const TMaskPicture& mask,
                           const TRect& maskRect, const TRect& target);

// The four bicubic weights of the samples p - 1 ... p + 2 for x = 1 + fraction.
std::array<qint32, 4> BicubicWeights(double scale, double x);
// The whole source scaled to width × height: 0 bilinear, 1 bicubic, 2 area average when both sides shrink
// (else bicubic). Without a target the source takes the scaled picture.
void StretchBitmap(QImage& source, QImage* target, int width, int height, int mode);
// The rectangle (in width × height) of the scaled source, written into the target from the offset on.
// Does nothing when the arguments do not fit.
void StretchBitmapRect(QImage& source, QImage* target, int width, int height, const TRect& rect,
                       const QPoint& offset, int mode);
