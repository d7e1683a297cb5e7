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

class DrawingTest : public ::testing::Test
{
protected:
    static void SetUpTestSuite() { RegisterIpaFonts(); }
};
