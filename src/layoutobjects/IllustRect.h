// The illustration frame: a picture (kept as its JPEG bytes when it came from a JPEG), mirrored and turned,
// shown through a cut-out shape or with one transparent colour inside a decorative border; and the list of
// cut-out shape files.
#pragma once

#include "layoutobjects/ImageUtils.h"
#include "layoutobjects/WordRect.h"

#include <QStringList>

constexpr quint8 KindIllust = 10;
constexpr quint32 NoTransparentColor = 0x1FFFFFFF;
// The number of cut-out shapes the program ships ("Common/Mask/Itm01.svg" ...).
constexpr int FrameMetafileCount = 13;

// Turn bytes: what leads from the decoded JPEG to the picture after the mirrors.
constexpr quint8 TurnLeft = 0;
constexpr quint8 TurnRight = 1;
constexpr quint8 TurnHalf = 2;
constexpr quint8 TurnNone = 3;

// The text of every picture that cannot be read from a design.
extern const char* const ImageLoadErrorText;

// The process-wide list of cut-out shape files; indexes count the files that exist.
const QStringList& FrameMetafileNames();
void AddFrameMetafileName(const QString& fileName);
void ClearFrameMetafileNames();
// Adds the shipped shapes under programFolder ("Common/Mask/ItmNN.svg") that exist, as the designers do when
// they open.
void AddStandardFrameMetafileNames(const QString& programFolder);

// The mirror and turn bytes that lead from a JPEG to the picture shown, kept through flips and turns.
struct TPictureTransform
{
    quint8 flipVertical = 0;
    quint8 flipHorizontal = 0;
    quint8 turn = TurnNone;

    void Flip(quint8 horizontal);
    void Rotate(int kind);
};

// A picture as the frames store it: the extension, the pixels (24-bit) and, for a JPEG, its bytes and the
// transform from them to the pixels.
struct TStoredPicture
{
    QString extension;
    QImage bitmap;
    QByteArray jpeg;
    TPictureTransform transform;

    bool IsJpegExtension() const { return extension == "jpg" || extension == "jpeg"; }
    // Lower-cases the extension; drops the JPEG bytes.
    void SetExtension(const QString& text);
    // Takes a loaded picture (or none), resetting the transform.
    void SetGraphic(const TGraphic* graphic);
    // Mirror and turn the pixels, keeping the bytes in step; false when nothing changed.
    bool Flip(quint8 horizontal);
    bool Rotate(int kind);
    // The extension and the picture data of a frame record; bmpDpi is written into a BMP.
    void Read(TFrameReader& stream);
    void Write(TFrameWriter& stream, int bmpDpi) const;

private:
    void readPicture(TFrameReader& stream);
};

class TIllustRect : public TFrameClass<TIllustRect, TDrawRect>
{
public:
    TIllustRect();
    TIllustRect(const TIllustRect& other);
    TIllustRect& operator=(const TIllustRect& other) = default;

    quint8 GetKind() const override { return KindIllust; }
    void Assign(const TDrawRect& source) override;
    void SetZoom(double zoom) override;
    void SetDesignRect(const TRect& rect) override;
    void SetScreenRect(const TRect& rect) override;
    void Draw(QPainter& painter, int dx, int dy) override;
    void Print(QPainter& painter, int dx, int dy) override;
    void CalcPrintRect(QPoint offset, bool keepPhysicalOffset) override;
    void SaveToStream(TFrameWriter& stream) const override;

    // A loaded picture, or none to remove it.
    virtual void SetGraphic(const TGraphic* graphic);
    virtual void SetFrameIndex(int index);
    virtual void SetTransparentColor(quint32 color);

    void Flip(quint8 horizontal);
    void Rotate(int kind);
    const QImage& GetBitmap() const { return m_picture.bitmap; }
    const QByteArray& JpegSource() const { return m_picture.jpeg; }
    const TPictureTransform& Transform() const { return m_picture.transform; }
    const QString& Extension() const { return m_picture.extension; }
    void SetExtension(const QString& text) { m_picture.SetExtension(text); }

    qint32 Resolution() const { return m_resolution; }
    void SetResolution(qint32 dpi) { m_resolution = dpi; }
    int FrameIndex() const { return m_frameIndex; }
    const TMaskPicture& FramePicture() const { return m_framePicture; }
    quint32 TransparentColor() const { return m_transparentColor; }
    // Exactly while a cut-out or a transparent colour is set.
    bool HasScreenMask() const { return m_frameIndex >= 0 || m_transparentColor != NoTransparentColor; }
    const TRect& ImageRect() const { return m_imageRect; }
    const TRect& ImageScreenRect() const { return m_imageScreenRect; }
    void SetImageScreenRect(const TRect& rect);
    quint16 GetMaskHandleZone(int x, int y) const;
    qint16 GetMaskCursorAt(int x, int y) const;
    bool LimitedPrinter() const { return m_limitedPrinter; }
    void SetLimitedPrinter(bool limited) { m_limitedPrinter = limited; }
    bool SmoothScaling() const { return m_smooth; }
    void SetSmoothScaling(bool smooth);
    bool UpsideDown() const { return m_upsideDown; }
    void SetUpsideDown(bool upsideDown);
    TRectFrame& Frame() { return m_frame; }
    const TRectFrame& Frame() const { return m_frame; }

    const QImage& PrintCopy() const { return m_printCopy; }
    const TRect& PrintImageRect() const { return m_printImageRect; }
    void FreePrintCache() { m_printCopy = QImage(); }
    // The picture as last drawn on screen (empty when stale).
    const QImage& ScreenCache() const { return m_screenCache; }

protected:
    void ReadFields(TFrameReader& stream) override;

private:
    void installCallbacks();
    void dropScreenCache() { m_screenCache = QImage(); }
    // The cut-out rect follows a change of the frame from old to new (either design or screen pixels).
    void scaleImageRect(const TRect& oldRect, const TRect& newRect, const TRect& oldDesign);
    void updateImageScreenRect();
    void buildScreenCache(const TRect& inner);

    TStoredPicture m_picture;
    qint32 m_resolution = 0;
    qint32 m_frameIndex = -1;
    TMaskPicture m_framePicture;
    TRect m_imageRect;
    quint32 m_transparentColor = NoTransparentColor;
    bool m_limitedPrinter = false;
    QImage m_printCopy;
    TRect m_printImageRect;
    QImage m_screenCache;
    TRect m_imageScreenRect;
    bool m_smooth = false;
    TRectFrame m_frame;
    bool m_upsideDown = false;
};
