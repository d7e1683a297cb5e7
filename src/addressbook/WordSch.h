// The word search of the address list: the dialog that asks for the word, and the search over the shown rows.
#pragma once

#include "addressbook/AdrsListView.h"
#include "core/AppSub.h"

#include <QDialog>

class QLineEdit;
class QPushButton;

// Looks for word in the texts of the shown rows, from nextWordIndex (-1: the focused row, or row 0), to the
// last row and then from row 0, each row once. A hit selects its row alone, scrolls it into view and sets
// nextWordIndex to the row after it. A row whose record has vanished ends the search with
// "アドレス帳が読み出せませんでした  ".
bool FindNextWord(TAddressListView& list, const QString& word, int& nextWordIndex, QWidget* owner);

// The address list's word-search command up to its own follow-up: the dialog over owner, handed word; on
// OK the trimmed word (empty: no word search) replaces it and the answer is true.
bool ExecuteWordSearch(QWidget* owner, QString& word);

// The modal dialog "一覧内のワード検索".
class TWordSearch : public QDialog
{
public:
    explicit TWordSearch(QWidget* owner);

    void SetWord(const QString& word);
    QString GetWord() const;
    static constexpr int HelpTopic = 46;

private:
    QLineEdit* m_edtWord = nullptr;
    QPushButton* m_btnSearch = nullptr;
    QPushButton* m_btnRelease = nullptr;
    QPushButton* m_btnCancel = nullptr;
};
