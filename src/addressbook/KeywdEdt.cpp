// Keyword item names and modes, their "AdrsList.ini" sections and the named-item dialog they share with the
// protected memos.
#include "addressbook/KeywdEdt.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"
#include "platform/Cp932.h"
#include "platform/IniFile.h"

#include <QComboBox>
#include <QGridLayout>
#include <QGuiApplication>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

namespace {

constexpr int NameBytes = 12;

QStringList defaultNames(const QString& word, int count)
{
    QStringList names;
    for (int i = 1; i <= count; ++i)
        names.append(word + FullWidthNumber(i));
    return names;
}

} // namespace

QStringList KeywordNames = defaultNames(QStringLiteral("キーワード"), KeywordCount);
QList<uint8_t> KeywordInputModes(KeywordCount, uint8_t(6));

QString AdrsListIniPath()
{
    return DataFolder + QStringLiteral("AdrsList.ini");
}

const QList<TInputModeChoice>& InputModeChoices()
{
    static const QList<TInputModeChoice> choices{
        {QStringLiteral("全角ひらがな"), 6}, {QStringLiteral("全角カタカナ"), 8},
        {QStringLiteral("全角英数"), 5},     {QStringLiteral("半角カタカナ"), 7},
        {QStringLiteral("半角英数"), 1},
    };
    return choices;
}

uint8_t ValidInputMode(int value)
{
    for (const TInputModeChoice& c : InputModeChoices())
        if (c.code == value)
            return c.code;
    return 6;
}

const TNamedItemKind& KeywordItemKind()
{
    static const TNamedItemKind kind{QStringLiteral("KEYWORD"),
                                     QStringLiteral("キーワード"),
                                     QStringLiteral("キーワード項目"),
                                     QStringLiteral("Keyword"),
                                     QStringLiteral("キーワード項目の設定"),
                                     44,
                                     KeywordCount,
                                     &KeywordNames,
                                     &KeywordInputModes};
    return kind;
}

QString FullWidthNumber(int number)
{
    QString text = QString::number(number);
    for (QChar& c : text)
        c = QChar(c.unicode() - u'0' + 0xFF10);
    return text;
}

QString DefaultItemName(const TNamedItemKind& kind, int number)
{
    return kind.defaultWord + FullWidthNumber(number);
}

void ReadNamedItems(const TNamedItemKind& kind, const TMemIniFile& ini)
{
    QStringList names;
    QList<uint8_t> modes;
    for (int i = 1; i <= kind.count; ++i) {
        const QString n = QString::number(i);
        QString name = ini.ReadString(kind.section, QStringLiteral("Name") + n, QString());
        if (name.isEmpty())
            name = DefaultItemName(kind, i);
        names.append(name);
        modes.append(ValidInputMode(ini.ReadInteger(kind.section, QStringLiteral("Mode") + n, 6)));
    }
    *kind.names = names;
    *kind.modes = modes;
}

void WriteNamedItems(const TNamedItemKind& kind, TMemIniFile& ini)
{
    for (int i = 1; i <= kind.count; ++i) {
        const QString n = QString::number(i);
        ini.WriteString(kind.section, QStringLiteral("Name") + n, kind.names->value(i - 1));
        ini.WriteInteger(kind.section, QStringLiteral("Mode") + n, kind.modes->value(i - 1, 6));
    }
}

TNamedItemsResult StoreNamedItems(const TNamedItemKind& kind, const QStringList& names,
                                  const QList<uint8_t>& modes, const QString& iniPath)
{
    TNamedItemsResult result;
    QStringList trimmed;
    for (int i = 0; i < kind.count; ++i) {
        trimmed.append(Cp932::cutToBytes(TrimBlanks(names.value(i)), NameBytes));
        if (trimmed.last().isEmpty()) {
            result.emptyItem = i + 1;
            return result;
        }
    }
    QList<uint8_t> chosen;
    for (int i = 0; i < kind.count; ++i)
        chosen.append(ValidInputMode(modes.value(i, 6)));

    // The other sections of the file belong to the address list: an unreadable file is not overwritten.
    TMemIniFile ini(iniPath);
    if (!ini.LoadedOk()) {
        result.error = QStringLiteral("読み込めません: ") + iniPath;
        return result;
    }
    const QStringList oldNames = *kind.names;
    const QList<uint8_t> oldModes = *kind.modes;
    *kind.names = trimmed;
    *kind.modes = chosen;
    WriteNamedItems(kind, ini);
    QString error;
    if (!ini.UpdateFile(&error)) {
        *kind.names = oldNames;
        *kind.modes = oldModes;
        result.error = error;
        return result;
    }
    result.namesChanged = oldNames != trimmed;
    result.modesChanged = oldModes != chosen;
    return result;
}

