// The designers' record sources over real tables: rows located by RecNo, a miss, the sender rows and the
// default sender of "Sender.ini".
#include "designers/DesignerData.h"
#include "support/AdrsTableFixture.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>

namespace {

TEST(DesignerData, AddressRowsByRecNo)
{
    AdrsTableFixture tables;
    const qint32 first = tables.add({{"NameKanji", QStringLiteral("見本 太郎")}, {"PrivCorp", true}});
    const qint32 second = tables.add({{"NameKanji", QStringLiteral("試験 花子")}, {"Sender", 3}});
    int selected = 1;
    TTableAddressSource source(
        tables.adrs(), [] { return 2; }, [&](int i) { return i == 0   ? first
                                                             : i == 1 ? second
                                                                      : -1; },
        [&] { return selected; });
    EXPECT_EQ(source.GetFirstSelectedRecNo(), second);
    const TMergeRow* row = source.LocateRecord(first);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(ToWide(row->Text("NameKanji")), QStringLiteral("見本 太郎"));
    EXPECT_TRUE(row->Flag("PrivCorp"));
    row = source.LocateRecord(second);
    ASSERT_NE(row, nullptr);
    EXPECT_EQ(row->Number("Sender"), 3);
    EXPECT_EQ(source.LocateRecord(second + 100), nullptr);
    selected = -1;
    EXPECT_EQ(source.GetFirstSelectedRecNo(), -1);
}

TEST(DesignerData, SenderRowsAndDefault)
{
    AdrsTableFixture tables;
    Table& senders = tables.sender();
    TTableSenderSource empty(senders, 0);
    EXPECT_TRUE(empty.SenderRecNos().empty());

    senders.open();
    const qint32 a = AdrsTableFixture::add(senders, {{"Name", QStringLiteral("差出 一郎")}});
    const qint32 b = AdrsTableFixture::add(senders, {{"Name", QStringLiteral("差出 二郎")}});
    senders.close();
    WriteFileBytes(tables.folder() + "Sender.ini", "[SENDER]\r\nDefault=" + QByteArray::number(b) + "\r\n");
    TTableSenderSource source(senders, LoadDefaultSender(tables.folder()));
    EXPECT_EQ(source.DefaultSenderNo(), b);
    EXPECT_EQ(source.SenderRecNos(), (std::vector<qint32>{a, b}));
    EXPECT_FALSE(senders.active()); // closed again after reading
    ASSERT_NE(source.LocateSender(b), nullptr);
    EXPECT_EQ(ToWide(source.LocateSender(b)->Text("Name")), QStringLiteral("差出 二郎"));
    EXPECT_EQ(source.LocateSender(b + 5), nullptr);
    EXPECT_EQ(LoadDefaultSender(tables.folder() + "none/"), 0);
}

} // namespace
