// Illustration frame: the stored picture and its transform, cut-out and transparent masks, screen cache,
// print copy and the stream record.
#include "layoutobjects/IllustRect.h"

#include "core/AppSub.h"
#include "layoutobjects/ImageFiles.h"
#include "platform/Printers.h"

#include <QFileInfo>
#include <QPainter>
#include <QtEndian>

const char* const ImageLoadErrorText = "画像が読み込めませんでした  ";

namespace {

QStringList& metafileNames()
{
    static QStringList names;
    return names;
}

qint32 round32(double value)
{
    return qint32(std::clamp<double>(RoundHalfAway(value), INT32_MIN, INT32_MAX));
}

[[noreturn]] void failPicture()
{
    throw EFrameStreamError(ImageLoadErrorText);
}

QImage to24(const QImage& image)
{
    return image.isNull() ? image : image.convertToFormat(QImage::Format_RGB888);
}

// Mirror and turn steps from the TPictureTransform tables.
constexpr quint8 TurnAfterLeft[4] = {2, 3, 1, 0};
constexpr quint8 TurnAfterRight[4] = {3, 2, 0, 1};
constexpr quint8 TurnAfterHalf[4] = {1, 0, 3, 2};

} // namespace

const QStringList& FrameMetafileNames()
{
    return metafileNames();
}

void AddFrameMetafileName(const QString& fileName)
{
    metafileNames().append(fileName);
}

void ClearFrameMetafileNames()
{
    metafileNames().clear();
}

void AddStandardFrameMetafileNames(const QString& programFolder)
{
    for (int i = 1; i <= FrameMetafileCount; ++i) {
        const QString name =
            programFolder + QStringLiteral("Common/Mask/Itm%1.svg").arg(i, 2, 10, QChar(u'0'));
        if (QFileInfo::exists(name))
            AddFrameMetafileName(name);
    }
}

void TPictureTransform::Flip(quint8 horizontal)
{
    quint8& own = horizontal ? flipHorizontal : flipVertical;
    own ^= 1;
    if (flipVertical && flipHorizontal) {
        flipVertical = flipHorizontal = 0;
        if (turn == TurnHalf)
            turn = TurnNone;
        else if (turn == TurnNone)
            turn = TurnHalf;
    } else if (turn == TurnLeft || turn == TurnRight) {
        turn ^= 1;
    }
}

void TPictureTransform::Rotate(int kind)
{
    const quint8 t = turn & 3;
    if (kind == 0)
        turn = TurnAfterLeft[t];
    else if (kind == 1)
        turn = TurnAfterRight[t];
    else if (kind == 2)
        turn = TurnAfterHalf[t];
}

void TStoredPicture::SetExtension(const QString& text)
{
    extension = text.toLower();
    jpeg.clear();
}

void TStoredPicture::SetGraphic(const TGraphic* graphic)
{
    transform = {};
    if (!graphic) {
        SetExtension({});
        bitmap = QImage();
        return;
    }
    SetExtension(graphic->IsJpeg() ? QStringLiteral("jpg") : QStringLiteral("bmp"));
    if (graphic->IsJpeg()) {
        jpeg = graphic->Jpeg;
        bitmap = DecodeJpeg(jpeg);
    } else {
        bitmap = to24(graphic->Bitmap);
    }
}

bool TStoredPicture::Flip(quint8 horizontal)
{
    if (bitmap.isNull())
        return false;
    QImage flipped = FlipBitmap(bitmap, horizontal);
    if (flipped.isNull())
        return false;
    bitmap = flipped;
    if (!jpeg.isEmpty())
        transform.Flip(horizontal);
    return true;
}

bool TStoredPicture::Rotate(int kind)
{
    if (bitmap.isNull())
        return false;
    QImage turned = RotateBitmap(bitmap, kind);
    if (turned.isNull())
        return false;
    bitmap = turned;
    if (!jpeg.isEmpty())
        transform.Rotate(kind);
    return true;
}

