// Printers and the printer list.
#include "platform/Printers.h"

#include <QDir>
#include <QFileInfo>
#include <QPainter>
#include <QPdfWriter>
#include <QPrinter>
#include <QPrinterInfo>

namespace {

class TPdfJob : public TPrintJob
{
public:
    TPdfJob(const QString& file, int dpi, const QString& title, const QPageSize& paper,
            QPageLayout::Orientation orientation)
        : m_file(file), m_writer(file)
    {
        m_writer.setResolution(dpi);
        m_writer.setTitle(title);
        m_writer.setCreator(QStringLiteral("Tovarel"));
        m_writer.setPageLayout(QPageLayout(paper, orientation, QMarginsF(0, 0, 0, 0)));
    }
    bool Start() { return m_painter.begin(&m_writer); }
    QPainter& Painter() override { return m_painter; }
    bool NewPage() override { return m_writer.newPage(); }
    bool Finish() override { return m_painter.end() && QFileInfo(m_file).size() > 0; }
    QString OutputFile() const override { return m_file; }

private:
    QString m_file;
    QPdfWriter m_writer;
    QPainter m_painter;
};

class TCupsJob : public TPrintJob
{
public:
    TCupsJob(const QString& name, const QString& title, const QPageSize& paper,
             QPageLayout::Orientation orientation, int copies)
        : m_printer(QPrinterInfo::printerInfo(name), QPrinter::HighResolution)
    {
        m_printer.setDocName(title);
        m_printer.setCopyCount(copies);
        m_printer.setPageSize(paper);
        m_printer.setPageOrientation(orientation);
    }
    bool Start() { return m_painter.begin(&m_printer); }
    QPainter& Painter() override { return m_painter; }
    bool NewPage() override { return m_printer.newPage(); }
    bool Finish() override { return m_painter.end(); }

private:
    QPrinter m_printer;
    QPainter m_painter;
};

QPageLayout cupsLayout(const QString& name, const QPageSize& paper, QPageLayout::Orientation orientation,
                       int* dpi)
{
    QPrinter printer(QPrinterInfo::printerInfo(name), QPrinter::HighResolution);
    printer.setPageSize(paper);
    printer.setPageOrientation(orientation);
    if (dpi)
        *dpi = printer.resolution();
    return printer.pageLayout();
}

} // namespace

void TPrinter::SetPaper(const QPageSize& paper, QPageLayout::Orientation orientation)
{
    m_paper = paper;
    m_orientation = orientation;
}

QSize TPrinter::PhysicalSize() const
{
    const QSizeF mm = m_paper.size(QPageSize::Millimeter);
    const QSizeF sized = m_orientation == QPageLayout::Landscape ? mm.transposed() : mm;
    return QSize(qRound(sized.width() / 25.4 * DpiX()), qRound(sized.height() / 25.4 * DpiY()));
}

QSize TPrinter::PageSize() const
{
    const QPoint offset = PhysicalOffset();
    return PhysicalSize() - QSize(2 * offset.x(), 2 * offset.y());
}

TPdfPrinter::TPdfPrinter(QString name, QString folderOrFile, bool isFolder, int dpi)
    : m_name(std::move(name)), m_target(std::move(folderOrFile)), m_isFolder(isFolder), m_dpi(dpi)
{
}

QString TPdfPrinter::nextFile() const
{
    const QDir folder(m_target);
    for (int n = 1;; ++n) {
        const QString file = folder.filePath(QStringLiteral("job-%1.pdf").arg(n));
        if (!QFileInfo::exists(file))
            return file;
    }
}

std::unique_ptr<TPrintJob> TPdfPrinter::BeginJob(const QString& title)
{
    if (m_isFolder && !QDir().mkpath(m_target))
        return nullptr;
    auto job =
        std::make_unique<TPdfJob>(m_isFolder ? nextFile() : m_target, m_dpi, title, Paper(), Orientation());
    if (!job->Start())
        return nullptr;
    return job;
}

TCupsPrinter::TCupsPrinter(QString name) : m_name(std::move(name)) {}

int TCupsPrinter::DpiX() const
{
    if (m_dpi == 0)
        cupsLayout(m_name, QPageSize(QPageSize::A4), QPageLayout::Portrait, &m_dpi);
    return m_dpi;
}

int TCupsPrinter::DpiY() const
{
    return DpiX();
}

QSize TCupsPrinter::PhysicalSize() const
{
    return cupsLayout(m_name, Paper(), Orientation(), nullptr).fullRectPixels(DpiX()).size();
}

