// The background of a message-side page: nothing, a picture fitted, centred or tiled, one colour or a
// two-colour gradient over the printable part of the paper.
#pragma once

#include "layoutobjects/IllustRect.h"

// Background modes.
constexpr quint8 BackNone = 0;
constexpr quint8 BackFitted = 1;
constexpr quint8 BackCentred = 2;
constexpr quint8 BackTiled = 3;
constexpr quint8 BackColor = 4;
constexpr quint8 BackGradient = 5;

class TBackImage
{
public:
    TBackImage() = default;

    void Clear();
    void Assign(const TBackImage& other);

    QSize PaperSize() const { return m_paper; }
    void SetPaperSize(QSize paper); // 0.1 mm
    const TRect& VisibleRect() const { return m_visible; }
    void SetVisibleRect(const TRect& rect); // design pixels from the paper's corner
    double Zoom() const { return m_zoom; }
    void SetZoom(double zoom);
    quint8 Mode() const { return m_mode; }
    void SetMode(quint8 mode);
    qint32 Dpi() const { return m_dpi; }
    void SetDpi(qint32 dpi);
    quint32 Color() const { return m_color; }
    void SetColor(quint32 color);
    quint32 Color2() const { return m_color2; }
    void SetColor2(quint32 color);
    qint32 GradientAngle() const { return m_angle; }
    void SetGradientAngle(qint32 angle);
    const QString& Extension() const { return m_picture.extension; }
    void SetExtension(const QString& text);
    // Takes a loaded picture as the background's picture at 72 dpi.
    void SetGraphic(const TGraphic* graphic);
    void Flip(quint8 horizontal);
    void Rotate(int kind);
    const QImage& Picture() const { return m_picture.bitmap; }
    const QByteArray& JpegSource() const { return m_picture.jpeg; }
    const TPictureTransform& Transform() const { return m_picture.transform; }
    bool UpsideDown() const { return m_upsideDown; }
    void SetUpsideDown(bool upsideDown) { m_upsideDown = upsideDown; }

    bool IsEmpty() const { return m_render.isNull(); }
    const QImage& RenderBitmap() const { return m_render; }
    QPoint RenderOrigin() const { return m_origin; }
    void UpdateImage(bool force);
    void Draw(QPainter& painter, int x, int y);

    // Around printing one page: offset in 0.1 mm on the current printer.
    void PreparePrint(QPoint offset);
    void Print(QPainter& painter, int x, int y);
    void FreePrintCache();
    const TRect& PrintRect() const { return m_printRect; }
    QSize PrintPictureSize() const { return m_printPictureSize; }
    QSize TileCount() const { return m_tiles; }
    const QImage& PrintGradient() const { return m_printGradient; }

    // Throws EFrameStreamError (with the picture error text for a damaged picture) and keeps the
    // background as it was.
    void LoadFromStream(TFrameReader& stream);
    void SaveToStream(TFrameWriter& stream) const;

private:
    void render();
    void stale() { m_current = false; }
    bool hasPictureMode() const { return m_mode >= BackFitted && m_mode <= BackTiled; }
    void readFields(TFrameReader& stream);

    QImage m_render;
    QSize m_paper;
    TRect m_visible;
    double m_zoom = 1.0;
    quint8 m_mode = BackNone;
    TStoredPicture m_picture;
    qint32 m_dpi = 72;
    quint32 m_color = 0xFFFFFF;
    quint32 m_color2 = 0xFFFFFF;
    qint32 m_angle = 0;
    bool m_current = false;
    QPoint m_origin;
    TRect m_printRect;
    QSize m_printPictureSize;
    QSize m_tiles;
    QImage m_printGradient;
    bool m_upsideDown = false;
};