void TStoredPicture::Read(TFrameReader& stream)
{
    try {
        readPicture(stream);
    } catch (const EFrameStreamError&) {
        failPicture();
    }
}

void TStoredPicture::readPicture(TFrameReader& stream)
{
    SetExtension(QString::fromLatin1(ReadInvertedString(stream)));
    if (extension.isEmpty()) {
        bitmap = QImage();
        transform = {};
        return;
    }
    if (IsJpegExtension()) {
        const qint32 length = stream.ReadInt32();
        if (length < 0)
            failPicture();
        jpeg = stream.ReadBytes(length);
        bitmap = DecodeJpeg(jpeg);
        if (bitmap.isNull())
            failPicture();
        TPictureTransform stored;
        stored.flipVertical = stream.ReadByte();
        stored.flipHorizontal = stream.ReadByte();
        stored.turn = stream.ReadByte();
        if (stored.flipVertical > 1 || stored.flipHorizontal > 1 || stored.turn > TurnNone)
            failPicture();
        transform = {};
        if (stored.flipVertical)
            Flip(0);
        if (stored.flipHorizontal)
            Flip(1);
        if (stored.turn != TurnNone)
            Rotate(stored.turn);
        return;
    }
    // A whole BMP file: its length comes from the file header.
    const QByteArray head = stream.ReadBytes(6);
    const quint32 length = qFromLittleEndian<quint32>(head.constData() + 2);
    if (!head.startsWith("BM") || length < 26 || qint64(length) - 6 > stream.Remaining())
        failPicture();
    const QByteArray file = head + stream.ReadBytes(qint64(length) - 6);
    bitmap = ReadBmp(file);
    if (bitmap.isNull())
        failPicture();
    transform = {};
}

void TStoredPicture::Write(TFrameWriter& stream, int bmpDpi) const
{
    // Without pixels the extension is written empty: a name without its picture could not be read back.
    if (bitmap.isNull()) {
        WriteInvertedString({}, stream);
        return;
    }
    WriteInvertedString(extension.toLatin1(), stream);
    if (extension.isEmpty())
        return;
    if (IsJpegExtension()) {
        // Pixels under a JPEG name without their JPEG bytes are stored as a new JPEG of the pixels.
        const QByteArray bytes = jpeg.isEmpty() ? EncodeJpeg(bitmap) : jpeg;
        const bool asDecoded = jpeg.isEmpty();
        stream.WriteInt32(qint32(bytes.size()));
        stream.WriteBytes(bytes);
        stream.WriteByte(asDecoded ? 0 : transform.flipVertical);
        stream.WriteByte(asDecoded ? 0 : transform.flipHorizontal);
        stream.WriteByte(asDecoded ? TurnNone : transform.turn);
        return;
    }
    stream.WriteBytes(WriteBmp(bitmap, bmpDpi > 0 ? bmpDpi : 96));
}

TIllustRect::TIllustRect()
{
    installCallbacks();
}

TIllustRect::TIllustRect(const TIllustRect& other)
    : TFrameClass(other), m_picture(other.m_picture), m_resolution(other.m_resolution),
      m_frameIndex(other.m_frameIndex), m_framePicture(other.m_framePicture), m_imageRect(other.m_imageRect),
      m_transparentColor(other.m_transparentColor), m_limitedPrinter(other.m_limitedPrinter),
      m_printCopy(other.m_printCopy), m_printImageRect(other.m_printImageRect),
      m_screenCache(other.m_screenCache), m_imageScreenRect(other.m_imageScreenRect),
      m_smooth(other.m_smooth), m_frame(other.m_frame), m_upsideDown(other.m_upsideDown)
{
    installCallbacks();
}

void TIllustRect::installCallbacks()
{
    m_frame.SetCallbacks([this] { dropScreenCache(); }, [this] { dropScreenCache(); });
}