QPoint TCupsPrinter::PhysicalOffset() const
{
    return cupsLayout(m_name, Paper(), Orientation(), nullptr).paintRectPixels(DpiX()).topLeft();
}

QSize TCupsPrinter::PageSize() const
{
    return cupsLayout(m_name, Paper(), Orientation(), nullptr).paintRectPixels(DpiX()).size();
}

std::unique_ptr<TPrintJob> TCupsPrinter::BeginJob(const QString& title)
{
    auto job = std::make_unique<TCupsJob>(m_name, title, Paper(), Orientation(), Copies());
    if (!job->Start())
        return nullptr;
    return job;
}

class TRecordingJob : public TPrintJob
{
public:
    TRecordingJob(TRecordingPrinter* printer, QSize size) : m_printer(printer), m_size(size) { open(); }
    QPainter& Painter() override { return m_painter; }
    bool NewPage() override
    {
        m_painter.end();
        open();
        return true;
    }
    bool Finish() override
    {
        m_painter.end();
        for (auto& page : m_pages)
            m_printer->m_pages.push_back(std::move(page));
        return true;
    }

private:
    void open()
    {
        m_pages.push_back(std::make_shared<TDisplayList>(m_size, m_printer->m_dpiX, m_printer->m_dpiY));
        m_painter.begin(m_pages.back().get());
    }
    TRecordingPrinter* m_printer;
    QSize m_size;
    std::vector<std::shared_ptr<TDisplayList>> m_pages;
    QPainter m_painter;
};

TRecordingPrinter::TRecordingPrinter(QString name, int dpiX, int dpiY, QPoint offset)
    : m_name(std::move(name)), m_dpiX(dpiX), m_dpiY(dpiY), m_offset(offset)
{
}

std::unique_ptr<TPrintJob> TRecordingPrinter::BeginJob(const QString& title)
{
    m_titles << title;
    return std::make_unique<TRecordingJob>(this, PhysicalSize());
}

TPrinterList& TPrinterList::Instance()
{
    static TPrinterList list;
    return list;
}

void TPrinterList::Refresh()
{
    std::vector<std::unique_ptr<TPrinter>> printers;
    int defaultIndex = -1;
    const QString defaultName = QPrinterInfo::defaultPrinterName();
    for (const QString& name : QPrinterInfo::availablePrinterNames()) {
        if (name == defaultName)
            defaultIndex = int(printers.size());
        printers.push_back(std::make_unique<TCupsPrinter>(name));
    }
    const QString pdfFolder = qEnvironmentVariable("TOVAREL_PDF_PRINTER");
    if (!pdfFolder.isEmpty())
        printers.push_back(std::make_unique<TPdfPrinter>(VirtualPdfPrinterName, pdfFolder, true, 600));
    SetPrinters(std::move(printers), defaultIndex);
}

void TPrinterList::SetPrinters(std::vector<std::unique_ptr<TPrinter>> printers, int defaultIndex)
{
    m_printers = std::move(printers);
    const int count = int(m_printers.size());
    m_default = defaultIndex >= 0 && defaultIndex < count ? defaultIndex : (count > 0 ? 0 : -1);
    m_current = m_default;
    m_loaded = true;
}

void TPrinterList::ensureLoaded()
{
    if (!m_loaded)
        Refresh();
}

int TPrinterList::Count()
{
    ensureLoaded();
    return int(m_printers.size());
}

TPrinter* TPrinterList::At(int index)
{
    ensureLoaded();
    return index >= 0 && index < int(m_printers.size()) ? m_printers[size_t(index)].get() : nullptr;
}

QStringList TPrinterList::Names()
{
    ensureLoaded();
    QStringList names;
    for (const auto& printer : m_printers)
        names << printer->Name();
    return names;
}

int TPrinterList::IndexOf(const QString& name)
{
    return int(Names().indexOf(name));
}

int TPrinterList::DefaultIndex()
{
    ensureLoaded();
    return m_default;
}

int TPrinterList::CurrentIndex()
{
    ensureLoaded();
    return m_current;
}

TPrinter* TPrinterList::Current()
{
    return At(CurrentIndex());
}

void TPrinterList::SetCurrentIndex(int index)
{
    ensureLoaded();
    if (index >= -1 && index < int(m_printers.size()))
        m_current = index;
}

QPoint CurrentPrinterDpi()
{
    const TPrinter* printer = TPrinterList::Instance().Current();
    return printer ? QPoint(printer->DpiX(), printer->DpiY()) : QPoint(96, 96);
}

QPoint CurrentPrinterOffset()
{
    const TPrinter* printer = TPrinterList::Instance().Current();
    return printer ? printer->PhysicalOffset() : QPoint();
}
