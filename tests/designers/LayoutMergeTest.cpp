// Merging records into the address-side frames: postal marks, address conversions, joint names, company
// forms and honorific placement, sender names and contacts, the sender fallbacks and a record that cannot be
// located.
#include "core/Dlhyp.h"
#include "core/FontSub.h"
#include "core/MainSettings.h"
#include "designers/LayoutDocument.h"
#include "platform/Printers.h"
#include "support/MessageRecorder.h"

#include <gtest/gtest.h>
#include <QTemporaryDir>

namespace {

using namespace LayoutSettingsField;

TMemoryRow Row(std::initializer_list<std::pair<const char*, QVariant>> fields)
{
    TMemoryRow row;
    for (const auto& [name, value] : fields)
        row.Fields.insert(QString::fromLatin1(name), value);
    return row;
}

class LayoutMergeTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_saved = {ProgramFolder, DataRootFolder};
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = m_dir.path() + u'/';
        TPrinterList::Instance().SetPrinters({});
        m_context.AddressList = &m_list;
        m_context.Senders = &m_senders;
    }
    void TearDown() override
    {
        ProgramFolder = m_saved[0];
        DataRootFolder = m_saved[1];
    }
    // A new layout on a shipped postcard (0 vertical writing, 1 horizontal) with the records merged.
    std::unique_ptr<TLayoutDocument> Layout(int index, bool detailed = false)
    {
        auto document = std::make_unique<TLayoutDocument>(m_context);
        document->PaperIndex = index;
        EXPECT_TRUE(document->LoadPaperFormat());
        document->SetIndividualLayout(false, true);
        document->NewLayout();
        if (detailed)
            document->SetIndividualLayout(true);
        return document;
    }
    // Merges the one record into a layout with these settings bytes.
    std::unique_ptr<TLayoutDocument> Merge(const TMemoryRow& record, int index = 0, bool detailed = false,
                                           std::initializer_list<std::pair<int, int>> bytes = {},
                                           std::initializer_list<std::pair<int, int>> ints = {})
    {
        m_list.Rows = {record};
        auto document = Layout(index, detailed);
        for (const auto& [at, value] : bytes)
            document->Settings.SetByte(at, quint8(value));
        for (const auto& [at, value] : ints)
            document->Settings.SetInt(at, value);
        EXPECT_TRUE(document->RefreshData());
        return document;
    }

    QTemporaryDir m_dir;
    QStringList m_saved;
    TMemoryAddressList m_list;
    TMemorySenders m_senders;
    TLayoutContext m_context;
};

TEST_F(LayoutMergeTest, PostalMarks)
{
    struct Case
    {
        const char* postal;
        int mark;
        const char* expected;
    };
    const Case cases[] = {{"1000013", 1, "〒１００-００１３"},
                          {"1000013", 2, "１００-００１３"},
                          {"1000013", 0, "１００００１３"},
                          {"123", 1, "〒１２３"},
                          {"", 1, ""}};
    for (const Case& c : cases) {
        auto document = Merge(Row({{"RecNo", 1}, {"Pos", c.postal}, {"PrivCorp", true}}), 0, false, {},
                              {{RecipientPostalMark, c.mark}});
        EXPECT_EQ(document->Simple().Postal->Text(), QString::fromUtf8(c.expected))
            << c.postal << " " << c.mark;
    }
}

TEST_F(LayoutMergeTest, AddressDashesAndKanjiNumerals)
{
    const TMemoryRow record =
        Row({{"RecNo", 1}, {"Tdfkn", "東京都"}, {"Adrs1", "千代田区1-2-3"}, {"PrivCorp", true}});
    struct Case
    {
        const char* what;
        int paper;
        std::initializer_list<std::pair<int, int>> bytes;
        const char* expected;
    };
    const Case cases[] = {
        {"vertical", 0, {}, "東京都千代田区１ー２ー３"},
        {"horizontal", 1, {}, "東京都千代田区１－２－３"},
        {"の, horizontal", 1, {{HyphenToNo, 1}}, "東京都千代田区１の２の３"},
        {"の, vertical", 0, {{HyphenToNo, 1}}, "東京都千代田区１の２の３"},
        {"kanji numerals", 0, {{KanjiNumerals, 1}}, "東京都千代田区一ー二ー三"},
        {"no prefecture", 1, {{HidePrefecture, 1}}, "千代田区１－２－３"},
    };
    for (const Case& c : cases) {
        auto document = Merge(record, c.paper, false, c.bytes);
        EXPECT_EQ(document->Simple().Address->GetLine(0), QString::fromUtf8(c.expected)) << c.what;
    }
    auto detailed = Merge(Row({{"RecNo", 1}, {"Adrs1", "a"}, {"Adrs2", "b"}, {"Adrs3", "c"}}), 1, true);
    EXPECT_EQ(detailed->Detailed().Address[2]->GetLine(0), QStringLiteral("ｃ"));
}

