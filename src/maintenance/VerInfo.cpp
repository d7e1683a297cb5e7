// The about box and the readers of the system's memory and release texts it shows.
#include "maintenance/VerInfo.h"

#include "ProgramVersion.h"
#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"
#include "maintenance/UpdDlg.h"

#include <QFile>
#include <QGridLayout>
#include <QLabel>
#include <QLocale>
#include <QMouseEvent>
#include <QPainter>
#include <QProgressBar>
#include <QPushButton>
#include <QSysInfo>
#include <QTimer>
#include <QVBoxLayout>

namespace {

std::optional<TMemoryStatus> systemMemory()
{
    QFile file(QStringLiteral("/proc/meminfo"));
    if (!file.open(QIODevice::ReadOnly))
        return std::nullopt;
    return ParseMemInfo(file.read(64 * 1024));
}

TVersionInfo::TMemorySource& memorySource()
{
    static TVersionInfo::TMemorySource source = &systemMemory;
    return source;
}

QString systemPrettyName()
{
    for (const char* path : {"/etc/os-release", "/usr/lib/os-release"}) {
        QFile file(QString::fromLatin1(path));
        if (file.open(QIODevice::ReadOnly)) {
            const QString name = ParseOsPrettyName(file.read(64 * 1024));
            if (!name.isEmpty())
                return name;
        }
    }
    return QStringLiteral("Linux");
}

QString thousands(qint64 value)
{
    return QLocale(QLocale::English).toString(value);
}

// The program's icon, drawn: a blue tile with the product's initial.
QPixmap programIcon()
{
    QPixmap icon(48, 48);
    icon.fill(Qt::transparent);
    QPainter p(&icon);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient tile(0, 0, 0, 48);
    tile.setColorAt(0, QColor(0x3A, 0x78, 0xC8));
    tile.setColorAt(1, QColor(0x1E, 0x4E, 0x8C));
    p.setPen(Qt::NoPen);
    p.setBrush(tile);
    p.drawRoundedRect(QRectF(2, 2, 44, 44), 8, 8);
    QFont font(QStringLiteral("IPAPGothic"));
    font.setPixelSize(30);
    font.setBold(true);
    p.setFont(font);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 0, 48, 48), Qt::AlignCenter, QStringLiteral("T"));
    return icon;
}

// A label that opens a page when clicked.
class TLinkLabel : public QLabel
{
public:
    TLinkLabel(const QString& caption, QString url, QWidget* parent)
        : QLabel(caption, parent), m_url(std::move(url))
    {
        QFont f = font();
        f.setUnderline(true);
        setFont(f);
        QPalette p = palette();
        p.setColor(QPalette::WindowText, Qt::blue);
        setPalette(p);
    }

protected:
    void mouseReleaseEvent(QMouseEvent* event) override
    {
        if (event->button() == Qt::LeftButton && rect().contains(event->position().toPoint()))
            OpenWebPage(m_url);
        QLabel::mouseReleaseEvent(event);
    }

private:
    QString m_url;
};

} // namespace

std::array<int, 4> ProgramFileVersion()
{
    const std::array<qint64, 4> parts = SplitVersion(QStringLiteral(TOVAREL_PROGRAM_VERSION));
    return {int(parts[0]), int(parts[1]), int(parts[2]), int(parts[3])};
}

QString FormatAppVersion(const std::array<int, 4>& v)
{
    return v[2] != 0 ? QStringLiteral("(%1.%2.%3)").arg(v[0]).arg(v[1]).arg(v[2])
                     : QStringLiteral("(%1.%2)").arg(v[0]).arg(v[1]);
}

std::optional<TMemoryStatus> ParseMemInfo(const QByteArray& text)
{
    std::optional<qint64> available, total;
    for (const QByteArray& line : text.split('\n')) {
        const qsizetype colon = line.indexOf(':');
        if (colon < 0)
            continue;
        const QByteArray key = line.left(colon).trimmed();
        std::optional<qint64>* target = key == "MemAvailable" ? &available
                                        : key == "MemTotal"   ? &total
                                                              : nullptr;
        if (!target)
            continue;
        QByteArray value = line.mid(colon + 1).trimmed();
        if (value.endsWith(" kB"))
            value.chop(3);
        bool ok = false;
        const qint64 kb = value.trimmed().toLongLong(&ok);
        if (ok && kb >= 0)
            *target = kb;
    }
    if (!available || !total)
        return std::nullopt;
    return TMemoryStatus{*available, *total};
}

QString MemoryAvailableText(const TMemoryStatus& memory)
{
    return QStringLiteral("利用可能なメモリ:  %1 / %2 (KB)")
        .arg(thousands(memory.availableKb), thousands(memory.totalKb));
}

QString MemoryPercentText(const TMemoryStatus& memory)
{
    const double percent =
        memory.totalKb > 0 ? double(memory.availableKb) / double(memory.totalKb) * 100.0 : 0.0;
    return u'[' + QString::asprintf("%.1f", percent) + QStringLiteral(" %]");
}

QString ParseOsPrettyName(const QByteArray& text)
{
    for (const QByteArray& raw : text.split('\n')) {
        const QByteArray line = raw.trimmed();
        if (!line.startsWith("PRETTY_NAME="))
            continue;
        QByteArray value = line.mid(12);
        if (value.size() >= 2 && (value.front() == '"' || value.front() == '\'') &&
            value.back() == value.front())
            value = value.mid(1, value.size() - 2);
        QByteArray plain;
        for (qsizetype i = 0; i < value.size(); ++i) {
            if (value[i] == '\\' && i + 1 < value.size())
                ++i;
            plain += value[i];
        }
        return QString::fromUtf8(plain).trimmed();
    }
    return {};
}

