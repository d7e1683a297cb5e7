// Tests of the batch edit: the run over the selected rows (items, unchanged rows, codes, the RecNo array,
// failures and batching) and the dialog's values and start.
#include "addressbook/BatchChg.h"

#include "search/DicWrapper.h"
#include "support/CardFixtures.h"
#include "support/FakeListRows.h"
#include "support/MessageRecorder.h"
#include "support/TableFaults.h"

#include <QCheckBox>
#include <QComboBox>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>

namespace {

class BatchChgTest : public ::testing::Test
{
protected:
    // Six rows; row i (0-based) has RecNo recNos[i].
    void SetUp() override
    {
        const QDateTime stamp(QDate(2020, 1, 2), QTime(3, 4, 5));
        for (int i = 0; i < 6; ++i) {
            recNos.append(
                qint32(data.addRow({{"Keyword1", QByteArray("old")},
                                    {"CodeMain", 3},
                                    {"CodeSub", 4},
                                    {"PrivCorp", true},
                                    {"JisCode", QByteArray("99999")},
                                    {"KajoCode", QByteArray("999999")},
                                    {"Tdfkn", i == 0 ? QVariant() : QVariant(QByteArray("x"))},
                                    {"Adrs1", i == 1 ? QVariant(QByteArray("unknown")) : QVariant()},
                                    {"UpdDateTime", stamp}})));
            rows.recNos.append(recNos.last());
        }
    }
    TAdrsDataRec row(int i)
    {
        TAdrsDataRec rec;
        EXPECT_TRUE(data.readRow(recNos[i], rec));
        return rec;
    }
    TBatchOutcome run(const TBatchChoice& choice, TBatchConvert convert = {}, int batchSize = 500)
    {
        TBatchChangeRun r(*data.table, choice, std::move(convert));
        r.BatchSize = batchSize;
        r.Clock = [] { return QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)); };
        return r.Run(rows);
    }
    // Makes updates of the given rows fail, as a locked row would.
    void refuseUpdating(QList<qint32> refused)
    {
        RefuseChanging(data.path(QStringLiteral("Adrs.DB")), "UPDATE",
                       QList<int>(refused.begin(), refused.end()));
    }

    FakeCardData data;
    FakeListRows rows;
    QList<qint32> recNos;
};

TBatchChoice Choose(std::initializer_list<int> items)
{
    TBatchChoice c;
    for (int i : items)
        c.flags[size_t(i)] = true;
    return c;
}

} // namespace

TEST_F(BatchChgTest, CheckedItemsAreWrittenAndUncheckedOnesLeftAlone)
{
    rows.selected = {0, 2};
    TBatchChoice c = Choose({biKeyword1, biCategory, biPrivCorp, biSymbolColor});
    c.values.PrivCorp = false; // 会社
    c.values.SymbolColor = DefaultSymbolColor;
    c.values.Keyword2 = AnsiString("not checked");
    const TBatchOutcome out = run(c);
    EXPECT_EQ(out.changed, 2);
    const TAdrsDataRec r = row(2);
    EXPECT_TRUE(r.Keyword1.isEmpty()) << "an empty keyword clears it";
    EXPECT_TRUE(r.Keyword2.isEmpty());
    EXPECT_EQ(r.CodeMain, 0) << "指定しない removes the category";
    EXPECT_EQ(r.CodeSub, 0);
    EXPECT_FALSE(r.PrivCorp);
    EXPECT_EQ(r.SymbolColor, 8380223);
    EXPECT_EQ(FromTDateTime(r.UpdDateTime), QDateTime(QDate(2024, 5, 6), QTime(7, 8, 9)));
    EXPECT_EQ(row(1).Keyword1.text(), "old") << "an unselected row stays";
}

TEST_F(BatchChgTest, EqualRowsAreNotPostedAndTheArrayHasOneSlotPerSelectedRow)
{
    rows.selected = {1, 4, 5};
    data.table->setIndexName(QString());
    ASSERT_TRUE(data.table->findKey({recNos[4]}));
    data.table->edit();
    data.table->fieldByName(QStringLiteral("Keyword1")).setAnsi("new");
    data.table->post();
    TBatchChoice c = Choose({biKeyword1});
    c.values.Keyword1 = AnsiString("old");
    const double before = row(1).UpdDateTime;
    const TBatchOutcome out = run(c);
    EXPECT_EQ(out.recNos, (QList<qint32>{0, recNos[4], 0}));
    EXPECT_EQ(out.changed, 1);
    EXPECT_EQ(row(1).UpdDateTime, before) << "an equal row keeps its stamp";
}

TEST_F(BatchChgTest, CodesAreClearedWithoutAddressAndKeptWhenUnknown)
{
    rows.selected = {0, 1, 2};
    const auto convert = [](const AnsiString& address, AnsiString& jis, AnsiString& block) {
        if (address == "xunknown")
            return false;
        jis = "13101";
        block = "001001";
        return true;
    };
    const TBatchOutcome out = run(Choose({biCodes}), convert);
    EXPECT_EQ(out.recNos, (QList<qint32>{recNos[0], 0, recNos[2]}));
    EXPECT_TRUE(row(0).JisCode.isEmpty()) << "no address: the codes go";
    EXPECT_TRUE(row(0).KajoCode.isEmpty());
    EXPECT_EQ(row(1).JisCode.text(), "99999") << "an address the converter does not know keeps them";
    EXPECT_EQ(row(2).JisCode.text(), "13101");
    EXPECT_EQ(row(2).KajoCode.text(), "001001");
}

