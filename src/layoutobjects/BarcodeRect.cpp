// Customer barcode: sizes, the library wrapper and the frame.
#include "layoutobjects/BarcodeRect.h"

#include "DlbarckjApi.h"
#include "core/AppSub.h"
#include "core/FontSub.h"
#include "core/SharedLibrary.h"

#include <QFile>
#include <QPainter>

#include <cmath>

namespace {

constexpr double LengthRatio = 23.421538461538461539;
constexpr int MaxAddressBytes = 255;

TSharedLibrary& library()
{
    static TSharedLibrary l(QStringLiteral("Dlbarckj.dll"), "CreateAdrsBar");
    return l;
}

} // namespace

int BarcodeHeight(int sizeIndex)
{
    return int(RoundHalfAway(BarcodeSizes[size_t(sizeIndex)] * 96 / 72.0));
}

int BarcodeLength(int sizeIndex)
{
    return int(RoundHalfAway(BarcodeHeight(sizeIndex) * LengthRatio));
}

bool FitBarcodeSize(int available, int* sizeIndex)
{
    int fitting = -1;
    for (int i = 0; i < int(BarcodeSizes.size()); ++i) {
        const double length = std::ceil(BarcodeHeight(i) / 96.0 * 254 * LengthRatio);
        if (!(length < available))
            break;
        fitting = i;
    }
    if (fitting < 0)
        return false;
    *sizeIndex = fitting;
    return true;
}

AnsiString BarcodeAddress(const AnsiString& address)
{
    const AnsiString text = ToFullWidth(address);
    return text.size() > MaxAddressBytes ? Cp932::cutAtBoundary(text, MaxAddressBytes) : text;
}

int LoadBarcodeLibrary(const QString& programFolder)
{
    switch (library().Load(programFolder)) {
    case TSharedLibrary::Loaded:
        return 0;
    case TSharedLibrary::LoadFailed:
        return BarcodeLoadError;
    default:
        return BarcodeEntryPointError;
    }
}

void FreeBarcodeLibrary()
{
    library().Free();
}

int CreateAddressBarcode(const AnsiString& postal, const AnsiString& address, bool vertical,
                         const QString& programFolder, const QString& dicFolder, const QString& bmpPath)
{
    QReadLocker lock(&library().Lock());
    const auto create = reinterpret_cast<CreateAdrsBarProc>(library().Entry());
    if (!create)
        return BarcodeNotLoaded;
    const QString path = bmpPath.trimmed().isEmpty() ? dicFolder + QStringLiteral("Barcode.bmp") : bmpPath;
    char work[BarcodeWorkSize] = {};
    return create(postal.constData(), address.constData(), vertical ? 1 : 0, work,
                  QFile::encodeName(programFolder).constData(), QFile::encodeName(dicFolder).constData(),
                  QFile::encodeName(path).constData());
}

TBarcodeLibraryRef::~TBarcodeLibraryRef()
{
    if (m_taken)
        FreeBarcodeLibrary();
}

void TBarcodeLibraryRef::Take(const QString& programFolder)
{
    if (m_tried)
        return;
    m_tried = true;
    // A failed load keeps its reference, which this frees; a missing entry point has dropped it.
    m_taken = LoadBarcodeLibrary(programFolder) != BarcodeEntryPointError;
}

void TBarcodeRect::SetDesignRect(const TRect& rect)
{
    if (m_explicitRect) {
        m_explicitRect = false;
        TDrawRect::SetDesignRect(rect);
        return;
    }
    const int length = BarcodeLength(m_sizeIndex);
    const int height = BarcodeHeight(m_sizeIndex);
    const int w = m_horizontal ? length : height;
    const int h = m_horizontal ? height : length;
    TDrawRect::SetDesignRect(SizedRect(rect.left, rect.top, w, h));
}

void TBarcodeRect::SetScreenRect(const TRect& rect)
{
    MoveWithScreenRect(rect);
}

void TBarcodeRect::SetSizeIndex(int index)
{
    if (index == m_sizeIndex || index < 0 || index >= int(BarcodeSizes.size()))
        return;
    m_sizeIndex = quint8(index);
    const TRect old = GetDesignRect();
    const int length = BarcodeLength(index);
    const int height = BarcodeHeight(index);
    const int w = m_horizontal ? length : height;
    const int h = m_horizontal ? height : length;
    m_explicitRect = true;
    SetDesignRect(CentredRect(old, w, h));
}

void TBarcodeRect::MakeBarcode(const AnsiString& postal, const AnsiString& address,
                               const QString& programFolder, const QString& dicFolder,
                               const QString& workFolder)
{
    m_library.Take(programFolder);
    m_image = QImage();
    const AnsiString text = BarcodeAddress(address);
    const QString path = workFolder + QStringLiteral("Barcode.bmp");
    const int result = CreateAddressBarcode(postal, text, m_horizontal == 0, programFolder, dicFolder, path);
    if (result == 0) {
        QImage image(path, "BMP");
        if (!image.isNull())
            m_image = m_pageTurned ? image.transformed(QTransform().rotate(180)) : image;
    }
    // Also after a failure: the library may have left a partial file.
    QFile::remove(path);
}

void TBarcodeRect::Rotate180()
{
    m_pageTurned = !m_pageTurned;
    if (!m_image.isNull())
        m_image = m_image.transformed(QTransform().rotate(180));
}

void TBarcodeRect::Draw(QPainter& painter, int dx, int dy)
{
    if (m_image.isNull())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(GetScreenRect().Moved(dx, dy).ToQRect(), m_image);
    painter.restore();
}

void TBarcodeRect::Print(QPainter& painter, int dx, int dy)
{
    if (m_image.isNull())
        return;
    painter.save();
    painter.setRenderHint(QPainter::SmoothPixmapTransform, false);
    painter.drawImage(GetPrinterRect().Moved(dx, dy).ToQRect(), m_image);
    painter.restore();
}

void TBarcodeRect::ReadFields(TFrameReader& stream)
{
    TDrawRect::ReadFields(stream);
    if (LoadedFileVersion < 200)
        SetVisible(stream.ReadByte() != 0);
    const quint8 sizeIndex = stream.ReadByte();
    if (sizeIndex >= BarcodeSizes.size())
        throw EFrameStreamError("barcode size index out of range");
    m_sizeIndex = sizeIndex;
    m_horizontal = stream.ReadByte() != 0 ? 1 : 0;
    // The size follows from the stored size and orientation.
    SetDesignRect(GetDesignRect());
}

void TBarcodeRect::SaveToStream(TFrameWriter& stream) const
{
    TDrawRect::SaveToStream(stream);
    stream.WriteByte(m_sizeIndex);
    stream.WriteByte(m_horizontal);
}