void TIllustRect::Assign(const TDrawRect& source)
{
    TDrawRect::Assign(source);
    const auto* other = dynamic_cast<const TIllustRect*>(&source);
    if (!other)
        return;
    m_picture.SetExtension(other->m_picture.extension);
    m_picture.bitmap = other->m_picture.bitmap;
    if (other->m_picture.IsJpegExtension())
        m_picture.jpeg = other->m_picture.jpeg;
    m_picture.transform = other->m_picture.transform;
    m_resolution = other->m_resolution;
    m_frameIndex = other->m_frameIndex;
    m_imageRect = other->m_imageRect;
    m_imageScreenRect = other->m_imageScreenRect;
    m_framePicture = other->m_framePicture;
    m_transparentColor = other->m_transparentColor;
    m_frame.Assign(other->m_frame);
    m_limitedPrinter = other->m_limitedPrinter;
    m_upsideDown = other->m_upsideDown;
    dropScreenCache();
}

void TIllustRect::updateImageScreenRect()
{
    const double z = Zoom();
    m_imageScreenRect = {round32(m_imageRect.left * z), round32(m_imageRect.top * z),
                         round32(m_imageRect.right * z), round32(m_imageRect.bottom * z)};
}

void TIllustRect::SetZoom(double zoom)
{
    TDrawRect::SetZoom(zoom);
    updateImageScreenRect();
    dropScreenCache();
}

void TIllustRect::scaleImageRect(const TRect& oldRect, const TRect& newRect, const TRect& oldDesign)
{
    const TRect design = GetDesignRect();
    if (m_imageRect.IsEmpty()) {
        m_imageRect = design;
        return;
    }
    const double rx = oldRect.Width() == 0 ? 1.0 : double(newRect.Width()) / oldRect.Width();
    const double ry = oldRect.Height() == 0 ? 1.0 : double(newRect.Height()) / oldRect.Height();
    const TRect relative = m_imageRect.Moved(-oldDesign.left, -oldDesign.top);
    m_imageRect = TRect{round32(relative.left * rx), round32(relative.top * ry), round32(relative.right * rx),
                        round32(relative.bottom * ry)}
                      .Moved(design.left, design.top);
}

void TIllustRect::SetDesignRect(const TRect& rect)
{
    const TRect old = GetDesignRect();
    TDrawRect::SetDesignRect(rect);
    scaleImageRect(old, rect, old);
    updateImageScreenRect();
    dropScreenCache();
}

void TIllustRect::SetScreenRect(const TRect& rect)
{
    const TRect oldScreen = GetScreenRect();
    const TRect oldDesign = GetDesignRect();
    TDrawRect::SetScreenRect(rect);
    scaleImageRect(oldScreen, rect, oldDesign);
    updateImageScreenRect();
    dropScreenCache();
}

void TIllustRect::SetImageScreenRect(const TRect& rect)
{
    m_imageScreenRect = rect;
    const double z = Zoom();
    if (z != 0)
        m_imageRect = {round32(rect.left / z), round32(rect.top / z), round32(rect.right / z),
                       round32(rect.bottom / z)};
    dropScreenCache();
}

quint16 TIllustRect::GetMaskHandleZone(int x, int y) const
{
    return HandleZoneOf(m_imageScreenRect, x, y);
}

qint16 TIllustRect::GetMaskCursorAt(int x, int y) const
{
    return CursorOfZone(GetMaskHandleZone(x, y), m_imageScreenRect.Contains(x, y));
}

void TIllustRect::SetGraphic(const TGraphic* graphic)
{
    m_picture.SetGraphic(graphic);
    if (m_transparentColor != NoTransparentColor)
        m_transparentColor = NoTransparentColor;
    dropScreenCache();
}

void TIllustRect::SetFrameIndex(int index)
{
    if (index == m_frameIndex)
        return;
    m_frameIndex = index < 0 ? -1 : index;
    m_framePicture = {};
    if (index >= 0) {
        if (index < FrameMetafileNames().size())
            m_framePicture = TMaskPicture::FromFile(FrameMetafileNames()[index]);
        m_transparentColor = NoTransparentColor;
    }
    dropScreenCache();
}

