// The about box: program title, version and copyright, the maker's links, the running system and the free
// physical memory, refreshed every second.
#pragma once

#include <QDialog>

#include <array>
#include <optional>

class QLabel;
class QProgressBar;
class QTimer;

// The program's own version, four parts.
std::array<int, 4> ProgramFileVersion();
// "(a.b.c)" when the third part is not 0, else "(a.b)"; the fourth part is never shown.
QString FormatAppVersion(const std::array<int, 4>& version);

// Available and total physical memory in KB.
struct TMemoryStatus
{
    qint64 availableKb = 0;
    qint64 totalKb = 0;
};
// Reads MemAvailable and MemTotal from the text of /proc/meminfo; nothing when either is missing.
std::optional<TMemoryStatus> ParseMemInfo(const QByteArray& text);
// "利用可能なメモリ:  1,234 / 5,678 (KB)" and "[21.7 %]".
QString MemoryAvailableText(const TMemoryStatus& memory);
QString MemoryPercentText(const TMemoryStatus& memory);

// PRETTY_NAME of an os-release text (quotes and escapes removed); empty when absent.
QString ParseOsPrettyName(const QByteArray& text);
// "<name>  [<kernel release>]".
QString OsVersionText(const QString& prettyName, const QString& kernelRelease);

// The maker's pages the two links open.
inline const QString MakerHomeUrl = QStringLiteral("https://www.morvane.example/");
inline const QString ProductPageUrl = QStringLiteral("https://www.morvane.example/products/quenrid215/");
// Opens a web page: the desktop's handler first, then xdg-open without waiting; silent when both fail.
void OpenWebPage(const QString& url);

class TVersionInfo : public QDialog
{
public:
    explicit TVersionInfo(QWidget* owner);

    // Refreshes the memory lines (the timer's step); source reads the memory status (the system's by
    // default).
    void UpdateMemory();
    using TMemorySource = std::optional<TMemoryStatus> (*)();
    static void SetMemorySource(TMemorySource source);

private:
    QLabel* m_lblMemoryAvailable;
    QProgressBar* m_pgbarMemoryAvailable;
    QLabel* m_lblMemoryAvailablePer;
    QTimer* m_tmrMemory;
};

// The command of the address list: the box, centred on the screen, modal.
void RunVersionInfo(QWidget* list);
