// The printers the program can print on: CUPS printers, the virtual PDF printer and PDF files, and a
// recording printer for tests; the process-wide printer list with its current and default printer.
#pragma once

#include "platform/DisplayList.h"

#include <QPageLayout>
#include <QPageSize>
#include <QPoint>
#include <QSize>
#include <QString>
#include <QStringList>

#include <memory>
#include <vector>

class QPainter;

// One print job: pages are drawn with Painter() in printer pixels, the first page is open from the start.
class TPrintJob
{
public:
    virtual ~TPrintJob() = default;
    virtual QPainter& Painter() = 0;
    virtual bool NewPage() = 0;
    // Ends the job; false when the output could not be produced.
    virtual bool Finish() = 0;
    // The file the job wrote, when it writes one.
    virtual QString OutputFile() const { return {}; }
};

class TPrinter
{
public:
    virtual ~TPrinter() = default;
    virtual QString Name() const = 0;
    virtual int DpiX() const = 0;
    virtual int DpiY() const = 0;
    // The paper the next jobs print on (A4 portrait at first).
    void SetPaper(const QPageSize& paper, QPageLayout::Orientation orientation);
    const QPageSize& Paper() const { return m_paper; }
    QPageLayout::Orientation Orientation() const { return m_orientation; }
    // Size of the whole sheet and offset of the printable area, in printer pixels, for the paper.
    virtual QSize PhysicalSize() const;
    virtual QPoint PhysicalOffset() const { return {}; }
    // Size of the printable area in printer pixels; by default the offset is kept on every side.
    virtual QSize PageSize() const;
    // Null when the job cannot start.
    virtual std::unique_ptr<TPrintJob> BeginJob(const QString& title) = 0;
    // Copies of each job; a printer that cannot make them itself gets the pages that often.
    int Copies() const { return m_copies; }
    void SetCopies(int copies) { m_copies = copies < 1 ? 1 : copies; }
    virtual bool PrintsCopies() const { return false; }

private:
    QPageSize m_paper{QPageSize::A4};
    QPageLayout::Orientation m_orientation = QPageLayout::Portrait;
    int m_copies = 1;
};

// Writes each job as a PDF file: full page, no printable-area offsets. With a folder, jobs become
// "job-N.pdf" files there (N the first number not in use); with a file, every job writes that file.
class TPdfPrinter : public TPrinter
{
public:
    TPdfPrinter(QString name, QString folderOrFile, bool isFolder, int dpi = 600);
    QString Name() const override { return m_name; }
    int DpiX() const override { return m_dpi; }
    int DpiY() const override { return m_dpi; }
    std::unique_ptr<TPrintJob> BeginJob(const QString& title) override;

private:
    QString nextFile() const;
    QString m_name;
    QString m_target;
    bool m_isFolder;
    int m_dpi;
};

// A CUPS printer through Qt's print support.
class TCupsPrinter : public TPrinter
{
public:
    explicit TCupsPrinter(QString name);
    QString Name() const override { return m_name; }
    int DpiX() const override;
    int DpiY() const override;
    QSize PhysicalSize() const override;
    QPoint PhysicalOffset() const override;
    QSize PageSize() const override;
    std::unique_ptr<TPrintJob> BeginJob(const QString& title) override;
    bool PrintsCopies() const override { return true; }

private:
    QString m_name;
    mutable int m_dpi = 0;
};

// Keeps every page of its jobs as display lists; its resolution and offsets are what the test sets.
class TRecordingPrinter : public TPrinter
{
public:
    TRecordingPrinter(QString name, int dpiX, int dpiY, QPoint offset = {});
    QString Name() const override { return m_name; }
    int DpiX() const override { return m_dpiX; }
    int DpiY() const override { return m_dpiY; }
    QPoint PhysicalOffset() const override { return m_offset; }
    std::unique_ptr<TPrintJob> BeginJob(const QString& title) override;

    // Pages of the finished jobs, in order.
    const std::vector<std::shared_ptr<TDisplayList>>& Pages() const { return m_pages; }
    QStringList JobTitles() const { return m_titles; }

private:
    friend class TRecordingJob;
    QString m_name;
    int m_dpiX;
    int m_dpiY;
    QPoint m_offset;
    std::vector<std::shared_ptr<TDisplayList>> m_pages;
    QStringList m_titles;
};

// The printers of the process. Filled on first use from CUPS, plus the virtual printer "PDF" when
// TOVAREL_PDF_PRINTER names a folder; the default printer is current at start.
class TPrinterList
{
public:
    static TPrinterList& Instance();

    void Refresh();
    // Replaces the list (tests and tools); defaultIndex -1 means the first printer, if any.
    void SetPrinters(std::vector<std::unique_ptr<TPrinter>> printers, int defaultIndex = -1);

    int Count();
    TPrinter* At(int index);
    QStringList Names();
    int IndexOf(const QString& name);
    int DefaultIndex();
    // -1 when there is no printer.
    int CurrentIndex();
    TPrinter* Current();
    void SetCurrentIndex(int index);

private:
    void ensureLoaded();
    bool m_loaded = false;
    std::vector<std::unique_ptr<TPrinter>> m_printers;
    int m_default = -1;
    int m_current = -1;
};

// Name of the virtual PDF printer.
inline const QString VirtualPdfPrinterName = QStringLiteral("PDF");

// Resolution of the current printer, or 96 by 96 without one.
QPoint CurrentPrinterDpi();
// Printable-area offset of the current printer for its paper, (0, 0) without one.
QPoint CurrentPrinterOffset();
