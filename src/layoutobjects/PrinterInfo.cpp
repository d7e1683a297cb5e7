// Printer information: ".pi" blocks, the remembered printer, metrics and the paper of the current printer.
#include "layoutobjects/PrinterInfo.h"

#include "core/AppSub.h"
#include "platform/Cp932.h"
#include "platform/Printers.h"

#include <QFile>
#include <QSaveFile>
#include <QtEndian>

#include <cstring>

namespace {

const QByteArray PrivateMagic = QByteArrayLiteral("TVPI");
constexpr int PrivateFixedSize = 4 + 7 * 4;

template <class T> T readAt(const QByteArray& bytes, int offset)
{
    return qFromLittleEndian<T>(bytes.constData() + offset);
}
template <class T> void writeAt(QByteArray& bytes, int offset, T value)
{
    qToLittleEndian<T>(value, bytes.data() + offset);
}

TPrinter* printerAt(int index)
{
    TPrinterList& list = TPrinterList::Instance();
    return index < 0 ? list.At(list.DefaultIndex()) : list.At(index);
}

qint32 tenths(double mm)
{
    return qint32(RoundHalfAway(mm * 10));
}

} // namespace

QPageSize PaperOfNumber(qint16 number)
{
    for (int id = 0; id < int(QPageSize::LastPageSize); ++id) {
        const auto pageId = QPageSize::PageSizeId(id);
        if (pageId != QPageSize::Custom && QPageSize::windowsId(pageId) == number)
            return QPageSize(pageId);
    }
    return {};
}

QByteArray EncodePrinterSettings(const TPrinterSettings& s)
{
    QByteArray block(PrinterSettingsPublicSize, '\0');
    const AnsiString name = ToAnsi(s.DeviceName).left(31);
    std::memcpy(block.data(), name.constData(), size_t(name.size()));
    const QByteArray fullName = s.DeviceName.toUtf8();
    writeAt<quint16>(block, 32, 0x0401);
    writeAt<quint16>(block, 34, s.DriverVersion);
    writeAt<quint16>(block, 36, PrinterSettingsPublicSize);
    writeAt<quint16>(block, 38, quint16(PrivateFixedSize + fullName.size()));
    writeAt<quint32>(block, 40, 0x1 | 0x2 | 0x100 | 0x10); // orientation, paper, copies, scale
    writeAt<qint16>(block, 44, s.Orientation);
    writeAt<qint16>(block, 46, s.PaperNumber);
    const QSizeF mm = s.Paper.isValid() ? s.Paper.size(QPageSize::Millimeter) : QSizeF();
    writeAt<qint16>(block, 48, qint16(tenths(mm.height())));
    writeAt<qint16>(block, 50, qint16(tenths(mm.width())));
    writeAt<qint16>(block, 52, 100);
    writeAt<qint16>(block, 54, s.Copies);

    QByteArray own(PrivateFixedSize, '\0');
    std::memcpy(own.data(), PrivateMagic.constData(), 4);
    writeAt<qint32>(own, 4, 1);
    writeAt<qint32>(own, 8, s.Paper.isValid() ? qint32(s.Paper.id()) : -1);
    writeAt<qint32>(own, 12, tenths(mm.width()));
    writeAt<qint32>(own, 16, tenths(mm.height()));
    writeAt<qint32>(own, 20, s.Dpi);
    writeAt<qint32>(own, 24, s.Copies);
    writeAt<qint32>(own, 28, qint32(fullName.size()));
    return block + own + fullName;
}

bool DecodePrinterSettings(const QByteArray& block, TPrinterSettings& s)
{
    constexpr int ownAt = PrinterSettingsPublicSize;
    if (block.size() < ownAt + PrivateFixedSize || block.mid(ownAt, 4) != PrivateMagic)
        return false;
    const qint32 nameLength = readAt<qint32>(block, ownAt + 28);
    if (nameLength < 0 || nameLength > block.size() - ownAt - PrivateFixedSize)
        return false;
    s.DeviceName = QString::fromUtf8(block.mid(ownAt + PrivateFixedSize, nameLength));
    s.DriverVersion = readAt<quint16>(block, 34);
    s.Orientation = readAt<qint16>(block, 44) == 2 ? 2 : 1;
    s.PaperNumber = readAt<qint16>(block, 46);
    s.Copies = qint16(qBound(1, int(readAt<qint16>(block, 54)), 9999));
    const qint32 id = readAt<qint32>(block, ownAt + 8);
    const qint32 width = readAt<qint32>(block, ownAt + 12);
    const qint32 height = readAt<qint32>(block, ownAt + 16);
    s.Dpi = readAt<qint32>(block, ownAt + 20);
    if (id >= 0 && id < int(QPageSize::LastPageSize) && QPageSize::PageSizeId(id) != QPageSize::Custom)
        s.Paper = QPageSize(QPageSize::PageSizeId(id));
    else if (width > 0 && height > 0 && width <= 100000 && height <= 100000)
        s.Paper = QPageSize(QSizeF(width / 10.0, height / 10.0), QPageSize::Millimeter, QString(),
                            QPageSize::ExactMatch);
    else
        return false;
    return true;
}

