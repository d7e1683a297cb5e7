// The URL entry window and the browser address capture.
#include "links/AddExtURL.h"

#include "core/AppSub.h"
#include "core/ButtonPictures.h"
#include "core/DialogSub.h"
#include "platform/Cp932.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

// How much of a title, class name or text the capture reads.
constexpr int TextLimit = 260;

bool isBrowserTitle(const QString& title)
{
    const QString t = Cp932::cutToBytes(title, TextLimit);
    for (const char* marker : {" Internet Explorer", "Firefox", "Chrome", "Netscape"})
        if (t.contains(QLatin1String(marker), Qt::CaseSensitive))
            return true;
    return false;
}

} // namespace

const TWindowDirectory* SystemWindowDirectory()
{
    return nullptr;
}

QString CaptureBrowserURL(const TWindowDirectory& directory)
{
    const QStringList titles = directory.TopLevelTitles();
    for (int i = 0; i < titles.size(); ++i) {
        if (!isBrowserTitle(titles.at(i)))
            continue;
        for (const TWindowDirectory::TChildWindow& child : directory.Children(i)) {
            if (!child.className.left(TextLimit).contains(QLatin1String("Edit")))
                continue;
            const QString text = child.text.left(TextLimit);
            // Only a found address ends the search; a browser without one passes to the next window.
            if (text.startsWith(QLatin1String("http"), Qt::CaseSensitive))
                return TrimBlanks(text);
        }
    }
    return QString();
}

TAddExtURL::TAddExtURL(QWidget* owner, const TWindowDirectory* directory)
    : QDialog(owner), m_directory(directory)
{
    setObjectName(QStringLiteral("AddExtURL"));
    setWindowTitle(QStringLiteral("外部リンクの登録"));
    auto* lblURL = Named<QLabel>(this, "lblURL", QStringLiteral("登録するURLを入力してください"));
    edtURL = Named<QLineEdit>(this, "edtURL");
    edtURL->setMinimumWidth(380);
    bbtnGetURL = MakeButton(this, "bbtnGetURL", QStringLiteral("URL取り込み"));
    bbtnGetURL->setToolTip(QStringLiteral("外部リンクの登録"));
    SetButtonPicture(bbtnGetURL, QStringLiteral("GETURL"));
    // Reading another program's windows needs a directory of the desktop's windows.
    bbtnGetURL->setEnabled(m_directory != nullptr);
    btnAdd = MakeButton(this, "btnAdd", QStringLiteral("登録"));
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));

    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblURL);
    layout->addWidget(edtURL);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(bbtnGetURL);
    buttons->addStretch(1);
    buttons->addWidget(btnAdd);
    buttons->addWidget(btnCancel);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    auto* enter = new TEnterMovesFocus(this);
    enter->addTarget(edtURL, [this]() -> QWidget* {
        return GetURL().isEmpty() ? static_cast<QWidget*>(btnCancel) : btnAdd;
    });
    connect(btnAdd, &QPushButton::clicked, this, &TAddExtURL::btnAddClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(bbtnGetURL, &QPushButton::clicked, this, &TAddExtURL::bbtnGetURLClick);
}

QString TAddExtURL::GetURL() const
{
    return TrimBlanks(edtURL->text());
}

void TAddExtURL::btnAddClick()
{
    if (!GetURL().isEmpty())
        accept();
}

void TAddExtURL::bbtnGetURLClick()
{
    if (!m_directory)
        return;
    edtURL->setText(CaptureBrowserURL(*m_directory));
    edtURL->end(false);
    edtURL->setFocus();
}