TNamedItemsEdit::TNamedItemsEdit(QWidget* owner, const TNamedItemKind& kind) : QDialog(owner), m_kind(kind)
{
    setObjectName(kind.componentWord + QStringLiteral("Edit"));
    setWindowTitle(kind.caption);
    SetHelpContext(this, kind.helpContext);

    auto* keys = new TEnterMovesFocus(this);
    auto* grid = new QGridLayout;
    auto* lblName = new QLabel(QStringLiteral("名称："), this);
    lblName->setObjectName(QStringLiteral("lblName"));
    auto* lblMode = new QLabel(QStringLiteral("入力モード："), this);
    lblMode->setObjectName(QStringLiteral("lblMode"));
    grid->addWidget(lblName, 0, 1);
    grid->addWidget(lblMode, 0, 2);
    for (int i = 0; i < kind.count; ++i) {
        const QString n = QString::number(i + 1);
        auto* label = new QLabel(FullWidthNumber(i + 1), this);
        label->setObjectName(QStringLiteral("lblNo") + n);
        label->setAlignment(Qt::AlignRight | Qt::AlignVCenter);
        auto* edit = new QLineEdit(kind.names->value(i), this);
        edit->setObjectName(QStringLiteral("edt") + kind.componentWord + n);
        edit->setMaxLength(NameBytes);
        SetImeMode(edit, imHira);
        CutOnLeave(edit, NameBytes);
        NoAutoSelect(edit);
        auto* combo = new QComboBox(this);
        combo->setObjectName(QStringLiteral("cbx") + kind.componentWord + n);
        for (const TInputModeChoice& c : InputModeChoices())
            combo->addItem(c.text, c.code);
        combo->setCurrentIndex(std::max(0, combo->findData(int(kind.modes->value(i, 6)))));
        keys->addNext(edit);
        keys->addNext(combo);
        grid->addWidget(label, i + 1, 0);
        grid->addWidget(edit, i + 1, 1);
        grid->addWidget(combo, i + 1, 2);
        m_edits.append(edit);
        m_combos.append(combo);
    }

    m_btnOk = MakeButton(this, "btnOk", QStringLiteral("OK"), true);
    m_btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    auto* buttons = ButtonRow({m_btnOk, m_btnCancel});
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
    layout->setSizeConstraint(QLayout::SetFixedSize);

    connect(m_btnOk, &QPushButton::clicked, this, &TNamedItemsEdit::btnOkClick);
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    adjustSize();
    CenterForm(this, owner);
}

void TNamedItemsEdit::btnOkClick()
{
    QGuiApplication::setOverrideCursor(Qt::WaitCursor);
    QStringList names;
    QList<uint8_t> modes;
    for (int i = 0; i < m_kind.count; ++i) {
        names.append(m_edits[i]->text());
        modes.append(uint8_t(m_combos[i]->currentData().toInt()));
    }
    const TNamedItemsResult r = StoreNamedItems(m_kind, names, modes, AdrsListIniPath());
    QGuiApplication::restoreOverrideCursor();
    if (r.emptyItem > 0) {
        MessageBoxPos(this,
                      m_kind.messageWord + FullWidthNumber(r.emptyItem) + QStringLiteral("が未入力です  "),
                      ProductTitle, MsgSeam::MbIconInformation);
        TEnterMovesFocus::focusWithCaretAtEnd(m_edits[r.emptyItem - 1]);
        return;
    }
    if (!r.error.isEmpty()) {
        MessageBoxPos(this, QStringLiteral("設定を保存できませんでした  \r\n") + r.error, ProductTitle,
                      MsgSeam::MbIconExclamation);
        return;
    }
    NamesChanged = r.namesChanged;
    ModesChanged = r.modesChanged;
    accept();
}
