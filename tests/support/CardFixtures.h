// Test doubles for the record card: a data module over a temporary Adrs.DB and history files, a list source
// with scripted items, an address list over the table's rows, and a base fixture for the card window.
#pragma once

#include "addressbook/AdrsTableRow.h"
#include "addressbook/CardServices.h"
#include "addressbook/DtInqiry.h"
#include "addressbook/GrpEdt.h"
#include "addressbook/Inquiry.h"
#include "core/AppSub.h"
#include "core/HisInfo.h"
#include "core/MainSettings.h"
#include "core/TableDefs.h"
#include "platform/TableEngine.h"
#include "support/TestFiles.h"

#include <QApplication>
#include <QDir>
#include <QFocusEvent>
#include <QPointer>
#include <QTemporaryDir>

#include <gtest/gtest.h>

#include <array>
#include <memory>
#include <vector>

class FakeCardData : public TCardDataModule
{
public:
    FakeCardData()
    {
        m_session.addPassword(TablePassword);
        Table::createTable(path(QStringLiteral("Adrs.DB")), AdrsTableDef(), TablePassword);
        table = std::make_unique<Table>(m_session);
        table->setDatabaseName(m_dir.path() + QLatin1Char('/'));
        table->setTableName(QStringLiteral("Adrs.DB"));
        table->open();
        const std::array<const char*, 6> files{"Dptmnt.mtd",   "Post.mtd",     "Honor.mtd",
                                               "Keyword1.mtd", "Keyword2.mtd", "Keyword3.mtd"};
        const std::array<int, 6> sizes{100, 50, 10, 100, 100, 100};
        for (size_t i = 0; i < 6; ++i) {
            histories[i] = std::make_unique<THistoryData>(path(QLatin1String(files[i])), true, sizes[i]);
            histories[i]->Load();
        }
    }

    QString path(const QString& name) const { return m_dir.path() + QLatin1Char('/') + name; }
    QString folder() const { return m_dir.path() + QLatin1Char('/'); }

    Table& AdrsTable() override { return *table; }
    THistoryData* InputHistory(TInputListKind kind) override { return histories[size_t(kind)].get(); }

    // Reads the row by RecNo (digits of the phone fields as stored).
    bool readRow(qint32 recNo, TAdrsDataRec& rec)
    {
        table->cancelRange();
        TAdrsTableRow row(*table);
        if (!row.FindRecNo(recNo))
            return false;
        ReadAdrsDataRec(row, rec, {});
        return true;
    }

    qint64 addRow(const QList<std::pair<const char*, QVariant>>& values) { return AppendRow(*table, values); }

    std::unique_ptr<Table> table;
    std::array<std::unique_ptr<THistoryData>, 6> histories;

private:
    QTemporaryDir m_dir;
    TableSession m_session;
};

// A list of scripted items that records what the card asks of it.
class FakeCardList : public TCardListSource
{
public:
    std::vector<TCardItem> items;
    int current = -1;
    int colorUpdates = 0;

    int GetItemCount() const override { return int(items.size()); }
    int GetCurrentIndex() const override { return current; }
    void SetCurrentIndex(int index) override { current = index; }
    bool IsAtFirst() const override { return items.empty() || current <= 0; }
    bool IsAtLast() const override { return items.empty() || current >= int(items.size()) - 1; }
    qint32 RecNoAt(int index) const override
    {
        return index >= 0 && index < int(items.size()) && !items[size_t(index)].isDirectory
                   ? items[size_t(index)].address.RecNo
                   : -1;
    }
    bool MoveAndRead(TCardMove move, TCardItem& item) override
    {
        const int count = int(items.size());
        int target = -1;
        switch (move) {
        case cmFirst:
            target = 0;
            break;
        case cmPrior:
            target = current - 1;
            break;
        case cmNext:
            target = current + 1;
            break;
        case cmLast:
            target = count - 1;
            break;
        }
        if (count == 0 || target < 0 || target >= count)
            return false;
        current = target;
        item = items[size_t(target)];
        return true;
    }
    void UpdateListColor() override { ++colorUpdates; }
};

// The address list over every row of the table in RecNo order; records refreshes and notifications.
class FakeAddressBook : public TCardAddressBook
{
public:
    explicit FakeAddressBook(FakeCardData& data) : m_data(data) { RefreshList(false, true, false); }

    std::vector<qint32> recNos;
    int current = -1;
    int refreshes = 0;
    QList<int> selections; // every SelectIndex, after clamping
    QList<qint32> edited;
    QList<qint32> deleted;
    QList<TCardSender> senders;
    // RecNos the list does not show (a narrowing).
    QList<qint32> hidden;

