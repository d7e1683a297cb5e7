// The password of the enciphered export and its dialog.
#include "dataexchange/FExportPwd.h"

#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "platform/IniFile.h"

#include <QCheckBox>
#include <QFile>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

#include <fcntl.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cstring>

namespace {

bool IsAlnum(QChar c)
{
    return (c >= QLatin1Char('0') && c <= QLatin1Char('9')) ||
           (c >= QLatin1Char('A') && c <= QLatin1Char('Z')) ||
           (c >= QLatin1Char('a') && c <= QLatin1Char('z'));
}

bool AllAlnum(const QString& text)
{
    return std::all_of(text.begin(), text.end(), IsAlnum);
}

class TPasswordKeys : public QObject
{
public:
    using QObject::QObject;
    std::function<bool(QObject*)> onEnter;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override
    {
        if (event->type() == QEvent::KeyPress) {
            const int key = static_cast<QKeyEvent*>(event)->key();
            if ((key == Qt::Key_Return || key == Qt::Key_Enter) && onEnter && onEnter(watched))
                return true;
        }
        return QObject::eventFilter(watched, event);
    }
};

void FocusSelected(QWidget* control)
{
    control->setFocus();
    if (auto* edit = qobject_cast<QLineEdit*>(control))
        edit->selectAll();
}

} // namespace

bool IsPasswordChars(const QString& text)
{
    return text.size() >= 8 && text.size() <= 16 && AllAlnum(text);
}

std::optional<QByteArray> ParsePasswordFile(const QByteArray& bytes)
{
    if (bytes.size() < 4)
        return std::nullopt;
    quint32 n = 0;
    for (int i = 3; i >= 0; --i)
        n = (n << 8) | quint8(bytes[i]);
    if (n > quint32(bytes.size() - 4))
        return std::nullopt;
    QByteArray password = bytes.mid(4, qsizetype(n));
    for (char& c : password)
        c = char(~quint8(c));
    return password;
}

QByteArray PasswordFileBytes(const QByteArray& password)
{
    QByteArray bytes(4, '\0');
    const quint32 n = quint32(password.size());
    for (int i = 0; i < 4; ++i)
        bytes[i] = char((n >> (8 * i)) & 0xFF);
    for (char c : password)
        bytes.append(char(~quint8(c)));
    return bytes;
}

bool WritePrivateFile(const QString& path, const QByteArray& bytes, QString* error)
{
    QByteArray temp = QFile::encodeName(path) + ".XXXXXX";
    const int fd = ::mkostemp(temp.data(), O_CLOEXEC); // created 0600
    bool ok = fd >= 0;
    qsizetype done = 0;
    while (ok && done < bytes.size()) {
        const ssize_t n = ::write(fd, bytes.constData() + done, size_t(bytes.size() - done));
        if (n < 0 && errno == EINTR)
            continue;
        ok = n > 0;
        if (ok)
            done += n;
    }
    ok = ok && ::fsync(fd) == 0;
    if (fd >= 0)
        ok = ::close(fd) == 0 && ok;
    ok = ok && ::rename(temp.constData(), QFile::encodeName(path).constData()) == 0;
    if (!ok) {
        if (error)
            *error = QString::fromLocal8Bit(std::strerror(errno));
        if (fd >= 0)
            ::unlink(temp.constData());
    }
    return ok;
}