QString OsVersionText(const QString& prettyName, const QString& kernelRelease)
{
    return QStringLiteral("%1  [%2]").arg(prettyName, kernelRelease);
}

void OpenWebPage(const QString& url)
{
    if (ShellOpen(url, QString(), QString(), true) == 0)
        return;
    RunProgram(QStringLiteral("xdg-open \"%1\"").arg(url), QString(), true);
}

// ---- TVersionInfo ----

TVersionInfo::TVersionInfo(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("VersionInfo"));
    setWindowTitle(QStringLiteral("バージョン情報"));
    SetHelpContext(this, 999);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);

    auto* imgIcon = new QLabel(this);
    imgIcon->setObjectName(QStringLiteral("imgIcon"));
    imgIcon->setFixedSize(48, 48);
    imgIcon->setPixmap(programIcon());
    auto* lblTitle = new QLabel(ProductTitle, this);
    lblTitle->setObjectName(QStringLiteral("lblTitle"));
    auto* lblAppVersion = new QLabel(FormatAppVersion(ProgramFileVersion()), this);
    lblAppVersion->setObjectName(QStringLiteral("lblAppVersion"));
    for (QLabel* bold : {lblTitle, lblAppVersion}) {
        QFont f = bold->font();
        f.setBold(true);
        bold->setFont(f);
    }
    auto* lblCopyright =
        new QLabel(QStringLiteral("Copyright (C) 2026 Morvane株式会社  All rights reserved."), this);
    lblCopyright->setObjectName(QStringLiteral("lblCopyright"));
    auto* lblURL = new TLinkLabel(QStringLiteral("Morvane株式会社のホームページ"), MakerHomeUrl, this);
    lblURL->setObjectName(QStringLiteral("lblURL"));
    auto* lblURLApp = new TLinkLabel(QStringLiteral("製品の紹介ページ"), ProductPageUrl, this);
    lblURLApp->setObjectName(QStringLiteral("lblURLApp"));
    auto* lblOSVersion = new QLabel(OsVersionText(systemPrettyName(), QSysInfo::kernelVersion()), this);
    lblOSVersion->setObjectName(QStringLiteral("lblOSVersion"));
    m_lblMemoryAvailable = new QLabel(this);
    m_lblMemoryAvailable->setObjectName(QStringLiteral("lblMemoryAvailable"));
    m_pgbarMemoryAvailable = new QProgressBar(this);
    m_pgbarMemoryAvailable->setObjectName(QStringLiteral("pgbarMemoryAvailable"));
    m_pgbarMemoryAvailable->setTextVisible(false);
    m_pgbarMemoryAvailable->setFixedHeight(16);
    m_lblMemoryAvailablePer = new QLabel(this);
    m_lblMemoryAvailablePer->setObjectName(QStringLiteral("lblMemoryAvailablePer"));
    QPushButton* btnOK = MakeButton(this, "btnOK", QStringLiteral("OK"), true);
    connect(btnOK, &QPushButton::clicked, this, &QDialog::accept);

    auto* heading = new QVBoxLayout;
    heading->setSpacing(4);
    heading->addWidget(lblTitle);
    heading->addWidget(lblAppVersion);
    heading->addWidget(lblCopyright);
    heading->addSpacing(6);
    heading->addWidget(lblURL);
    heading->addWidget(lblURLApp);
    auto* top = new QHBoxLayout;
    top->addWidget(imgIcon, 0, Qt::AlignTop);
    top->addSpacing(12);
    top->addLayout(heading, 1);

    auto* memoryRow = new QHBoxLayout;
    memoryRow->addWidget(m_pgbarMemoryAvailable, 1);
    memoryRow->addWidget(m_lblMemoryAvailablePer);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(top);
    layout->addSpacing(10);
    auto* line = new QFrame(this);
    line->setFrameShape(QFrame::HLine);
    line->setFrameShadow(QFrame::Sunken);
    layout->addWidget(line);
    layout->addWidget(lblOSVersion);
    layout->addWidget(m_lblMemoryAvailable);
    layout->addLayout(memoryRow);
    layout->addSpacing(8);
    layout->addLayout(ButtonRow({btnOK}));
    setMinimumWidth(440);
    adjustSize();

    UpdateMemory();
    m_tmrMemory = new QTimer(this);
    m_tmrMemory->setObjectName(QStringLiteral("tmrMemory"));
    m_tmrMemory->setInterval(1000);
    connect(m_tmrMemory, &QTimer::timeout, this, &TVersionInfo::UpdateMemory);
    m_tmrMemory->start();
    for (QLabel* link : {static_cast<QLabel*>(lblURL), static_cast<QLabel*>(lblURLApp)})
        link->setCursor(Qt::PointingHandCursor);
}

void TVersionInfo::SetMemorySource(TMemorySource source)
{
    memorySource() = source ? source : &systemMemory;
}

void TVersionInfo::UpdateMemory()
{
    const std::optional<TMemoryStatus> memory = memorySource()();
    if (!memory)
        return;
    m_lblMemoryAvailable->setText(MemoryAvailableText(*memory));
    // The bar counts in KB, in larger units beyond what its integer range holds.
    qint64 scale = 1;
    while (memory->totalKb / scale > std::numeric_limits<int>::max())
        scale *= 1024;
    m_pgbarMemoryAvailable->setRange(0, int(memory->totalKb / scale));
    m_pgbarMemoryAvailable->setValue(int(std::min(memory->availableKb, memory->totalKb) / scale));
    m_lblMemoryAvailablePer->setText(MemoryPercentText(*memory));
}

void RunVersionInfo(QWidget* list)
{
    TVersionInfo box(list);
    CenterForm(&box, nullptr);
    box.exec();
}
