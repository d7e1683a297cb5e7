// The QR code maker over libqrencode: level M, automatic version, a quiet zone of four modules, CP932 text
// with Kanji mode for its double-byte runs; the symbol as a two-colour picture and its size in millimetres.
#pragma once

#include "platform/Cp932.h"

#include <QColor>
#include <QImage>

class TQRmakerPro
{
public:
    // Pixels per inch of the picture; a module is CellPitch pixels at 96.
    qint16 CellUnit() const { return m_cellUnit; }
    void SetCellUnit(qint16 unit) { m_cellUnit = unit; }
    qint16 CellPitch() const { return m_cellPitch; }
    void SetCellPitch(qint16 pitch) { m_cellPitch = pitch; }
    // Dark and light module colours.
    QColor ForeBColor() const { return m_dark; }
    void SetForeBColor(const QColor& color) { m_dark = color; }
    QColor ForeWColor() const { return m_light; }
    void SetForeWColor(const QColor& color) { m_light = color; }
    const AnsiString& Data() const { return m_data; }
    void SetData(const AnsiString& data) { m_data = data; }

    // Makes the symbol of the data. An empty text gives a light square of the smallest symbol's size; a
    // text beyond the largest symbol gives no picture and that same size; a picture over 32767 pixels a side
    // is not made (its size is still reported).
    void Refresh();
    // Palette index 0 the light, 1 the dark colour; null after a failure.
    const QImage& Image() const { return m_image; }
    // Module side in pixels.
    int ModulePixels() const;
    float ImageHeight() const { return m_heightMm; }
    float ImageWidth() const { return m_widthMm; }

private:
    qint16 m_cellUnit = 96;
    qint16 m_cellPitch = 3;
    QColor m_dark = Qt::black;
    QColor m_light = Qt::white;
    AnsiString m_data;
    QImage m_image;
    float m_heightMm = 0;
    float m_widthMm = 0;
};
