// A scripted address list for the list's dialogs: names, history lists, categories and shown rows.
#pragma once

#include "addressbook/AdrsListView.h"

#include <QDialog>
#include <QTimer>
#include <gtest/gtest.h>

#include <functional>

class FakeAddressList : public TAddressListView
{
public:
    QStringList keywordNames;
    QHash<int, QList<AnsiString>> histories;

    // Shown rows: the texts of each, or nothing for a record that has vanished.
    QList<std::optional<QStringList>> rows;
    int focused = -1;
    int selected = -1;
    QList<int> visited;

    QStringList KeywordNames() const override { return keywordNames; }
    QList<AnsiString> HistoryEntries(int narrowRow) const override { return histories.value(narrowRow); }
    int GetRecordCount() const override { return int(rows.size()); }
    int GetFocusedIndex() const override { return focused; }
    std::optional<QStringList> WordSearchTexts(int index) override
    {
        visited.append(index);
        return rows.value(index);
    }
    void SelectIndex(int index, bool clearOthers, bool makeVisible) override
    {
        EXPECT_TRUE(clearOthers);
        EXPECT_TRUE(makeVisible);
        selected = index;
        focused = index;
    }
};

// Runs the dialog modally; act is called once the dialog is the active modal widget. A dialog still open
// after ten seconds is cancelled and the test fails, so that nothing hangs.
inline int RunModal(QDialog& dialog, const std::function<void(QDialog&)>& act)
{
    bool acted = false;
    QTimer poll;
    QObject::connect(&poll, &QTimer::timeout, &poll, [&] {
        if (acted || QApplication::activeModalWidget() != &dialog)
            return;
        acted = true;
        act(dialog);
    });
    poll.start(5);
    QTimer guard;
    guard.setSingleShot(true);
    QObject::connect(&guard, &QTimer::timeout, &dialog, [&] {
        ADD_FAILURE() << "the dialog stayed open";
        dialog.reject();
    });
    guard.start(10000);
    return dialog.exec();
}

inline AnsiString A(const char* utf8)
{
    return ToAnsi(QString::fromUtf8(utf8));
}