TFileExportPassword::TFileExportPassword(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("FileExportPassword"));
    setWindowTitle(QStringLiteral("自己復元パスワードの入力"));
    setProperty("helpTopic", HelpTopic);
    setWindowFlags(windowFlags() & ~Qt::WindowContextHelpButtonHint);

    auto* root = new QVBoxLayout(this);
    root->setSizeConstraint(QLayout::SetFixedSize);
    root->addWidget(Named<QLabel>(
        this, "lblMsg1",
        QStringLiteral("暗号化出力したファイルを復元する際に必要となるパスワードを設定します")));
    for (const auto& [name, text] : {std::pair{"lblMsg2", "※８文字～１６文字の半角英数字で入力してください"},
                                     std::pair{"lblMsg3", "英字は大文字と小文字を区別します"}}) {
        auto* label = Named<QLabel>(this, name, QString::fromUtf8(text));
        QPalette palette = label->palette();
        palette.setColor(QPalette::WindowText, Qt::blue);
        label->setPalette(palette);
        label->setContentsMargins(16, 0, 0, 0);
        root->addWidget(label);
    }
    auto* grid = new QGridLayout;
    grid->setContentsMargins(40, 8, 40, 8);
    const auto edit = [this](const char* name) {
        auto* e = Named<QLineEdit>(this, name);
        e->setMaxLength(16);
        e->setEchoMode(QLineEdit::Password);
        e->setFixedWidth(180);
        SetImeMode(e, imClose);
        return e;
    };
    m_edtPassword1 = edit("edtPassword1");
    m_edtPassword2 = edit("edtPassword2");
    grid->addWidget(Named<QLabel>(this, "lblPassword1", QStringLiteral("パスワード：")), 0, 0,
                    Qt::AlignRight);
    grid->addWidget(m_edtPassword1, 0, 1);
    grid->addWidget(Named<QLabel>(this, "lblPassword2", QStringLiteral("確認用：")), 1, 0, Qt::AlignRight);
    grid->addWidget(m_edtPassword2, 1, 1);
    m_chkSavePassword =
        Named<QCheckBox>(this, "chkSavePassword", QStringLiteral("パスワードを保存する （推奨しません）"));
    PaintCheckedBlue(m_chkSavePassword);
    grid->addWidget(m_chkSavePassword, 2, 1);
    root->addLayout(grid);

    m_btnSet = MakeButton(this, "btnSet", QStringLiteral("設定"), true);
    m_btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    root->addLayout(ButtonRow({m_btnSet, m_btnCancel}));
    connect(m_btnSet, &QPushButton::clicked, this, &TFileExportPassword::btnSetClick);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    auto* keys = new TPasswordKeys(this);
    keys->onEnter = [this](QObject* watched) {
        const bool has1 = !m_edtPassword1->text().isEmpty();
        if (watched == m_edtPassword1)
            has1 ? FocusSelected(m_edtPassword2) : m_btnCancel->setFocus();
        else if (watched == m_edtPassword2)
            m_edtPassword2->text().isEmpty() ? FocusSelected(m_edtPassword1) : m_chkSavePassword->setFocus();
        else if (watched == m_chkSavePassword)
            has1 ? m_btnSet->setFocus() : m_btnCancel->setFocus();
        else
            return false;
        return true;
    };
    for (QWidget* w : {static_cast<QWidget*>(m_edtPassword1), static_cast<QWidget*>(m_edtPassword2),
                       static_cast<QWidget*>(m_chkSavePassword)})
        w->installEventFilter(keys);

    LoadPasswordSettings();
}

TFileExportPassword::~TFileExportPassword()
{
    m_password.fill(QLatin1Char('\0'));
}

void TFileExportPassword::LoadPasswordSettings()
{
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    m_chkSavePassword->setChecked(ini.ReadBool(PasswordSection, QStringLiteral("SavePassword"), false));
    if (!m_chkSavePassword->isChecked())
        return;
    QFile file(DataRootFolder + PasswordFileName);
    if (!file.exists() || !file.open(QIODevice::ReadOnly)) {
        m_chkSavePassword->setChecked(false);
        return;
    }
    const std::optional<QByteArray> saved = ParsePasswordFile(file.read(4 + 1024));
    const QString text = saved ? QString::fromLatin1(*saved) : QString();
    if (!saved || !AllAlnum(text)) {
        m_chkSavePassword->setChecked(false);
        m_password.clear();
        return;
    }
    m_edtPassword1->setText(text);
    m_edtPassword2->setText(text);
}

void TFileExportPassword::SavePasswordSettings()
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteBool(PasswordSection, QStringLiteral("SavePassword"), m_chkSavePassword->isChecked());
    ini.UpdateFile();
    const QString path = DataRootFolder + PasswordFileName;
    if (m_chkSavePassword->isChecked()) {
        QByteArray bytes = PasswordFileBytes(m_password.toLatin1());
        WritePrivateFile(path, bytes);
        bytes.fill('\0');
    } else if (QFile::exists(path)) {
        QFile::remove(path);
    }
}

void TFileExportPassword::btnSetClick()
{
    const auto tell = [this](const QString& text) {
        MessageBoxPos(this, text, ProductTitle, MsgSeam::MbIconInformation);
    };
    const QString p1 = m_edtPassword1->text();
    const QString p2 = m_edtPassword2->text();
    if (p1.isEmpty()) {
        tell(QStringLiteral("パスワードを入力してください  "));
        m_edtPassword1->setFocus();
        return;
    }
    if (p2.isEmpty()) {
        tell(QStringLiteral("確認用のパスワードも入力してください  "));
        m_edtPassword2->setFocus();
        return;
    }
    if (p1.size() < 8 || p1.size() > 16) {
        tell(QStringLiteral("パスワードは8文字～16文字で入力してください  "));
        FocusSelected(m_edtPassword1);
        return;
    }
    if (!AllAlnum(p1)) {
        tell(QStringLiteral(
            "パスワードに使用できる文字は  \r\n　半角数字  \r\n　半角英大文字  \r\n　半角英小文字  "
            "\r\nのいずれかになります  "));
        FocusSelected(m_edtPassword1);
        return;
    }
    if (p1 != p2) {
        tell(QStringLiteral("確認用パスワードが一致しません  \r\n再度入力してください  "));
        m_edtPassword2->clear();
        m_edtPassword2->setFocus();
        return;
    }
    m_password = p1;
    SavePasswordSettings();
    accept();
}