TEST_F(LayoutMergeTest, JointNames)
{
    const QString own = QStringLiteral("見本 太郎");
    struct Case
    {
        const char* what;
        TMemoryRow record;
        const char* name;
        const char* honorific;
        QStringList joints;
    };
    const Case cases[] = {
        {"joint 1 without own name",
         Row({{"JointPrint", false}, {"JointPrint1", true}, {"Joint1", "花子"}}),
         "見本 花子",
         "様",
         {}},
        {"own name and two joints",
         Row({{"JointPrint", true},
              {"JointPrint1", true},
              {"Joint1", "花子"},
              {"JointHonor1", "ちゃん"},
              {"JointPrint2", true},
              {"Joint2", "別姓 次郎"}}),
         "見本 太郎",
         "様",
         {" 花子", "別姓 次郎"}},
        {"owner with another surname",
         Row({{"JointPrint", true}, {"JointOwner", 1}, {"Joint1", "別姓 花子"}, {"JointHonor1", "殿"}}),
         "別姓 花子",
         "殿",
         {"見本 太郎"}},
        {"owner sharing the surname",
         Row({{"JointPrint", false}, {"JointOwner", 2}, {"Joint2", "花子"}}),
         "見本 花子",
         "様",
         {}},
    };
    for (const Case& c : cases) {
        TMemoryRow record = c.record;
        record.Fields.insert("RecNo", 1);
        record.Fields.insert("NameKanji", own);
        record.Fields.insert("PrivCorp", true);
        auto document = Merge(record, 1);
        const TNameRect* name = document->Simple().Name;
        EXPECT_EQ(name->NameKind(), NameKindPerson) << c.what;
        EXPECT_EQ(name->Name(), QString::fromUtf8(c.name)) << c.what;
        EXPECT_EQ(name->Honorific(), QString::fromUtf8(c.honorific)) << c.what;
        QStringList joints;
        for (int i = 0; i < name->GetJointCount(); ++i)
            joints << name->GetJointName(i);
        EXPECT_EQ(joints, c.joints) << c.what;
    }
}

TEST_F(LayoutMergeTest, CompanyFormsAndHonorificPlacement)
{
    const TMemoryRow company = Row({{"RecNo", 1},
                                    {"PrivCorp", false},
                                    {"NameKanji", "見本 太郎"},
                                    {"CorpKanji", "株式会社見本"},
                                    {"Dptmnt", "総務部"},
                                    {"Post", ""}});
    auto abbreviated = Merge(company, 1, false, {}, {{CompanyForm, 1}});
    EXPECT_EQ(abbreviated->Simple().Name->Company(),
              AbbreviateCompanyType(QStringLiteral("株式会社見本"), false));
    EXPECT_NE(abbreviated->Simple().Name->Company(), QStringLiteral("株式会社見本"));
    EXPECT_EQ(abbreviated->Simple().Name->Honorific(), QStringLiteral("様"));

    // Simple set, no name: the title stands in with the title honorific, else the department.
    TMemoryRow titled = company;
    titled.Fields["NameKanji"] = "";
    titled.Fields["Post"] = "部長";
    auto simple = Merge(titled, 1);
    EXPECT_EQ(simple->Simple().Name->Name(), QStringLiteral("部長"));
    EXPECT_EQ(simple->Simple().Name->Honorific(), QStringLiteral("様"));
    EXPECT_TRUE(simple->Simple().Name->GetCorpLine(2).isEmpty());
    TMemoryRow department = company;
    department.Fields["NameKanji"] = "";
    auto byDepartment = Merge(department, 1);
    EXPECT_EQ(byDepartment->Simple().Name->Name(), QStringLiteral("総務部"));
    EXPECT_EQ(byDepartment->Simple().Name->Honorific(), QStringLiteral("御中"));

    // Detailed set, no name: the honorific goes to the last company line shown.
    auto detailed = Merge(department, 1, true);
    EXPECT_TRUE(detailed->Detailed().Name->Honorific().isEmpty());
    EXPECT_EQ(detailed->Detailed().Corp[1]->Honorific(), QStringLiteral("御中"));
    EXPECT_TRUE(detailed->Detailed().Corp[0]->Honorific().isEmpty());
    auto named = Merge(company, 1, true);
    EXPECT_EQ(named->Detailed().Name->Honorific(), QStringLiteral("様"));
    EXPECT_TRUE(named->Detailed().Corp[1]->Honorific().isEmpty());
}

