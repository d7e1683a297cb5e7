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

// Acts once on the next modal dialog of that object name (for dialogs created inside the code under
// test); cancels it after ten seconds so that nothing hangs.
class NextModal
{
public:
    NextModal(const char* objectName, std::function<void(QDialog&)> act)
    {
        QObject::connect(&m_poll, &QTimer::timeout, &m_poll,
                         [this, name = QString::fromLatin1(objectName), act = std::move(act)] {
                             auto* dialog = qobject_cast<QDialog*>(QApplication::activeModalWidget());
                             if (!dialog || dialog->objectName() != name)
                                 return;
                             if (m_acted) {
                                 if (m_ticks++ > 2000) {
                                     ADD_FAILURE() << "the dialog stayed open";
                                     dialog->reject();
                                 }
                                 return;
                             }
                             m_acted = true;
                             act(*dialog);
                         });
        m_poll.start(5);
    }
    bool acted() const { return m_acted; }

private:
    QTimer m_poll;
    bool m_acted = false;
    int m_ticks = 0;
};

inline AnsiString A(const char* utf8)
{
    return ToAnsi(QString::fromUtf8(utf8));
}
