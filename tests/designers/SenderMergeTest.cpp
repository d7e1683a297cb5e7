// A sender row merged into the sender block's item texts: postal marks, joint names and notes, the company
// lines of the simple set, contacts and the dash forms of the paper's direction.
#include "core/Dlhyp.h"
#include "core/MainSettings.h"
#include "designers/SenderMerge.h"
#include "layoutobjects/NameRect.h"
#include "layoutobjects/SenderRect.h"

#include <gtest/gtest.h>

#include <functional>

namespace {

using namespace LayoutSettingsField;

TMemoryRow Row(std::initializer_list<std::pair<const char*, QVariant>> fields)
{
    TMemoryRow row;
    for (const auto& [name, value] : fields)
        row.Fields.insert(QString::fromLatin1(name), value.typeId() == QMetaType::QString
                                                         ? QVariant(ToAnsi(value.toString()))
                                                         : value);
    return row;
}

TMemoryRow Person(std::initializer_list<std::pair<const char*, QVariant>> more)
{
    TMemoryRow row = Row({{"SelectInfo", 1}, {"Name", QStringLiteral("山田 太郎")}, {"NamePrint", true}});
    for (const auto& [name, value] : Row(more).Fields.asKeyValueRange())
        row.Fields.insert(name, value);
    return row;
}

TLayoutSettings Settings(std::initializer_list<std::pair<int, int>> bytes = {},
                         std::initializer_list<std::pair<int, int>> ints = {})
{
    TLayoutSettings s;
    for (const auto& [at, value] : bytes)
        s.SetByte(at, quint8(value));
    for (const auto& [at, value] : ints)
        s.SetInt(at, value);
    return s;
}

QStringList JointNames(const TSenderItemTexts& t)
{
    QStringList names;
    for (const TSenderJointLine& j : t.Joints)
        names << j.Name;
    return names;
}

struct Case
{
    const char* what;
    TMemoryRow row;
    TLayoutSettings settings;
    bool simple;
    int direction;
    std::function<void(const TSenderItemTexts&)> check;
};

class SenderMergeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_saved = ProgramFolder;
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        ASSERT_EQ(LoadHyphenLibrary(ProgramFolder, ProgramFolder + QStringLiteral("Dic/")), 0);
    }
    void TearDown() override
    {
        FreeHyphenLibrary();
        ProgramFolder = m_saved;
    }
    QString m_saved;
};