TPrinterSettings CurrentPrinterSettings(int index)
{
    TPrinterSettings s;
    const TPrinter* printer = printerAt(index);
    if (!printer)
        return s;
    s.DeviceName = printer->Name();
    s.DriverVersion = PrinterDriverVersion;
    s.Orientation = printer->Orientation() == QPageLayout::Landscape ? 2 : 1;
    s.Paper = printer->Paper();
    s.PaperNumber =
        printer->Paper().id() == QPageSize::Custom ? UserPaperNumber : qint16(printer->Paper().windowsId());
    s.Dpi = printer->DpiX();
    return s;
}

TPrinterInfo::TPrinterInfo(QString fileName) : FileName(std::move(fileName))
{
    LoadFromFile();
}

void TPrinterInfo::takeSettings(const TPrinterSettings& settings, const QByteArray& block)
{
    DeviceName = settings.DeviceName;
    DriverName = QStringLiteral("tovarel");
    PortName = QString();
    DevModeCopy = block;
    ReadMetrics();
}

void TPrinterInfo::LoadFromFile()
{
    QFile file(FileName);
    if (!file.open(QIODevice::ReadOnly)) {
        SelectPrinter(-1);
        return;
    }
    const QByteArray head = file.read(4);
    const qint64 n = head.size() == 4 ? readAt<qint32>(head, 0) : 0;
    TPrinterSettings saved;
    // The size is checked against the file before anything of that size is read.
    const QByteArray block = n > 0 && n <= file.size() - 4 ? file.read(n) : QByteArray();
    if (block.isEmpty() || !DecodePrinterSettings(block, saved)) {
        SelectPrinter(-1);
        return;
    }
    TPrinterList& list = TPrinterList::Instance();
    const int index = list.IndexOf(saved.DeviceName);
    if (index < 0 || saved.DriverVersion != PrinterDriverVersion) {
        SelectPrinter(-1);
        return;
    }
    list.SetCurrentIndex(index);
    list.At(index)->SetPaper(saved.Paper, saved.PageOrientation());
    takeSettings(saved, block);
}

void TPrinterInfo::SelectPrinter(int index)
{
    TPrinterList& list = TPrinterList::Instance();
    const int chosen = index < 0 ? list.DefaultIndex() : index;
    if (chosen >= 0)
        list.SetCurrentIndex(chosen);
    const TPrinterSettings settings = CurrentPrinterSettings(chosen);
    takeSettings(settings, list.At(chosen) ? EncodePrinterSettings(settings) : QByteArray());
}

void TPrinterInfo::TakeCurrentPrinter()
{
    SelectPrinter(TPrinterList::Instance().CurrentIndex());
}

void TPrinterInfo::ReadMetrics()
{
    const TPrinter* printer = TPrinterList::Instance().Current();
    if (!printer) {
        DpiX = DpiY = PhysicalWidth = PhysicalHeight = OffsetX = OffsetY = RightMargin = BottomMargin = 0;
        ScaleX = ScaleY = 0;
        return;
    }
    DpiX = printer->DpiX();
    DpiY = printer->DpiY();
    const QSize physical = printer->PhysicalSize();
    PhysicalWidth = physical.width();
    PhysicalHeight = physical.height();
    OffsetX = printer->PhysicalOffset().x();
    OffsetY = printer->PhysicalOffset().y();
    const QSize page = printer->PageSize();
    RightMargin = PhysicalWidth - page.width() - OffsetX;
    BottomMargin = PhysicalHeight - page.height() - OffsetY;
    ScaleX = DpiX / 96.0;
    ScaleY = DpiY / 96.0;
}

bool TPrinterInfo::Save(QString* error) const
{
    QSaveFile file(FileName);
    QByteArray bytes(4, '\0');
    writeAt<qint32>(bytes, 0, qint32(DevModeCopy.size()));
    bytes += DevModeCopy;
    if (file.open(QIODevice::WriteOnly) && file.write(bytes) == bytes.size() && file.commit())
        return true;
    if (error)
        *error = file.errorString();
    return false;
}

void TPrinterInfo::GetPaperName(qint32& error, QString& name)
{
    name.clear();
    TPrinterSettings s;
    if (!DecodePrinterSettings(DevModeCopy, s)) {
        error = 2;
        return;
    }
    error = 0;
    if (s.PaperNumber == UserPaperNumber) {
        name = s.Paper.name();
        return;
    }
    QPageSize paper = PaperOfNumber(s.PaperNumber);
    if (!paper.isValid()) {
        paper = PaperOfNumber(1);
        s.PaperNumber = 1;
        s.Paper = paper;
        DevModeCopy = EncodePrinterSettings(s);
    }
    name = paper.name();
}

