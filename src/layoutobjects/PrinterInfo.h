// The remembered printer of each print purpose (".pi" files), its metrics and unit conversions, and the
// routines that choose the paper of the current printer.
#pragma once

#include "core/Canvas.h"

#include <QByteArray>
#include <QPageLayout>
#include <QPageSize>
#include <QPoint>
#include <QSize>
#include <QString>

// The device-settings block of a ".pi" file: a public part (device name 0-31, driver version at 34,
// orientation 44, paper number 46, copies 54) followed by our own part that names the printer in full and
// holds its paper exactly.
struct TPrinterSettings
{
    QString DeviceName;
    quint16 DriverVersion = 0;
    qint16 Orientation = 1; // 1 portrait, 2 landscape
    qint16 PaperNumber = 0; // Windows paper number of the page size, 256 for a size of our own
    qint16 Copies = 1;
    QPageSize Paper;
    int Dpi = 0;

    QPageLayout::Orientation PageOrientation() const
    {
        return Orientation == 2 ? QPageLayout::Landscape : QPageLayout::Portrait;
    }
};

constexpr int PrinterSettingsPublicSize = 64;
constexpr quint16 PrinterDriverVersion = 0x0600;
constexpr qint16 UserPaperNumber = 256;

QByteArray EncodePrinterSettings(const TPrinterSettings& settings);
// False for a block too short for the public part or without our own part (a block of another system).
bool DecodePrinterSettings(const QByteArray& block, TPrinterSettings& settings);
// The settings the printer list's printer at index (-1 the default) holds now.
TPrinterSettings CurrentPrinterSettings(int index);

// Paper numbers and names of the page sizes the printers offer, in the order a driver lists them.
QPageSize PaperOfNumber(qint16 number);

class TPrinterInfo
{
public:
    explicit TPrinterInfo(QString fileName);

    QString DeviceName, DriverName, PortName;
    qint32 DpiX = 0, DpiY = 0;
    qint32 PhysicalWidth = 0, PhysicalHeight = 0;
    qint32 OffsetX = 0, OffsetY = 0;
    qint32 RightMargin = 0, BottomMargin = 0;
    double ScaleX = 0, ScaleY = 0;
    QString FileName;
    QByteArray DevModeCopy;

    // The remembered printer and its settings, or the default printer; never fails outward.
    void LoadFromFile();
    void SelectPrinter(int index);
    void TakeCurrentPrinter();
    void ReadMetrics();
    // Writes the file through a save file; false and the error text when it cannot be written.
    bool Save(QString* error = nullptr) const;
    // 0 and the paper's name; when the copy's paper is not offered, the first paper's (and the copy takes
    // it).
    void GetPaperName(qint32& error, QString& name);
    TRect GetPrintableBounds(int x, int y) const;
    QSize GetPageSize96() const;
    QPoint TenthMmToDevice(QPoint tenths) const;
    qint32 PointsToDevice(int points) const;
    qint32 GetOrientation() const;
    qint32 GetCopies() const;
    void SetCopies(int copies);

private:
    void takeSettings(const TPrinterSettings& settings, const QByteArray& block);
};

// The current printer's settings as a block, handed back (with apply) to the printer when unlocked.
struct PrinterDevModeLock
{
    QString DeviceName, DriverName, PortName;
    int Index = -1;
    QByteArray DevMode;
};

void LockPrinterDevMode(PrinterDevModeLock& lock);
void UnlockPrinterDevMode(PrinterDevModeLock& lock, bool apply);
// The paper of the current printer: paper number when offered, else the page size of exactly width ×
// length (0.1 mm), else that size as a size of our own.
void SetPrinterPaper(qint16 paperId, qint16 orientation, qint32 width, qint32 length);
void GetPrinterPaperInfo(QString& printerName, QString& paperName, qint32& orientation);
