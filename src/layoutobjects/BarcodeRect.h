// The customer barcode frame: its fixed sizes, the wrapper of the barcode library, and the frame that loads
// the library's picture of a postal code and address.
#pragma once

#include "layoutobjects/DrawRect.h"

#include <QImage>

#include <array>

constexpr quint8 KindBarcode = 9;

// Bar heights of the four sizes in points.
constexpr std::array<qint32, 4> BarcodeSizes = {8, 9, 10, 11};

// Height and length of size index i in design pixels.
int BarcodeHeight(int sizeIndex);
int BarcodeLength(int sizeIndex);
// The largest size whose length (0.1 mm) is less than available; false (index untouched) when none fits.
bool FitBarcodeSize(int available, int* sizeIndex);

// The address as the library gets it: full width, cut to 255 bytes on a character boundary.
AnsiString BarcodeAddress(const AnsiString& address);

// Results of the library wrapper besides the library's own codes.
constexpr int BarcodeLoadError = 101;
constexpr int BarcodeEntryPointError = 102;
constexpr int BarcodeNotLoaded = 103;

// One reference on "Dlbarckj.dll" in programFolder: 0, 101 (shown; the reference stays counted) or 102
// (shown; no reference).
int LoadBarcodeLibrary(const QString& programFolder);
void FreeBarcodeLibrary();
// Writes the barcode BMP; an empty bmpPath means dicFolder + "Barcode.bmp". 0 on success.
int CreateAddressBarcode(const AnsiString& postal, const AnsiString& address, bool vertical,
                         const QString& programFolder, const QString& dicFolder, const QString& bmpPath);

// A reference on the barcode library taken by one frame; a copy holds none of its own.
class TBarcodeLibraryRef
{
public:
    TBarcodeLibraryRef() = default;
    TBarcodeLibraryRef(const TBarcodeLibraryRef&) {}
    TBarcodeLibraryRef& operator=(const TBarcodeLibraryRef&) { return *this; }
    ~TBarcodeLibraryRef();
    // Loads on the first call only, so a failure is shown once.
    void Take(const QString& programFolder);

private:
    bool m_tried = false;
    bool m_taken = false;
};

class TBarcodeRect : public TFrameClass<TBarcodeRect, TDrawRect>
{
public:
    TBarcodeRect() = default;

    quint8 GetKind() const override { return KindBarcode; }
    void SetDesignRect(const TRect& rect) override;
    void SetScreenRect(const TRect& rect) override;
    void Draw(QPainter& painter, int dx, int dy) override;
    void Print(QPainter& painter, int dx, int dy) override;
    void SaveToStream(TFrameWriter& stream) const override;
    qint16 GetCursorAt(int, int) const override { return CursorDefault; }

    // Makes the picture; any failure leaves it empty without a message.
    void MakeBarcode(const AnsiString& postal, const AnsiString& address, const QString& programFolder,
                     const QString& dicFolder, const QString& workFolder);
    void ClearImage() { m_image = QImage(); }
    const QImage& Image() const { return m_image; }
    int SizeIndex() const { return m_sizeIndex; }
    void SetSizeIndex(int index);
    bool Horizontal() const { return m_horizontal != 0; }
    // Takes effect at the next SetDesignRect.
    void SetHorizontal(bool horizontal) { m_horizontal = horizontal ? 1 : 0; }
    // The page is turned upside down: the picture turns a half turn, and so does every later one.
    void Rotate180();
    bool PageTurned() const { return m_pageTurned; }

protected:
    void ReadFields(TFrameReader& stream) override;

private:
    TBarcodeLibraryRef m_library;
    QImage m_image;
    quint8 m_sizeIndex = 0;
    quint8 m_horizontal = 1;
    bool m_explicitRect = false;
    bool m_pageTurned = false;
};
