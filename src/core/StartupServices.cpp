// Built-in start-up services: the Unicode name form, the byte scramble and the stand-in session window.
#include "core/StartupServices.h"

#include "core/AdrsFolderList.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "maintenance/HdiRW.h"

#include <QDialog>
#include <QLabel>
#include <QVBoxLayout>

namespace {

// The session window until the address list takes its place: names the open address book.
class TSessionWindow : public QDialog
{
public:
    explicit TSessionWindow(QWidget* owner) : QDialog(owner)
    {
        setObjectName(QStringLiteral("SessionWindow"));
        setWindowTitle(ProductTitle);
        setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        auto* layout = new QVBoxLayout(this);
        auto* book = new QLabel(this);
        book->setObjectName(QStringLiteral("lblAdrsName"));
        const QString name = CurrentAdrsName.isEmpty() ? QStringLiteral("アドレス") : CurrentAdrsName;
        book->setText(QStringLiteral("アドレス帳：%1").arg(name));
        QFont f = book->font();
        f.setPointSizeF(f.pointSizeF() * 1.4);
        book->setFont(f);
        auto* folder = new QLabel(DataFolder, this);
        folder->setObjectName(QStringLiteral("lblDataFolder"));
        folder->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addWidget(book);
        layout->addWidget(folder);
        layout->addStretch();
        resize(420, 160);
    }
};

std::unique_ptr<TStartupServices>& installed()
{
    static std::unique_ptr<TStartupServices> services;
    return services;
}

} // namespace

void TStartupServices::RunAddressList(QWidget* mainForm)
{
    auto* window = new TSessionWindow(mainForm);
    m_addressList = window;
    window->adjustSize();
    CenterForm(window);
    window->exec();
    delete window;
}

void TStartupServices::EndAddressList()
{
    if (m_addressList)
        m_addressList->done(QDialog::Rejected);
}

bool TStartupServices::AddressListExists() const
{
    return !m_addressList.isNull();
}

QWidget* TStartupServices::AddressListWindow() const
{
    return m_addressList;
}

AnsiString TStartupServices::WideToHexText(const QString& text) const
{
    AnsiString out;
    for (const QChar c : text)
        out += '@' + QByteArray::number(c.unicode(), 16).toUpper().rightJustified(4, '0');
    return out;
}

QString TStartupServices::HexTextToWide(const AnsiString& text) const
{
    if (!text.startsWith('@'))
        return ToWide(text);
    QString out;
    for (qsizetype k = 0; 5 * k + 5 <= text.size(); ++k) {
        bool ok = false;
        const ushort unit = text.mid(5 * k + 1, 4).toUShort(&ok, 16);
        if (!ok)
            return QString();
        out += QChar(unit);
    }
    return out;
}

QByteArray TStartupServices::UnscrambleText(const QByteArray& bytes) const
{
    return UnscrambleInstallText(bytes);
}

TStartupServices& StartupServices()
{
    if (!installed())
        installed() = std::make_unique<TStartupServices>();
    return *installed();
}

std::unique_ptr<TStartupServices> SetStartupServices(std::unique_ptr<TStartupServices> services)
{
    std::unique_ptr<TStartupServices> previous = std::move(installed());
    installed() = std::move(services);
    return previous;
}
