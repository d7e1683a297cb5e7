// Group names of the open address book: "Group.dat" and the group-name dialog.
#include "addressbook/GrpEdt.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "addressbook/KeywdEdt.h"
#include "core/AdrsFolderList.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "platform/Cp932.h"
#include "platform/IniFile.h"

#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QShowEvent>
#include <QTimer>
#include <QVBoxLayout>

namespace {

const QString GroupSection = QStringLiteral("GROUP");

QStringList defaultGroupNames()
{
    QStringList names{QStringLiteral("指定なし")};
    for (int i = 1; i <= GroupCount; ++i)
        names.append(DefaultGroupName(i));
    return names;
}

} // namespace

QStringList GroupNames = defaultGroupNames();

QString DefaultGroupName(int number)
{
    return QStringLiteral("グループ") + FullWidthNumber(number);
}

QString CurrentGroupFilePath()
{
    if (CurrentAdrsIndex < 0 || CurrentAdrsIndex >= AdrsFolderList.size())
        return QString();
    return AdrsFolder + AdrsFolderList[CurrentAdrsIndex].Folder + u'/' + GroupFileName;
}

void LoadGroupFile(const QString& fileName)
{
    const TMemIniFile ini(fileName);
    QStringList names{QStringLiteral("指定なし")};
    for (int i = 1; i <= GroupCount; ++i) {
        QString name = ini.ReadString(GroupSection, QStringLiteral("Group%1").arg(i), QString());
        if (name.isEmpty())
            name = DefaultGroupName(i);
        names.append(Cp932::cutToBytes(name, GroupNameBytes));
    }
    GroupNames = names;
}

bool WriteGroupFile(const QString& fileName, QString* error)
{
    TMemIniFile ini(fileName);
    for (int i = 1; i <= GroupCount; ++i)
        ini.WriteString(GroupSection, QStringLiteral("Group%1").arg(i), GroupNames.value(i));
    return ini.UpdateFile(error);
}

TGroupNamesResult StoreGroupNames(const QStringList& names, const QString& fileName)
{
    TGroupNamesResult result;
    QStringList trimmed;
    for (int i = 0; i < GroupCount; ++i) {
        trimmed.append(Cp932::cutToBytes(TrimBlanks(names.value(i)), GroupNameBytes));
        if (trimmed.last().isEmpty()) {
            result.emptyItem = i + 1;
            return result;
        }
    }
    for (int i = 0; i < GroupCount; ++i)
        for (int j = i + 1; j < GroupCount; ++j)
            if (trimmed[i] == trimmed[j]) {
                result.sameItem = j + 1;
                return result;
            }
    if (fileName.isEmpty()) {
        result.error = QStringLiteral("アドレス帳が開かれていません");
        return result;
    }
    const QStringList old = GroupNames;
    for (int i = 0; i < GroupCount; ++i)
        GroupNames[i + 1] = trimmed[i];
    if (!WriteGroupFile(fileName, &result.error)) {
        GroupNames = old;
        return result;
    }
    result.changed = old.mid(1) != trimmed;
    return result;
}

TGruopEdit::TGruopEdit(QWidget* owner, QWidget* other) : QDialog(owner)
{
    setObjectName(QStringLiteral("GruopEdit"));
    setWindowTitle(QStringLiteral("グループ名の設定"));

    auto* keys = new TEnterMovesFocus(this);
    auto* lblMessage = new QLabel(QStringLiteral("アドレス帳のグループ項目の名称を設定します："), this);
    lblMessage->setObjectName(QStringLiteral("lblMessage"));
    auto* grid = new QGridLayout;
    for (int i = 0; i < GroupCount; ++i) {
        const QString n = QString::number(i + 1);
        auto* label = new QLabel(FullWidthNumber(i + 1) + QStringLiteral("："), this);
        label->setObjectName(QStringLiteral("lblGroup") + n);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* edit = new QLineEdit(GroupNames.value(i + 1), this);
        edit->setObjectName(QStringLiteral("edtGroup") + n);
        edit->setMaxLength(GroupNameBytes);
        edit->setProperty("Tag", i);
        SetImeMode(edit, imHira);
        CutOnLeave(edit, GroupNameBytes);
        keys->addNext(edit);
        // Two columns of five, as the numbers run down.
        grid->addWidget(label, i % 5, (i / 5) * 2);
        grid->addWidget(edit, i % 5, (i / 5) * 2 + 1);
        m_edits.append(edit);
    }
    m_btnOk = MakeButton(this, "btnOk", QStringLiteral("OK"), true);
    m_btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    auto* buttons = ButtonRow({m_btnOk, m_btnCancel});
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblMessage);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_btnOk, &QPushButton::clicked, this, &TGruopEdit::btnOkClick);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    adjustSize();
    CenterForm(this, other ? other : owner);
}

void TGruopEdit::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    // Again once the window has been activated: activation may focus the first edit as if by Tab, which
    // selects its text.
    if (!event->spontaneous()) {
        TEnterMovesFocus::focusWithCaretAtEnd(m_edits[0]);
        QTimer::singleShot(0, this, [this] { TEnterMovesFocus::focusWithCaretAtEnd(m_edits[0]); });
    }
}

bool TGruopEdit::SaveGroupFile(QString* error)
{
    const QString path = CurrentGroupFilePath();
    if (path.isEmpty()) {
        if (error)
            *error = QStringLiteral("アドレス帳が開かれていません");
        return false;
    }
    return WriteGroupFile(path, error);
}

void TGruopEdit::btnOkClick()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QStringList names;
    for (QLineEdit* edit : m_edits)
        names.append(edit->text());
    const TGroupNamesResult r = StoreGroupNames(names, CurrentGroupFilePath());
    QGuiApplication::restoreOverrideCursor();
    if (r.emptyItem > 0) {
        MessageBoxPos(this,
                      QStringLiteral("グループ項目") + FullWidthNumber(r.emptyItem) +
                          QStringLiteral("が未入力です  "),
                      ProductTitle, MsgSeam::MbIconInformation);
        m_edits[r.emptyItem - 1]->setFocus();
        return;
    }
    if (r.sameItem > 0) {
        MessageBoxPos(this, QStringLiteral("同じグループ名は設定できません  "), ProductTitle,
                      MsgSeam::MbIconInformation);
        TEnterMovesFocus::focusWithCaretAtEnd(m_edits[r.sameItem - 1]);
        return;
    }
    if (!r.error.isEmpty()) {
        MessageBoxPos(this, QStringLiteral("グループ名を保存できませんでした  \r\n") + r.error, ProductTitle,
                      MsgSeam::MbIconExclamation);
        return;
    }
    GroupsChanged = r.changed ? 1 : 0;
    accept();
}
