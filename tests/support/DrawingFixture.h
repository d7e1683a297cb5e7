// Drawing tests: the IPA faces registered with the application, and a recording printer made the current
// printer for the length of a test.
#pragma once

#include "core/FontSub.h"
#include "platform/Printers.h"

#include <QFontDatabase>
#include <QStringList>

#include <gtest/gtest.h>

inline void RegisterIpaFonts()
{
    static const bool registered = [] {
        const QStringList files = {
            QStringLiteral("/usr/share/fonts/opentype/ipafont-mincho/ipam.ttf"),
            QStringLiteral("/usr/share/fonts/opentype/ipafont-mincho/ipamp.ttf"),
            QStringLiteral("/usr/share/fonts/opentype/ipafont-gothic/ipag.ttf"),
            QStringLiteral("/usr/share/fonts/opentype/ipafont-gothic/ipagp.ttf"),
        };
        for (const QString& file : files)
            QFontDatabase::addApplicationFont(file);
        InstallFontSubstitutions();
        return true;
    }();
    (void)registered;
}

// A recording printer of the given resolution and printable-area offset is the only, current printer;
// dpi 0 leaves the list empty (no printer installed).
class TScopedPrinter
{
public:
    explicit TScopedPrinter(int dpi, QPoint offset = {})
    {
        std::vector<std::unique_ptr<TPrinter>> printers;
        if (dpi > 0) {
            auto printer = std::make_unique<TRecordingPrinter>(QStringLiteral("Recorder"), dpi, dpi, offset);
            m_printer = printer.get();
            printers.push_back(std::move(printer));
        }
        TPrinterList::Instance().SetPrinters(std::move(printers));
    }
    ~TScopedPrinter() { TPrinterList::Instance().SetPrinters({}); }
    TRecordingPrinter* Printer() const { return m_printer; }

private:
    TRecordingPrinter* m_printer = nullptr;
};

// A recording printer whose jobs fail when they end.
class TFailingEndPrinter : public TRecordingPrinter
{
public:
    TFailingEndPrinter() : TRecordingPrinter(QStringLiteral("Failing"), 300, 300) {}
    std::unique_ptr<TPrintJob> BeginJob(const QString& title) override
    {
        struct Job : TPrintJob
        {
            std::unique_ptr<TPrintJob> inner;
            QPainter& Painter() override { return inner->Painter(); }
            bool NewPage() override { return inner->NewPage(); }
            bool Finish() override
            {
                inner->Finish();
                return false;
            }
        };
        auto job = std::make_unique<Job>();
        job->inner = TRecordingPrinter::BeginJob(title);
        return job;
    }
};

class DrawingTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { RegisterIpaFonts(); }
};