TEST_F(LayoutMergeTest, SenderJointNamesTogetherAndContacts)
{
    m_senders.Rows = {Row({{"RecNo", 7},
                           {"Name", "見本 太郎"},
                           {"SelectInfo", 1},
                           {"NamePrint", true},
                           {"Joint1", "花子"},
                           {"JointPrint1", true},
                           {"Joint2", "次郎"},
                           {"JointPrint2", true},
                           {"Joint3", "三郎"},
                           {"JointPrint3", true},
                           {"AdditionPrint2", true},
                           {"Head2", "E-Mail"},
                           {"Addition2", "taro@example.jp"},
                           {"AdditionPrint3", true},
                           {"Head3", "TEL"},
                           {"Addition3", "0312345678"}})};
    m_senders.Default = 7;
    ASSERT_EQ(LoadHyphenLibrary(ProgramFolder, ProgramFolder + QStringLiteral("Dic/")), 0);
    auto document =
        Merge(Row({{"RecNo", 1}, {"PrivCorp", true}, {"Sender", 7}}), 1, false, {{JointNamesTogether, 1}});
    const TSimpleSet& s = document->Simple();
    EXPECT_EQ(s.SenderName->Name(), QStringLiteral("見本 太郎・花子"));
    ASSERT_EQ(s.SenderName->GetJointCount(), 1);
    EXPECT_EQ(s.SenderName->GetJointName(0), QStringLiteral(" 次郎・三郎"));
    EXPECT_TRUE(s.SenderName->Honorific().isEmpty());

    EXPECT_EQ(s.Contacts[0]->ItemKind(), 20);
    EXPECT_EQ(s.Contacts[1]->ItemKind(), 21);
    EXPECT_GE(document->StackingIndex(s.Contacts[0]), 0);
    EXPECT_GE(document->StackingIndex(s.Contacts[1]), 0);
    EXPECT_EQ(s.Contacts[0]->Heading(), QStringLiteral("E-Mail"));
    EXPECT_EQ(s.Contacts[0]->Text(), QStringLiteral("taro@example.jp"));
    EXPECT_EQ(s.Contacts[1]->Heading(), QStringLiteral("ＴＥＬ"));
    const QString tel = s.Contacts[1]->Text();
    EXPECT_TRUE(tel.startsWith(QStringLiteral("０３"))) << tel.toStdString();
    EXPECT_GT(tel.size(), 10) << tel.toStdString(); // hyphenated
    for (QChar c : tel)
        EXPECT_GT(c.unicode(), 0x7F) << tel.toStdString();

    // Without the sender's contacts the lines leave the page again.
    m_senders.Rows[0].Fields["AdditionPrint2"] = false;
    m_senders.Rows[0].Fields["AdditionPrint3"] = false;
    document->ShowSenderData();
    EXPECT_LT(document->StackingIndex(s.Contacts[0]), 0);
    EXPECT_FALSE(s.Contacts[1]->Visible());
    FreeHyphenLibrary();
}

TEST_F(LayoutMergeTest, SenderFallbacks)
{
    m_senders.Rows = {Row({{"RecNo", 3}, {"Name", "一番目"}, {"SelectInfo", 0}}),
                      Row({{"RecNo", 5}, {"Name", "既定"}, {"SelectInfo", 0}})};
    m_senders.Default = 5;
    auto document = Merge(Row({{"RecNo", 1}, {"PrivCorp", true}, {"Sender", 99}}), 1);
    // A name without a space has an empty surname part.
    EXPECT_EQ(document->Simple().SenderName->Name(), QStringLiteral(" 既定"));
    EXPECT_EQ(document->SenderRecNo, 5);
    m_senders.Default = 42;
    document = Merge(Row({{"RecNo", 1}, {"PrivCorp", true}, {"Sender", 99}}), 1);
    EXPECT_EQ(document->Simple().SenderName->Name(), QStringLiteral(" 一番目"));
    EXPECT_EQ(m_senders.Default, 3);
    // No record shown: the sender frames stay empty.
    m_list.Rows.clear();
    document->ShowSenderData();
    EXPECT_TRUE(document->Simple().SenderName->Name().isEmpty());
}

TEST_F(LayoutMergeTest, RecordThatCannotBeLocatedStaysEmpty)
{
    auto document = Merge(Row({{"RecNo", 1},
                               {"PrivCorp", true},
                               {"NameKanji", "見本 太郎"},
                               {"JointPrint", true},
                               {"Pos", "1000013"}}),
                          1);
    EXPECT_FALSE(document->Simple().Name->Name().isEmpty());
    EXPECT_FALSE(document->ShowRecordData(99));
    EXPECT_TRUE(document->Simple().Name->Name().isEmpty());
    EXPECT_TRUE(document->Simple().Postal->Text().isEmpty());
}

} // namespace