    int GetItemCount() const override { return int(recNos.size()); }
    int GetCurrentIndex() const override { return current; }
    void SetCurrentIndex(int index) override { current = index; }
    bool IsAtFirst() const override { return recNos.empty() || current <= 0; }
    bool IsAtLast() const override { return recNos.empty() || current >= int(recNos.size()) - 1; }
    qint32 RecNoAt(int index) const override
    {
        return index >= 0 && index < int(recNos.size()) ? recNos[size_t(index)] : -1;
    }
    bool MoveAndRead(TCardMove move, TCardItem& item) override
    {
        const int count = int(recNos.size());
        const int target = move == cmFirst   ? 0
                           : move == cmPrior ? current - 1
                           : move == cmNext  ? current + 1
                                             : count - 1;
        if (count == 0 || target < 0 || target >= count)
            return false;
        current = target;
        item.isDirectory = false;
        return ReadRecordAt(target, item.address);
    }
    void RefreshList(bool, bool, bool) override
    {
        ++refreshes;
        const qint32 currentRecNo = RecNoAt(current);
        recNos.clear();
        Table& t = *m_data.table;
        t.cancelRange();
        t.setIndexName(QString());
        for (t.first(); !t.eof(); t.next()) {
            const qint32 recNo = qint32(t.fieldByName(QStringLiteral("RecNo")).asInteger());
            if (!hidden.contains(recNo))
                recNos.push_back(recNo);
        }
        current = IndexOfRecNo(currentRecNo);
    }
    int IndexOfRecNo(qint32 recNo) const override
    {
        for (size_t i = 0; i < recNos.size(); ++i)
            if (recNos[i] == recNo)
                return int(i);
        return -1;
    }
    void SelectIndex(int index, bool) override
    {
        current = recNos.empty() ? -1 : std::clamp(index, 0, int(recNos.size()) - 1);
        selections.append(current);
    }
    bool ReadRecordAt(int index, TAdrsDataRec& rec) override
    {
        return index >= 0 && index < int(recNos.size()) && m_data.readRow(recNos[size_t(index)], rec);
    }
    bool ReadAddressRecord(qint32 recNo, TAdrsDataRec& rec) override { return m_data.readRow(recNo, rec); }
    void NotifyRecordsEdited(const QList<qint32>& r) override { edited += r; }
    void NotifyRecordsDeleted(const QList<qint32>& r) override { deleted += r; }
    QList<TCardSender> Senders() const override { return senders; }

private:
    FakeCardData& m_data;
};

// A card over the doubles above, with the settings the card reads saved before each test and restored after
// it. The card itself is made by the derived fixture or the test.
class CardFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_savedSettings = MainSettings;
        m_savedRoot = DataRootFolder;
        m_savedAdmin = AdminPassword;
        m_savedAdminMode = AdminMode;
        m_savedGroups = GroupNames;
        DataRootFolder = data.folder();
        MainSettings = TMainSettings();
        AdminPassword.clear();
        AdminMode = false;
    }
    void TearDown() override
    {
        delete card.data();
        MainSettings = m_savedSettings;
        DataRootFolder = m_savedRoot;
        AdminPassword = m_savedAdmin;
        AdminMode = m_savedAdminMode;
        GroupNames = m_savedGroups;
    }

    // A private person's row that prints with its joint names; more sets further fields.
    qint32 addPerson(const QString& name, const QList<std::pair<const char*, QVariant>>& more)
    {
        QList<std::pair<const char*, QVariant>> values{
            {"NameKanji", WideToHexText(name)},
            {"PrivCorp", true},
            {"JointPrint", true},
            {"SymbolColor", DefaultSymbolColor},
            {"AddDateTime", QDateTime(QDate(2020, 1, 2), QTime(3, 4, 5))}};
        values += more;
        return qint32(data.addRow(values));
    }

    // Shows the list's row index on the card, as a click in the address list does.
    void showRow(int index)
    {
        book.RefreshList(false, true, false);
        book.current = index;
        TAdrsDataRec rec;
        ASSERT_TRUE(book.ReadRecordAt(index, rec));
        card->SetListSource(lsAddressList);
        card->ShowAddressRecord(rec);
    }

    // The focus leaving w, which is where the card checks and tidies an item.
    static void Leave(QWidget* w)
    {
        QFocusEvent out(QEvent::FocusOut, Qt::TabFocusReason);
        QApplication::sendEvent(w, &out);
    }
    static void FlushDeletes() { QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete); }
    static void DeliverPosted()
    {
        QCoreApplication::sendPostedEvents();
        FlushDeletes();
    }

    FakeCardData data;
    FakeAddressBook book{data};
    QPointer<TDataInquiry> card;

private:
    TMainSettings m_savedSettings;
    QString m_savedRoot;
    QString m_savedAdmin;
    bool m_savedAdminMode = false;
    QStringList m_savedGroups;
};