void TIllustRect::SetTransparentColor(quint32 color)
{
    if (color == m_transparentColor)
        return;
    m_transparentColor = color;
    if (color != NoTransparentColor) {
        m_frameIndex = -1;
        m_framePicture = {};
    }
    dropScreenCache();
}

void TIllustRect::Flip(quint8 horizontal)
{
    if (m_picture.Flip(horizontal))
        dropScreenCache();
}

void TIllustRect::Rotate(int kind)
{
    if (m_picture.Rotate(kind))
        dropScreenCache();
}

void TIllustRect::SetSmoothScaling(bool smooth)
{
    if (smooth == m_smooth)
        return;
    m_smooth = smooth;
    dropScreenCache();
}

void TIllustRect::SetUpsideDown(bool upsideDown)
{
    if (upsideDown == m_upsideDown)
        return;
    m_upsideDown = upsideDown;
    dropScreenCache();
}

void TIllustRect::buildScreenCache(const TRect& inner)
{
    const int w = inner.Width(), h = inner.Height();
    QImage picture(w, h, QImage::Format_RGB888);
    if (picture.isNull())
        return;
    if (m_smooth) {
        QImage source = m_picture.bitmap;
        StretchBitmap(source, &picture, w, h, 2);
    } else {
        picture.fill(Qt::white);
        QPainter p(&picture);
        StretchDrawDIB(p, m_picture.bitmap, QRect(0, 0, w, h));
    }
    if (!HasScreenMask()) {
        m_screenCache = picture;
        return;
    }
    m_screenCache = picture.convertToFormat(QImage::Format_ARGB32_Premultiplied);
    if (m_transparentColor != NoTransparentColor) {
        // The colour is matched on the picture stretched pixel by pixel, as without smoothing.
        const QImage nearest = m_picture.bitmap.scaled(w, h);
        const QRgb clear = ColorRefToQColor(m_transparentColor).rgb();
        for (int y = 0; y < h; ++y) {
            QRgb* out = reinterpret_cast<QRgb*>(m_screenCache.scanLine(y));
            for (int x = 0; x < w; ++x)
                if ((nearest.pixel(x, y) | 0xFF000000u) == clear)
                    out[x] = 0;
        }
        return;
    }
    const QRectF shape = m_imageScreenRect.Moved(-inner.left, -inner.top).ToQRect();
    QPainter p(&m_screenCache);
    p.setCompositionMode(QPainter::CompositionMode_DestinationIn);
    p.drawImage(0, 0, m_framePicture.Coverage(w, h, 0, shape, false, m_upsideDown));
}

void TIllustRect::Draw(QPainter& painter, int dx, int dy)
{
    const TRect screen = GetScreenRect();
    if (m_picture.bitmap.isNull() || screen.IsEmpty())
        return;
    const TRect moved = screen.Moved(dx, dy);
    const TRect inner = m_frame.Draw(painter, moved, Zoom());
    if (inner.IsEmpty())
        return;
    if (!m_smooth && !HasScreenMask()) {
        StretchDrawDIB(painter, m_picture.bitmap, inner.ToQRect());
        return;
    }
    // The cut-out screen rect is in page pixels; the cache is built for the frame at its own place.
    const TRect unmovedInner = inner.Moved(-dx, -dy);
    if (m_screenCache.size() != QSize(inner.Width(), inner.Height()))
        buildScreenCache(unmovedInner);
    if (!m_screenCache.isNull())
        painter.drawImage(QPoint(inner.left, inner.top), m_screenCache);
}

