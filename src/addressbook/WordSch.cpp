// The word search of the address list: the dialog that asks for the word, and the search over the shown rows.
#include "addressbook/WordSch.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"
#include "platform/MessageSeam.h"

#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QVBoxLayout>

bool FindNextWord(TAddressListView& list, const QString& word, int& nextWordIndex, QWidget* owner)
{
    const int count = list.GetRecordCount();
    if (count <= 0 || word.isEmpty())
        return false;
    int row = nextWordIndex >= 0 ? nextWordIndex : std::max(0, list.GetFocusedIndex());
    for (int visited = 0; visited < count; ++visited, ++row) {
        if (row >= count)
            row = 0;
        const std::optional<QStringList> texts = list.WordSearchTexts(row);
        if (!texts) {
            ListToolMessage(owner, QStringLiteral("アドレス帳が読み出せませんでした  "),
                            MsgSeam::MbOk | MsgSeam::MbIconStop);
            return false;
        }
        for (const QString& text : *texts) {
            if (text.contains(word, Qt::CaseSensitive)) {
                list.SelectIndex(row, true, true);
                nextWordIndex = row + 1;
                return true;
            }
        }
    }
    return false;
}

namespace {

} // namespace

TWordSearch::TWordSearch(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("WordSearch"));
    setWindowTitle(QStringLiteral("一覧内のワード検索"));
    SetHelpContext(this, HelpTopic);

    auto* root = new QVBoxLayout(this);
    root->addWidget(
        new QLabel(QStringLiteral("表示しているアドレス帳一覧の内容を、指定した文字列で検索します"), this));
    root->addWidget(
        new QLabel(QStringLiteral("該当する文字列のある行が見つかれば、その行に移動します"), this));
    m_edtWord = new QLineEdit(this);
    m_edtWord->setObjectName(QStringLiteral("edtWord"));
    QFont larger = m_edtWord->font();
    larger.setPointSizeF(larger.pointSizeF() * 1.3);
    m_edtWord->setFont(larger);
    m_edtWord->setMinimumWidth(400);
    root->addWidget(m_edtWord);
    auto* note =
        new QLabel(QStringLiteral("※アドレス帳の件数が多い場合、検索に時間がかかる場合があります"), this);
    note->setObjectName(QStringLiteral("lblNote"));
    note->setStyleSheet(QStringLiteral("color: maroon"));
    root->addWidget(note);

    auto* buttons = new QHBoxLayout;
    buttons->addStretch(1);
    m_btnSearch = MakeButton(this, "btnSearch", QStringLiteral("検索"));
    m_btnSearch->setDefault(true);
    m_btnRelease = MakeButton(this, "btnRelease", QStringLiteral("検索の解除"));
    m_btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    buttons->addWidget(m_btnSearch);
    buttons->addWidget(m_btnRelease);
    buttons->addWidget(m_btnCancel);
    root->addLayout(buttons);

    auto* enter = new TEnterMovesFocus(this);
    enter->addTarget(m_edtWord, m_btnSearch);

    connect(m_btnSearch, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_btnRelease, &QPushButton::clicked, this, [this] {
        m_edtWord->clear();
        accept();
    });
    connect(m_btnCancel, &QPushButton::clicked, this, &QDialog::reject);
}

bool ExecuteWordSearch(QWidget* owner, QString& word)
{
    TWordSearch dialog(owner);
    CenterForm(&dialog, owner);
    dialog.SetWord(word);
    if (dialog.exec() != QDialog::Accepted)
        return false;
    word = dialog.GetWord();
    return true;
}

void TWordSearch::SetWord(const QString& word)
{
    m_edtWord->setText(word);
    m_edtWord->setCursorPosition(int(word.size()));
    m_edtWord->selectAll();
}

QString TWordSearch::GetWord() const
{
    return TrimBlanks(m_edtWord->text());
}
