// The telephone prefix rules and the conversion of the book and sender tables.
#include "maintenance/CnvKykbn.h"
#include "maintenance/DataFolderFixture.h"
#include "maintenance/TableTools.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"

#include <gtest/gtest.h>
#include <QProgressBar>

namespace {

TEST(CnvKykbn, NumberRule)
{
    const QDate today(2026, 12, 11);
    const struct
    {
        const char* text;
        const char* expected; // nullptr: no write
    } cases[] = {
        {"0612345678", nullptr},       // ten characters of 06 stay
        {"061234567", "0661234567"},   // nine gain a 6
        {"06-123-456", nullptr},       // ten with hyphens
        {"06-12-345", "066-12-345"},   // the hyphen counts as a character
        {"0601234567", "07061234567"}, // 060 follows its own rule
        {"0501234567", "07051234567"},
        {"0101234567", "09011234567"}, // ten digits of 010 become eleven beginning 0901
        {"0801234567", "09081234567"},
        {"0201234", "09021234"},          // shorter texts too
        {"010", nullptr},                 // three characters
        {"0101", "09011"},                // four
        {"01012345678", nullptr},         // eleven
        {"080-1234-5678", nullptr},       // hyphens beyond ten characters
        {"0720-12-3456", "0728-12-3456"}, // 0720 keeps its hyphens
        {"07201", "07281"},               // five characters
        {"0720", nullptr},                // four
        {"07201234567", "07281234567"},   // 0720 has no length limit
        {"  061234567 ", "0661234567"},   // trimmed before and after
        {" 0612345678  ", nullptr},       // blanks alone cause no write
        {"   ", nullptr},
        {"", nullptr},
        {"61234567", nullptr},           // not beginning with 0
        {"０６１２３４５６７", nullptr}, // full-width digits are other characters
        {"03-1234-5678", nullptr},
    };
    for (const auto& c : cases) {
        const auto result = ConvertPhoneNumber(QString::fromUtf8(c.text), today);
        if (c.expected)
            EXPECT_EQ(result, std::optional<QString>(QString::fromUtf8(c.expected))) << c.text;
        else
            EXPECT_FALSE(result) << c.text << " -> " << result.value_or(QString()).toStdString();
    }
}

TEST(CnvKykbn, AreaRuleOnlyFrom2000AndNeverAfterThePrefixRule)
{
    EXPECT_EQ(ConvertArea0720(QStringLiteral("0720123456"), QDate(1999, 12, 31)),
              QStringLiteral("0720123456"));
    EXPECT_EQ(ConvertArea0720(QStringLiteral("0720123456"), QDate(2000, 1, 1)), QStringLiteral("0728123456"));
    // No prefix result begins with 0720, so the second rule sees only texts the first left alone.
    for (const char* text : {"0720123", "0701234567", "0601234567", "072012345"})
        EXPECT_FALSE(ConvertPrefix(QString::fromUtf8(text)).startsWith(QLatin1String("0720")) &&
                     ConvertPrefix(QString::fromUtf8(text)) != QString::fromUtf8(text))
            << text;
}

class CnvKykbnTest : public DataFolderFixture
{
protected:
    void SetUp() override
    {
        DataFolderFixture::SetUp();
        dm = std::make_unique<TDMQuenrid215>();
        dm->CreateAdrsTable(QStringLiteral("アドレス"));
        dm->CreateSenderTable();
        ASSERT_TRUE(dm->OpenAdrs());
    }

    void TearDown() override
    {
        dm.reset();
        DataFolderFixture::TearDown();
    }

    static void setFields(Table& t, const QStringList& fields, const QStringList& values)
    {
        for (int i = 0; i < fields.size(); ++i)
            t.fieldByName(fields[i]).setString(values[i]);
    }