void TIllustRect::CalcPrintRect(QPoint offset, bool keepPhysicalOffset)
{
    TDrawRect::CalcPrintRect(offset, keepPhysicalOffset);
    const QPoint dpi = CurrentPrinterDpi();
    const TRect d = GetDesignRect();
    const qint32 left = round32(dpi.x() * (qint64(m_imageRect.left) - d.left) / 96.0);
    const qint32 top = round32(dpi.y() * (qint64(m_imageRect.top) - d.top) / 96.0);
    m_printImageRect = SizedRect(left, top, round32(m_imageRect.Width() * dpi.x() / 96.0),
                                 round32(m_imageRect.Height() * dpi.y() / 96.0));
    const TRect printer = GetPrinterRect();
    const TRect inner = m_frame.FrameVisible() ? m_frame.GetInnerRect(printer, dpi.y() / 96.0) : printer;
    m_printCopy = QImage();
    if (!inner.IsEmpty() && m_transparentColor == NoTransparentColor && !m_picture.bitmap.isNull() &&
        inner.Width() < m_picture.bitmap.width() && inner.Height() < m_picture.bitmap.height()) {
        QImage copy = m_picture.bitmap;
        StretchBitmap(copy, nullptr, inner.Width(), inner.Height(), 2);
        if (copy.size() == QSize(inner.Width(), inner.Height()))
            m_printCopy = copy;
    }
}

void TIllustRect::Print(QPainter& painter, int dx, int dy)
{
    const TRect printer = GetPrinterRect();
    if (m_picture.bitmap.isNull() || printer.IsEmpty())
        return;
    const TRect moved = printer.Moved(dx, dy);
    const TRect inner = m_frame.Draw(painter, moved, CurrentPrinterDpi().y() / 96.0);
    if (inner.IsEmpty())
        return;
    const QImage& source = m_printCopy.isNull() ? m_picture.bitmap : m_printCopy;
    if (!HasScreenMask()) {
        StretchDrawDIB(painter, source, inner.ToQRect());
        return;
    }
    const TRect maskRect = m_printImageRect.Moved(moved.left - inner.left, moved.top - inner.top);
    if (m_transparentColor != NoTransparentColor) {
        if (m_limitedPrinter)
            DrawTransparentClipped(painter, m_picture.bitmap, m_transparentColor, inner);
        else
            DrawTransparent(painter, m_picture.bitmap, m_transparentColor, inner);
    } else if (m_limitedPrinter) {
        DrawClippedByMetafile(painter, source, m_framePicture, maskRect, inner);
    } else {
        DrawMaskedByMetafile(painter, source, m_framePicture, maskRect, inner);
    }
}

void TIllustRect::ReadFields(TFrameReader& stream)
{
    TDrawRect::ReadFields(stream);
    m_picture.Read(stream);
    m_resolution = stream.ReadInt32();
    qint32 index = stream.ReadInt32();
    if (LoadedFileVersion < 300 && index > 0)
        ++index;
    if (LoadedFileVersion > 200) {
        TRect r;
        r.left = stream.ReadInt32();
        r.top = stream.ReadInt32();
        r.right = stream.ReadInt32();
        r.bottom = stream.ReadInt32();
        m_imageRect = r;
    } else {
        m_imageRect = GetDesignRect();
    }
    const quint32 color = stream.ReadUInt32();
    m_frame.LoadFromStream(stream);
    m_upsideDown = LoadedFileVersion > 300 ? stream.ReadByte() != 0 : false;
    SetFrameIndex(-1);
    SetTransparentColor(NoTransparentColor);
    SetFrameIndex(index < 0 ? -1 : index);
    SetTransparentColor(color);
    updateImageScreenRect();
    dropScreenCache();
}

void TIllustRect::SaveToStream(TFrameWriter& stream) const
{
    TDrawRect::SaveToStream(stream);
    m_picture.Write(stream, m_resolution);
    stream.WriteInt32(m_resolution);
    stream.WriteInt32(m_frameIndex);
    stream.WriteInt32(m_imageRect.left);
    stream.WriteInt32(m_imageRect.top);
    stream.WriteInt32(m_imageRect.right);
    stream.WriteInt32(m_imageRect.bottom);
    stream.WriteUInt32(m_transparentColor);
    m_frame.SaveToStream(stream);
    stream.WriteByte(m_upsideDown ? 1 : 0);
}
