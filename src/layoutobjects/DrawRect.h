// The root of every frame placed on a page: design, screen and printer rectangles, handle zones and cursors,
// the base stream record, and the small text routines the frame classes share.
#pragma once

#include "core/Canvas.h"
#include "layoutobjects/FrameStream.h"

#include <QPoint>
#include <QString>

#include <memory>

class QPainter;

// Format version of the file or clipboard block being loaded; readers gate fields on it.
extern int LoadedFileVersion;
// The version every writer writes.
constexpr int CurrentFileVersion = 600;
// Larger side of the current paper in 0.1 mm; text frames scale their fonts by it / 1480.
extern int PaperLongSide;
constexpr int PostcardLongSide = 1480;

// Handle zones: horizontal in the low byte, vertical in the high byte.
constexpr quint8 ZoneLeft = 0;
constexpr quint8 ZoneRight = 1;
constexpr quint8 ZoneTop = 2;
constexpr quint8 ZoneBottom = 3;
constexpr quint8 ZoneCentre = 4;
constexpr quint8 ZoneNone = 5;

// Cursor numbers GetCursorAt answers.
constexpr qint16 CursorDefault = 0;
constexpr qint16 CursorSizeNESW = -6;
constexpr qint16 CursorSizeNS = -7;
constexpr qint16 CursorSizeNWSE = -8;
constexpr qint16 CursorSizeWE = -9;
constexpr qint16 CursorSizeAll = -22;

Qt::CursorShape CursorShapeFor(qint16 cursor);

// The handle zone of a point against a rectangle: within 3 pixels of the left edge or the middle, from 4
// pixels inside to 2 outside the right edge; the same vertically.
quint16 HandleZoneOf(const TRect& rect, int x, int y);
// The cursor of a handle zone: diagonal at corners, across at the middles of edges, else moving when inside.
qint16 CursorOfZone(quint16 zone, bool inside);

// Clip sides: which part of the rendered contents is shown.
constexpr quint8 ClipNone = 0;
constexpr quint8 ClipLeftOf = 1;
constexpr quint8 ClipAbove = 2;
constexpr quint8 ClipRightOf = 3;
constexpr quint8 ClipBelow = 4;

class TDrawRect
{
public:
    TDrawRect() = default;
    virtual ~TDrawRect() = default;

    virtual std::unique_ptr<TDrawRect> Clone() const = 0;
    virtual void Assign(const TDrawRect& source);

    double Zoom() const { return m_zoom; }
    virtual void SetZoom(double zoom);
    virtual TRect GetDesignRect() const { return m_designRect; }
    virtual void SetDesignRect(const TRect& rect);
    virtual TRect GetScreenRect() const { return m_screenRect; }
    virtual void SetScreenRect(const TRect& rect);
    TRect GetPrinterRect() const { return m_printerRect; }
    quint8 ClipSide() const { return m_clipSide; }
    virtual void SetClipSide(quint8 side);
    qint32 ClipPos() const { return m_clipPos; }
    virtual void SetClipPos(qint32 pos);
    bool Visible() const { return m_visible != 0; }
    void SetVisible(bool visible) { m_visible = visible ? 1 : 0; }

    virtual quint8 GetKind() const = 0;
    // Paints on a screen painter at the screen rect moved by (dx, dy) screen pixels.
    virtual void Draw(QPainter& painter, int dx, int dy) = 0;
    // Paints on a printer painter at the printer rect moved by (dx, dy) printer pixels.
    virtual void Print(QPainter& painter, int dx, int dy) = 0;
    // The printer rect from the design rect on the current printer, moved by offset (0.1 mm); unless
    // keepPhysicalOffset, counted from the printable area.
    virtual void CalcPrintRect(QPoint offset, bool keepPhysicalOffset);
    virtual void UpdateImage(bool force) {}

    // Reads the frame's record; on a short or damaged record throws EFrameStreamError and keeps the frame
    // as it was.
    void LoadFromStream(TFrameReader& stream);
    virtual void SaveToStream(TFrameWriter& stream) const;

    virtual bool ContainsPoint(int x, int y) const;
    virtual qint16 GetCursorAt(int x, int y) const;
    virtual quint16 GetHandleZone(int x, int y) const;

protected:
    TDrawRect(const TDrawRect&) = default;
    TDrawRect& operator=(const TDrawRect&) = default;

    // Reads the record of this class and its bases into this object.
    virtual void ReadFields(TFrameReader& stream);
    // Takes every field of a frame of the same class.
    virtual void CopyAllFrom(const TDrawRect& other) = 0;
    // For frames that size themselves: the design rect moves as far as the screen rect's corner moved and
    // keeps its size.
    void MoveWithScreenRect(const TRect& rect);

private:
    TRect m_designRect;
    TRect m_screenRect;
    TRect m_printerRect;
    double m_zoom = 1.0;
    qint32 m_clipPos = 0;
    quint8 m_clipSide = ClipNone;
    quint8 m_visible = 1;
};

// Fills in the copying operations of a concrete frame class.
template <class Derived, class Base> class TFrameClass : public Base
{
public:
    using Base::Base;
    std::unique_ptr<TDrawRect> Clone() const override
    {
        return std::unique_ptr<TDrawRect>(new Derived(static_cast<const Derived&>(*this)));
    }

protected:
    void CopyAllFrom(const TDrawRect& other) override
    {
        static_cast<Derived&>(*this) = static_cast<const Derived&>(other);
    }
};

// Surname and given name separated by exactly one half-width space.
QString NormalizeNameSpacing(const QString& text);
// Keeps in text the characters that fit in width on the canvas's font and returns the rest.
QString FitTextToWidth(const TCanvas& canvas, QString& text, int width);
int GetTextWidthW(const TCanvas& canvas, const QString& text);
// The rectangle of a size at a corner, its far edges saturated (a corner read from a damaged file may lie
// at the end of the range).
TRect SizedRect(qint32 left, qint32 top, qint32 width, qint32 height);
// The rectangle of a size centred on another: its corner moves by (old - new) div 2 in each direction.
TRect CentredRect(const TRect& around, qint32 width, qint32 height);