TRect TPrinterInfo::GetPrintableBounds(int x, int y) const
{
    const qint32 left = x + qint32(RoundHalfAway(OffsetX / ScaleX));
    const qint32 top = y + qint32(RoundHalfAway(OffsetY / ScaleY));
    const qint32 width = qint32(RoundHalfAway((PhysicalWidth - RightMargin) / ScaleX)) - x;
    const qint32 height = qint32(RoundHalfAway((PhysicalHeight - BottomMargin) / ScaleY)) - y;
    return TRect{left, top, left + width, top + height};
}

QSize TPrinterInfo::GetPageSize96() const
{
    return QSize(int(RoundHalfAway(PhysicalWidth / ScaleX)), int(RoundHalfAway(PhysicalHeight / ScaleY)));
}

QPoint TPrinterInfo::TenthMmToDevice(QPoint t) const
{
    return QPoint(int(RoundHalfAway(t.x() / 254.0 * DpiX)), int(RoundHalfAway(t.y() / 254.0 * DpiY)));
}

qint32 TPrinterInfo::PointsToDevice(int points) const
{
    return qint32(RoundHalfAway(double(points) * DpiY / 72.0));
}

qint32 TPrinterInfo::GetOrientation() const
{
    return DevModeCopy.size() >= PrinterSettingsPublicSize ? readAt<qint16>(DevModeCopy, 44) : 0;
}

qint32 TPrinterInfo::GetCopies() const
{
    return DevModeCopy.size() >= PrinterSettingsPublicSize ? readAt<qint16>(DevModeCopy, 54) : 0;
}

void TPrinterInfo::SetCopies(int copies)
{
    if (DevModeCopy.size() < PrinterSettingsPublicSize || GetCopies() == copies)
        return;
    writeAt<qint16>(DevModeCopy, 54, qint16(copies));
    // The copies are kept in our own part as well.
    if (DevModeCopy.size() >= PrinterSettingsPublicSize + PrivateFixedSize)
        writeAt<qint32>(DevModeCopy, PrinterSettingsPublicSize + 24, copies);
}

void LockPrinterDevMode(PrinterDevModeLock& lock)
{
    TPrinterList& list = TPrinterList::Instance();
    lock.Index = list.CurrentIndex();
    const TPrinterSettings settings = CurrentPrinterSettings(lock.Index);
    lock.DeviceName = settings.DeviceName;
    lock.DriverName = QStringLiteral("tovarel");
    lock.PortName = QString();
    lock.DevMode = lock.Index >= 0 ? EncodePrinterSettings(settings) : QByteArray();
}

void UnlockPrinterDevMode(PrinterDevModeLock& lock, bool apply)
{
    TPrinterSettings settings;
    TPrinter* printer = TPrinterList::Instance().At(lock.Index);
    if (apply && printer && DecodePrinterSettings(lock.DevMode, settings))
        printer->SetPaper(settings.Paper, settings.PageOrientation());
    lock.DevMode.clear();
}

void SetPrinterPaper(qint16 paperId, qint16 orientation, qint32 width, qint32 length)
{
    PrinterDevModeLock lock;
    LockPrinterDevMode(lock);
    TPrinterSettings s;
    if (!DecodePrinterSettings(lock.DevMode, s))
        return;
    s.Orientation = orientation == 2 ? 2 : 1;
    const QPageSize byNumber = paperId != 0 ? PaperOfNumber(paperId) : QPageSize();
    if (byNumber.isValid()) {
        s.Paper = byNumber;
        s.PaperNumber = paperId;
    } else if (width > 0 && length > 0) {
        // Page sizes are defined upright; the orientation turns them.
        if (width > length)
            std::swap(width, length);
        // Only a page size of exactly this size in 0.1 mm; else the size itself.
        QPageSize exact;
        for (int id = 0; id < int(QPageSize::LastPageSize) && !exact.isValid(); ++id) {
            const auto pageId = QPageSize::PageSizeId(id);
            if (pageId == QPageSize::Custom || QPageSize::windowsId(pageId) == 0)
                continue;
            const QSizeF inMm = QPageSize(pageId).size(QPageSize::Millimeter);
            if (tenths(inMm.width()) == width && tenths(inMm.height()) == length)
                exact = QPageSize(pageId);
        }
        if (exact.isValid()) {
            s.Paper = exact;
            s.PaperNumber = qint16(exact.windowsId());
        } else {
            s.Paper = QPageSize(QSizeF(width / 10.0, length / 10.0), QPageSize::Millimeter, QString(),
                                QPageSize::ExactMatch);
            s.PaperNumber = UserPaperNumber;
        }
    }
    lock.DevMode = EncodePrinterSettings(s);
    UnlockPrinterDevMode(lock, true);
}

void GetPrinterPaperInfo(QString& printerName, QString& paperName, qint32& orientation)
{
    PrinterDevModeLock lock;
    LockPrinterDevMode(lock);
    TPrinterSettings s;
    if (DecodePrinterSettings(lock.DevMode, s)) {
        printerName = s.DeviceName.trimmed();
        paperName = s.Paper.name().trimmed();
        orientation = s.Orientation;
    }
    UnlockPrinterDevMode(lock, false);
}