TEST_F(BatchChgTest, VanishedRowEndsTheRunKeepingEarlierChanges)
{
    rows.recNos[3] = 9999;
    rows.selected = {1, 3, 4};
    TBatchChoice c = Choose({biGroup});
    c.values.Group = 5;
    const TBatchOutcome out = run(c);
    EXPECT_EQ(out.end, TBatchOutcome::RowMissing);
    EXPECT_EQ(out.recNos, (QList<qint32>{recNos[1], 0}));
    EXPECT_EQ(row(1).Group, 5) << "committed before the run ended";
    EXPECT_EQ(row(4).Group, 0);
}

TEST_F(BatchChgTest, ConverterErrorCancelsThatRowAndEndsTheRun)
{
    rows.selected = {2, 3, 4};
    int calls = 0;
    const auto convert = [&calls](const AnsiString&, AnsiString& jis, AnsiString& block) -> bool {
        if (++calls == 2)
            throw EDictionaryError(QStringLiteral("DLZSCAdrs (DLZsCnv.dll) Call Error\r\nRC = 7"));
        jis = "13101";
        block = "001001";
        return true;
    };
    const TBatchOutcome out = run(Choose({biCodes}), convert);
    EXPECT_EQ(out.end, TBatchOutcome::ConverterError);
    EXPECT_TRUE(out.message.contains(QStringLiteral("RC = 7")));
    EXPECT_EQ(out.recNos, (QList<qint32>{recNos[2], 0}));
    EXPECT_EQ(row(2).JisCode.text(), "13101");
    EXPECT_EQ(row(3).JisCode.text(), "99999");
    EXPECT_EQ(data.table->state(), TableState::Browse);
}

TEST_F(BatchChgTest, FailedPostsAreCountedAndBatchesCommitTheRest)
{
    refuseUpdating({recNos[1], recNos[3]});
    data.table->refresh();
    for (const int batchSize : {1, 2, 500}) {
        rows.selected = {0, 1, 2, 3, 4, 5};
        TBatchChoice c = Choose({biGroup});
        c.values.Group = batchSize == 2 ? 7 : batchSize;
        const TBatchOutcome out = run(c, {}, batchSize);
        EXPECT_EQ(out.failedPosts, 2) << batchSize;
        EXPECT_EQ(out.changed, 4) << batchSize;
        EXPECT_EQ(out.recNos, (QList<qint32>{recNos[0], 0, recNos[2], 0, recNos[4], recNos[5]})) << batchSize;
        for (int i : {0, 2, 4, 5})
            EXPECT_EQ(row(i).Group, c.values.Group) << batchSize << " row " << i;
        EXPECT_EQ(row(1).Group, 0);
    }
}

TEST_F(BatchChgTest, DialogValuesAndStart)
{
    FakeAddressBook book(data);
    TBatchChange dialog(rows, book, *data.table);
    EXPECT_FALSE(dialog.btnStart->isEnabled());
    EXPECT_FALSE(dialog.cbxGroup->isEnabled());
    dialog.chkItem[biCategory]->setChecked(true);
    EXPECT_TRUE(dialog.btnStart->isEnabled());
    EXPECT_FALSE(dialog.cbxCatSub->isEnabled()) << "no minor list under 指定しない";
    dialog.chkItem[biPrivCorp]->setChecked(true);
    dialog.rbCorp->setChecked(true);
    dialog.chkItem[biSymbolColor]->setChecked(true);
    dialog.chkItem[biKeyword1 + 5]->setChecked(true);
    dialog.cbxKeyword[0]->setEditText(QStringLiteral("  六  "));
    const TBatchChoice c = dialog.Choice();
    EXPECT_FALSE(c.values.PrivCorp);
    EXPECT_EQ(c.values.SymbolColor, 8380223);
    EXPECT_EQ(c.values.CodeMain, 0);
    EXPECT_EQ(c.values.Keyword6.wide(), QStringLiteral("六"));
    EXPECT_EQ(c.flags.count(), 4u);

    rows.selected = {0, 1};
    MessageRecorder messages;
    messages.answer(MsgSeam::IdNo);
    dialog.btnStartClick();
    EXPECT_EQ(dialog.result(), 0) << "No leaves the dialog open";
    EXPECT_EQ(row(0).CodeMain, 3);
    messages.answer(MsgSeam::IdYes);
    dialog.btnStartClick();
    EXPECT_EQ(dialog.result(), int(QDialog::Accepted));
    EXPECT_EQ(book.edited, (QList<qint32>{recNos[0], recNos[1]}));
    EXPECT_EQ(row(1).CodeMain, 0);
    EXPECT_FALSE(row(1).PrivCorp);
}