TEST_F(SenderMergeTest, ItemTexts)
{
    const QString sameFamily[] = {QStringLiteral("山田 花子"), QStringLiteral("山田 一郎"),
                                  QStringLiteral("山田 次郎")};
    const Case cases[] = {
        {"postal mark 1", Row({{"Pos", "1000001"}}), Settings({}, {{SenderPostalMark, 1}}), true, 0,
         [](const TSenderItemTexts& t) { EXPECT_EQ(t.Postal, QStringLiteral("〒１００-０００１")); }},
        {"postal mark 2", Row({{"Pos", "1000001"}}), Settings({}, {{SenderPostalMark, 2}}), true, 0,
         [](const TSenderItemTexts& t) { EXPECT_EQ(t.Postal, QStringLiteral("１００-０００１")); }},
        {"three digits", Row({{"Pos", "100"}}), Settings({}, {{SenderPostalMark, 1}}), true, 0,
         [](const TSenderItemTexts& t) { EXPECT_EQ(t.Postal, QStringLiteral("〒１００")); }},
        {"digits only", Row({{"Pos", "1000001"}}), Settings(), true, 0,
         [](const TSenderItemTexts& t) { EXPECT_EQ(t.Postal, QStringLiteral("１０００００１")); }},
        {"joint names together",
         Person({{"JointPrint1", true}, {"Joint1", sameFamily[0]}, {"Note1", "妻"},
                 {"JointPrint2", true}, {"Joint2", sameFamily[1]},
                 {"JointPrint3", true}, {"Joint3", sameFamily[2]},
                 {"JointPrint4", true}, {"Joint4", QStringLiteral("佐藤 健")}}),
         Settings({{JointNamesTogether, 1}, {SenderNameAlign, 2}}), true, 1,
         [](const TSenderItemTexts& t) {
             EXPECT_EQ(t.Name, QStringLiteral("山田 太郎・花子"));
             EXPECT_EQ(JointNames(t),
                       QStringList({QStringLiteral(" 一郎・次郎"), QStringLiteral("佐藤 健")}));
             EXPECT_TRUE(t.Note.isEmpty());
             EXPECT_EQ(t.NameAlign, 2);
         }},
        {"joint names apart with notes",
         Person({{"JointPrint1", true}, {"Joint1", sameFamily[0]}, {"Note1", "妻"}}), Settings(), true, 1,
         [](const TSenderItemTexts& t) {
             EXPECT_EQ(t.Name, QStringLiteral("山田 太郎"));
             ASSERT_EQ(t.Joints.size(), 1u);
             EXPECT_EQ(t.Joints[0].Name, QStringLiteral(" 花子"));
             EXPECT_EQ(t.Joints[0].Note, QStringLiteral("妻"));
         }},
        {"name not printed",
         Person({{"NamePrint", false}, {"JointPrint2", true}, {"Joint2", sameFamily[0]}, {"Note2", "妻"},
                 {"JointPrint3", true}, {"Joint3", QStringLiteral("佐藤 健")}}),
         Settings(), true, 1,
         [](const TSenderItemTexts& t) {
             EXPECT_EQ(t.Name, QStringLiteral("山田 花子"));
             EXPECT_EQ(t.Note, QStringLiteral("妻"));
             EXPECT_EQ(JointNames(t), QStringList({QStringLiteral("佐藤 健")}));
         }},
        {"company without a name, simple set",
         Row({{"SelectInfo", 2}, {"Corp", "株式会社見本"}, {"Dptmnt", "営業部"}, {"Post", "部長"}}),
         Settings({{CompanyBreak, 1}}), true, 1,
         [](const TSenderItemTexts& t) {
             EXPECT_TRUE(t.IgnoreName);
             EXPECT_EQ(t.Name, QStringLiteral("部長"));
             EXPECT_TRUE(t.Title.isEmpty());
             EXPECT_EQ(t.Department, QStringLiteral("営業部"));
             EXPECT_TRUE(t.CorpBreak);
         }},
        {"company without title or department",
         Row({{"SelectInfo", 2}, {"Corp", "株式会社見本"}}), Settings(), true, 1,
         [](const TSenderItemTexts& t) {
             EXPECT_EQ(t.Name, QStringLiteral("株式会社見本"));
             EXPECT_TRUE(t.Company.isEmpty());
         }},
        {"company, detailed set",
         Row({{"SelectInfo", 2}, {"Corp", "株式会社見本"}, {"Post", "部長"}}), Settings(), false, 1,
         [](const TSenderItemTexts& t) {
             EXPECT_FALSE(t.IgnoreName);
             EXPECT_TRUE(t.Name.isEmpty());
             EXPECT_EQ(t.Company, QStringLiteral("株式会社見本"));
             EXPECT_EQ(t.Title, QStringLiteral("部長"));
         }},
        {"company form abbreviated",
         Row({{"SelectInfo", 2}, {"Name", "見本"}, {"Corp", "株式会社見本"}}),
         Settings({}, {{CompanyForm, 1}}), false, 1,
         [](const TSenderItemTexts& t) { EXPECT_EQ(t.Company, AbbreviateCompanyType(QStringLiteral("株式会社見本"), false)); }},
        {"contacts",
         Row({{"AdditionPrint2", true}, {"Head2", "E-Mail"}, {"Addition2", "a-b@example.jp"},
              {"AdditionPrint3", true}, {"Head3", "TEL"}, {"Addition3", "0312345678"},
              {"AdditionPrint4", true}, {"Head4", "メモ"}, {"Addition4", "1-2"}}),
         Settings(), true, 1,
         [](const TSenderItemTexts& t) {
             EXPECT_EQ(t.SimpleAdditionKinds, (std::array<quint8, 2>{20, 21}));
             EXPECT_EQ(t.Contacts[1].Heading, QStringLiteral("E-Mail"));
             EXPECT_EQ(t.Contacts[1].Text, QStringLiteral("a-b@example.jp"));
             EXPECT_EQ(t.Contacts[2].Heading, QStringLiteral("ＴＥＬ"));
             EXPECT_EQ(t.Contacts[2].Text, QStringLiteral("０３－１２３４－５６７８"));
             EXPECT_EQ(t.Contacts[3].Text, QStringLiteral("１－２"));
             EXPECT_TRUE(t.Contacts[0].Heading.isEmpty() && t.Contacts[0].Text.isEmpty());
         }},
        {"vertical paper",
         Row({{"Tdfkn", "東京都"}, {"Adrs1", "千代田区1-2-3"}, {"Head1", "メモ"}, {"Addition1", "1-2"}}),
         Settings(), true, 0,
         [](const TSenderItemTexts& t) {
             EXPECT_EQ(t.AddressLines[0], QStringLiteral("東京都千代田区１ー２ー３"));
             EXPECT_EQ(t.Contacts[0].Text, QStringLiteral("１ー２"));
         }},
        {"horizontal paper",
         Row({{"Tdfkn", "東京都"}, {"Adrs1", "千代田区1-2-3"}, {"Adrs2", "見本ビル"}}),
         Settings({{HidePrefecture, 1}, {HyphenToNo, 1}}), true, 1,
         [](const TSenderItemTexts& t) {
             EXPECT_EQ(t.AddressLines[0], QStringLiteral("千代田区１の２の３"));
             EXPECT_EQ(t.AddressLines[1], QStringLiteral("見本ビル"));
         }},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        c.check(SenderItemTexts(c.row, c.settings, c.simple, c.direction));
    }
}

