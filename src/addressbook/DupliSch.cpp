// The duplicate view dialog of the address list: which one or two items must repeat for a record to show.
#include "addressbook/DupliSch.h"

#include "addressbook/AdrsListView.h"
#include "core/PDFHelp.h"
#include "core/DialogSub.h"
#include "core/ShellSub.h"
#include "platform/MessageSeam.h"

#include <QComboBox>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

TDuplicateChoice CheckDuplicateChoice(const TDuplicatePair& inForce, const TDuplicatePair& chosen)
{
    if (chosen.second != 0 && chosen.second == chosen.first)
        return TDuplicateChoice::SameItem;
    if (chosen == inForce)
        return TDuplicateChoice::Unchanged;
    return TDuplicateChoice::Accepted;
}

namespace {

// One line each: Japanese text wraps between any two characters, so a wrapped note would leave a character
// or two alone on a line; the dialog takes the notes' width instead.
QLabel* Note(QWidget* parent, const QString& text)
{
    return new QLabel(text, parent);
}

} // namespace

TDuplicateSearch::TDuplicateSearch(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("DuplicateSearch"));
    setWindowTitle(QStringLiteral("重複データの表示"));
    SetHelpContext(this, HelpTopic);
    setMinimumWidth(460);

    const QStringList items{QStringLiteral("電話番号"), QStringLiteral("住所"), QStringLiteral("会社名"),
                            QStringLiteral("名前")};
    auto* root = new QVBoxLayout(this);
    root->addWidget(Note(this, QStringLiteral("指定した項目が重複しているデータのみを表示します")));
    root->addWidget(Note(
        this, QStringLiteral("項目を２つ指定した場合、両方の項目内容が重複しているデータが対象になります")));
    auto* grid = new QGridLayout;
    grid->addWidget(new QLabel(QStringLiteral("項目１："), this), 0, 0);
    m_cbxItem1 = new QComboBox(this);
    m_cbxItem1->setObjectName(QStringLiteral("cbxItem1"));
    m_cbxItem1->addItems(items);
    grid->addWidget(m_cbxItem1, 0, 1);
    grid->addWidget(new QLabel(QStringLiteral("項目２："), this), 1, 0);
    m_cbxItem2 = new QComboBox(this);
    m_cbxItem2->setObjectName(QStringLiteral("cbxItem2"));
    m_cbxItem2->addItem(QStringLiteral("（指定しない）"));
    m_cbxItem2->addItems(items);
    grid->addWidget(m_cbxItem2, 1, 1);
    grid->setColumnStretch(2, 1);
    root->addLayout(grid);
    root->addWidget(Note(
        this, QStringLiteral("※指定した項目内容が空白（２つ指定した場合両方空白）のデータは表示されません")));
    auto* maroon =
        Note(this,
             QStringLiteral("※重複データを表示している間、アドレス帳一覧画面の並び順の指定は無効になります"));
    maroon->setObjectName(QStringLiteral("lblSortNote"));
    maroon->setStyleSheet(QStringLiteral("color: maroon"));
    root->addWidget(maroon);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_btnView = MakeButton(this, "btnView", QStringLiteral("表示"));
    m_btnView->setDefault(true);
    m_btnRelease = MakeButton(this, "btnRelease", QStringLiteral("重複データ表示の解除"));
    m_btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    buttons->addWidget(m_btnView);
    buttons->addWidget(m_btnRelease);
    buttons->addWidget(m_btnCancel);
    root->addLayout(buttons);

    auto* enter = new TEnterMovesFocus(this);
    enter->addTarget(m_cbxItem1, m_cbxItem2);
    enter->addTarget(m_cbxItem2, m_btnView);

    connect(m_btnView, &QPushButton::clicked, this, [this] { View(); });
    connect(m_btnRelease, &QPushButton::clicked, this, [this] {
        m_released = true;
        accept();
    });
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    SetPair(TDuplicatePair());
}

bool ExecuteDuplicateSearch(QWidget* owner, TDuplicatePair& pair)
{
    TDuplicateSearch dialog(owner);
    CenterForm(&dialog, owner);
    dialog.SetPair(pair);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    dialog.GetPair(pair);
    return true;
}

void TDuplicateSearch::SetPair(const TDuplicatePair& pair)
{
    m_inForce = pair;
    if (pair.first <= 0 || pair.first > 4) {
        m_inForce = TDuplicatePair();
        m_cbxItem1->setCurrentIndex(0);
        m_cbxItem2->setCurrentIndex(0);
        m_btnRelease->setEnabled(false);
        return;
    }
    m_cbxItem1->setCurrentIndex(pair.first - 1);
    m_cbxItem2->setCurrentIndex(std::clamp(pair.second, 0, 4));
    m_btnRelease->setEnabled(true);
}

void TDuplicateSearch::GetPair(TDuplicatePair& pair) const
{
    pair = m_released ? TDuplicatePair() : ChosenPair();
}

TDuplicatePair TDuplicateSearch::ChosenPair() const
{
    return TDuplicatePair{m_cbxItem1->currentIndex() + 1, m_cbxItem2->currentIndex()};
}

void TDuplicateSearch::View()
{
    switch (CheckDuplicateChoice(m_inForce, ChosenPair())) {
    case TDuplicateChoice::SameItem:
        ListToolMessage(this, QStringLiteral("同じ項目を指定できません  "),
                        MsgSeam::MbOk | MsgSeam::MbIconInformation);
        m_cbxItem2->setFocus();
        break;
    case TDuplicateChoice::Unchanged:
        reject();
        break;
    case TDuplicateChoice::Accepted:
        accept();
        break;
    }
}