    std::unique_ptr<TDMQuenrid215> dm;
};

TEST_F(CnvKykbnTest, ConvertsTheBookAndTheSenderRecords)
{
    const QStringList bookFields = {QStringLiteral("Tel"), QStringLiteral("Fax"), QStringLiteral("Portable1"),
                                    QStringLiteral("Portable2")};
    Table& book = *dm->AdrsTable();
    book.first(); // 山田: one field to change
    book.edit();
    setFields(book, bookFields, {QStringLiteral("061234567"), QStringLiteral(" 031234567 "), {}, {}});
    book.post();
    book.next(); // 佐藤: blanks only
    book.edit();
    setFields(book, bookFields, {QStringLiteral(" 0612345678"), {}, {}, {}});
    book.post();
    const QDateTime stamp(QDate(2020, 1, 1), QTime(0, 0));
    for (book.first(); !book.eof(); book.next()) {
        book.edit();
        book.fieldByName(QStringLiteral("UpdDateTime")).setDateTime(stamp);
        book.post();
    }
    {
        Table sender;
        sender.setTableName(OtherFolder + QStringLiteral("Sender.DB"));
        sender.open();
        for (const char* fax : {"0801234567", "0612345678"}) {
            sender.append();
            sender.fieldByName(QStringLiteral("Fax")).setString(QString::fromUtf8(fax));
            sender.post();
        }
    }

    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    TConvertKykbn dialog(nullptr, [] { return true; });
    EXPECT_EQ(RunModal(dialog, [&](QDialog&) { dialog.btnConvertClick(); }), QDialog::Accepted);
    EXPECT_EQ(messages.last().text,
              QStringLiteral("局番変換が完了しました  \r\n\r\n  処理件数 = 4 件  \r\n  変換件数 = 2 件  "));
    EXPECT_EQ(dialog.findChild<QProgressBar*>(QStringLiteral("pgbarConvert"))->value(), 4);

    book.refresh();
    book.first();
    EXPECT_EQ(book.fieldByName(QStringLiteral("Tel")).asString(), QStringLiteral("0661234567"));
    EXPECT_EQ(book.fieldByName(QStringLiteral("Fax")).asString(), QStringLiteral(" 031234567 "));
    EXPECT_NE(book.fieldByName(QStringLiteral("UpdDateTime")).asDateTime(), stamp);
    book.next();
    EXPECT_EQ(book.fieldByName(QStringLiteral("Tel")).asString(), QStringLiteral(" 0612345678"));
    EXPECT_EQ(book.fieldByName(QStringLiteral("UpdDateTime")).asDateTime(), stamp);
    EXPECT_EQ(dm->OpenCount(TDMQuenrid215::tkAdrs), 1);
    EXPECT_EQ(dm->OpenCount(TDMQuenrid215::tkSender), 0);

    Table sender;
    sender.setTableName(OtherFolder + QStringLiteral("Sender.DB"));
    sender.open();
    sender.first();
    EXPECT_EQ(sender.fieldByName(QStringLiteral("Fax")).asString(), QStringLiteral("09081234567"));
    EXPECT_TRUE(QFile::exists(DataFolder + QStringLiteral("backup.kyk/Adrs/アドレス/Adrs.DB")));
    EXPECT_TRUE(QFile::exists(DataFolder + QStringLiteral("backup.kyk/Other/Sender.DB")));
}

TEST_F(CnvKykbnTest, BatchesCommitAcrossThousandsAndRefusedValuesAreSkipped)
{
    Table& book = *dm->AdrsTable();
    book.startTransaction();
    for (int i = 0; i < 2500; ++i) {
        book.append();
        book.fieldByName(QStringLiteral("Tel"))
            .setString(i % 3 ? QStringLiteral("03") : QStringLiteral("061234567"));
        book.post();
    }
    book.commit();
    // A new value one byte wider than the field: the whole record keeps its old values.
    book.first();
    book.edit();
    book.fieldByName(QStringLiteral("Tel")).setString(QStringLiteral("061234567"));
    book.fieldByName(QStringLiteral("Portable1")).setString(QStringLiteral("010ー123456"));
    book.post();
    int steps = 0;
    const int converted =
        ConvertPhoneFields(book, {QStringLiteral("Tel"), QStringLiteral("Portable1")},
                           QStringLiteral("UpdDateTime"), QDateTime::currentDateTime(), [&] { ++steps; });
    EXPECT_EQ(steps, 2502);
    EXPECT_EQ(converted, 834);
    EXPECT_FALSE(book.inTransaction());
    Table check;
    check.setTableName(AdrsFolder + QStringLiteral("アドレス/Adrs.DB"));
    check.open();
    int changed = 0;
    for (check.first(); !check.eof(); check.next())
        changed += check.fieldByName(QStringLiteral("Tel")).asString() == QStringLiteral("0661234567");
    EXPECT_EQ(changed, 834);
}

TEST_F(CnvKykbnTest, FailedSafetyCopyChangesNothing)
{
    Table& book = *dm->AdrsTable();
    book.first();
    book.edit();
    book.fieldByName(QStringLiteral("Tel")).setString(QStringLiteral("061234567"));
    book.post();
    SetCopyFaultHook([](TCopyStep, const QString&) { return true; });
    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    TConvertKykbn dialog(nullptr, [] { return true; });
    dialog.btnConvertClick();
    EXPECT_EQ(dialog.result(), QDialog::Rejected);
    EXPECT_EQ(messages.last().flags & 0xF0, unsigned(MsgSeam::MbIconStop));
    book.refresh();
    book.first();
    EXPECT_EQ(book.fieldByName(QStringLiteral("Tel")).asString(), QStringLiteral("061234567"));
}

} // namespace