TEST_F(SenderMergeTest, TextsGoToTheSetTheBlockShows)
{
    const TMemoryRow row = Row({{"SelectInfo", 2}, {"Name", "見本"}, {"Corp", "株式会社見本"},
                                {"Pos", "1000001"}, {"Adrs2", "二行目"}, {"AdditionPrint1", true},
                                {"Head1", "FAX"}, {"Addition1", "0312345678"}});
    TSenderRect block;
    ApplySenderItemTexts(block, SenderItemTexts(row, Settings(), true, 1));
    EXPECT_EQ(block.GetName(true)->Company(), QStringLiteral("株式会社見本"));
    EXPECT_EQ(block.GetSimpleAddress()->GetLine(1), QStringLiteral("二行目"));
    EXPECT_EQ(block.GetSimpleAddition(0)->ItemKind(), 19);
    EXPECT_TRUE(block.GetSimpleAddition(0)->Visible());
    EXPECT_FALSE(block.GetSimpleAddition(1)->Visible());
    EXPECT_EQ(block.GetSimpleAddition(0)->Heading(), QStringLiteral("ＦＡＸ"));

    block.SetSimpleLayout(false);
    ApplySenderItemTexts(block, SenderItemTexts(row, Settings(), false, 1));
    EXPECT_EQ(block.GetCompany()->Text(), QStringLiteral("株式会社見本"));
    EXPECT_EQ(block.GetAddressLine(1)->GetLine(0), QStringLiteral("二行目"));
    EXPECT_EQ(block.GetContact(0)->Heading(), QStringLiteral("ＦＡＸ"));
    EXPECT_TRUE(block.GetContact(1)->Text().isEmpty());
    EXPECT_TRUE(block.GetPostal(true)->Text().isEmpty()); // the simple set was cleared
}

} // namespace
