// Merging into label and card frames: postal marks, joint names, cards without honorifics, company lines,
// additional items by kind, the sender in the recipient frames and a record that cannot be located.
#include "core/AppSub.h"
#include "core/Dlhyp.h"
#include "core/MainSettings.h"
#include "designers/LabelDocument.h"
#include "designers/LayoutDocument.h"
#include "platform/Printers.h"

#include <gtest/gtest.h>
#include <QDate>
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

QStringList Joints(const TNameRect* name)
{
    QStringList joints;
    for (int i = 0; i < name->GetJointCount(); ++i)
        joints << name->GetJointName(i) + u'|' + name->GetJointHonorific(i);
    return joints;
}

class LabelMergeTest : public ::testing::Test
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
        TStandardFormats formats;
        ASSERT_EQ(LoadLayoutFormats(LayoutFormatPath(), formats), FormatFileState::Read);
        for (size_t i = 0; i < formats.Formats.size(); ++i) {
            const TPaperFormat& f = formats.Formats[i];
            if (f.Kind == PaperLabel && f.Direction == 1 && m_label < 0)
                m_label = int(i);
            if (f.Kind == PaperCard && f.Direction == 0 && m_card < 0)
                m_card = int(i);
        }
        ASSERT_GE(m_label, 0);
        ASSERT_GE(m_card, 0);
    }
    void TearDown() override
    {
        ProgramFolder = m_saved[0];
        DataRootFolder = m_saved[1];
    }
    // A new layout (label sheet written vertically, or a card written across) with the one record merged.
    std::unique_ptr<TLayoutDocument> Merge(const TMemoryRow& record, quint8 mode = LabelModeLabel,
                                           bool individual = false,
                                           std::initializer_list<std::pair<int, int>> bytes = {},
                                           std::initializer_list<std::pair<int, int>> ints = {},
                                           std::initializer_list<quint8> items = {})
    {
        m_list.Rows = {record};
        auto document = NewLabelDocument(m_context, mode, mode == LabelModeCard ? m_card : m_label, 1);
        EXPECT_TRUE(document);
        if (individual)
            document->SetIndividualLayout(true);
        for (const auto& [at, value] : bytes)
            document->Settings.SetByte(at, quint8(value));
        for (const auto& [at, value] : ints)
            document->Settings.SetInt(at, value);
        int i = 0;
        for (quint8 kind : items) {
            TAdditionRect* item = document->Additions(individual)[size_t(i++)];
            item->SetItemKind(kind);
            item->SetVisible(true);
        }
        EXPECT_TRUE(document->RefreshData());
        return document;
    }
    TNameRect* Name(TLayoutDocument& document)
    {
        return document.DetailedSet ? document.Detailed().Name : document.Simple().Name;
    }

    QTemporaryDir m_dir;
    QStringList m_saved;
    int m_label = -1, m_card = -1;
    TMemoryAddressList m_list;
    TMemorySenders m_senders;
    TLayoutContext m_context;
};

TEST_F(LabelMergeTest, PostalMarks)
{
    const std::tuple<const char*, int, const char*> cases[] = {{"1000013", 1, "〒１００-００１３"},
                                                               {"1000013", 2, "１００-００１３"},
                                                               {"1000013", 0, "１００００１３"},
                                                               {"123", 1, "〒１２３"},
                                                               {"123", 2, "１２３"}};
    for (const auto& [postal, mark, expected] : cases) {
        auto document = Merge(Row({{"RecNo", 1}, {"Pos", postal}, {"PrivCorp", true}}), LabelModeLabel, true,
                              {}, {{RecipientPostalMark, mark}});
        EXPECT_EQ(document->Detailed().Postal->Text(), QString::fromUtf8(expected)) << postal << " " << mark;
    }
}

TEST_F(LabelMergeTest, PersonNamesOnLabelsAndCards)
{
    struct Case
    {
        const char* what;
        TMemoryRow record;
        quint8 mode;
        const char* name;
        const char* honorific;
        QStringList joints;
    };
    const Case cases[] = {
        {"nothing to print", Row({{"JointPrint", false}, {"Honor", "殿"}}), LabelModeLabel, "", "", {}},
        {"joint owner 2 with another surname",
         Row({{"JointPrint", true}, {"JointOwner", 2}, {"Joint2", "別姓 花子"}}),
         LabelModeLabel,
         "別姓 花子",
         "様",
         {"見本 太郎|様"}},
        {"same surname under the name",
         Row({{"JointPrint", true}, {"JointPrint1", true}, {"Joint1", "花子"}, {"JointHonor1", "ちゃん"}}),
         LabelModeLabel,
         "見本 太郎",
         "様",
         {" 花子|ちゃん"}},
        {"card: no honorific at all",
         Row({{"JointPrint", true},
              {"Honor", "殿"},
              {"JointOwner", 2},
              {"Joint2", "別姓 花子"},
              {"JointHonor2", "様"},
              {"JointPrint3", true},
              {"Joint3", "次郎"},
              {"JointHonor3", "君"}}),
         LabelModeCard,
         "別姓 花子",
         "",
         {"見本 太郎|", " 次郎|"}},
    };
    for (const Case& c : cases) {
        TMemoryRow record = c.record;
        record.Fields.insert("RecNo", 1);
        record.Fields.insert("NameKanji", QStringLiteral("見本 太郎"));
        record.Fields.insert("PrivCorp", true);
        auto document = Merge(record, c.mode);
        const TNameRect* name = Name(*document);
        EXPECT_EQ(name->Name(), QString::fromUtf8(c.name)) << c.what;
        EXPECT_EQ(name->Honorific(), QString::fromUtf8(c.honorific)) << c.what;
        EXPECT_EQ(Joints(name), c.joints) << c.what;
    }
}

TEST_F(LabelMergeTest, CompanyLines)
{
    const TMemoryRow company = Row({{"RecNo", 1},
                                    {"PrivCorp", false},
                                    {"NameKanji", "見本 太郎"},
                                    {"IgnoreName", true},
                                    {"CorpKanji", ""},
                                    {"Dptmnt", "総務部"},
                                    {"Post", ""}});
    // Combined set, name ignored, only a department: it moves to the name line with the company honorific.
    auto label = Merge(company);
    EXPECT_EQ(label->Simple().Name->Name(), QStringLiteral("総務部"));
    EXPECT_EQ(label->Simple().Name->Honorific(), QStringLiteral("御中"));
    EXPECT_TRUE(label->Simple().Name->GetCorpLine(0).isEmpty());
    // On a card the same record has no honorific, in either set.
    auto card = Merge(company, LabelModeCard);
    EXPECT_EQ(card->Simple().Name->Name(), QStringLiteral("総務部"));
    EXPECT_TRUE(card->Simple().Name->Honorific().isEmpty());
    auto cardLines = Merge(company, LabelModeCard, true);
    EXPECT_EQ(cardLines->Detailed().Corp[1]->Text(), QStringLiteral("総務部"));
    for (TCorpRect* line : cardLines->Detailed().Corp)
        EXPECT_TRUE(line->Honorific().isEmpty());
    // The individual set of a label puts the honorific on the last line shown.
    auto labelLines = Merge(company, LabelModeLabel, true);
    EXPECT_EQ(labelLines->Detailed().Corp[1]->Honorific(), QStringLiteral("御中"));
}

TEST_F(LabelMergeTest, AdditionalItemsByKind)
{
    ASSERT_EQ(LoadHyphenLibrary(ProgramFolder, ProgramFolder + QStringLiteral("Dic/")), 0);
    const TMemoryRow record = Row({{"RecNo", 1},
                                   {"PrivCorp", true},
                                   {"Tel", "0312345678"},
                                   {"Fax", "03-9876-5432"},
                                   {"Portable2", "090(1234)5678"},
                                   {"URL", "https://example.jp/"},
                                   {"EMail2", "taro@example.jp"},
                                   {"Keyword8", "会員"}});
    const QString date = QDate::currentDate().toString(QStringLiteral("yyyyMMdd"));
    // Vertical writing: the hyphens of the telephone texts become vertical dashes.
    auto document = Merge(record, LabelModeLabel, false, {}, {}, {1, 2, 4, 6});
    const auto& items = document->Additions(false);
    EXPECT_EQ(items[0]->Text(), QStringLiteral("8765432130"));
    EXPECT_TRUE(items[0]->Heading().isEmpty());
    EXPECT_EQ(items[1]->Text(), date);
    EXPECT_EQ(items[2]->Heading(), QStringLiteral("ＦＡＸ"));
    EXPECT_EQ(items[3]->Heading(), QStringLiteral("携帯"));
    EXPECT_TRUE(items[3]->Text().startsWith(QStringLiteral("０９０"))) << items[3]->Text().toStdString();
    EXPECT_FALSE(items[3]->Text().contains(u'('));
    for (const QString& text : {items[2]->Text(), items[3]->Text()})
        EXPECT_EQ(text, ReplaceDashes(text, 0)) << text.toStdString();

    auto more = Merge(record, LabelModeCard, true, {}, {}, {7, 10, 18, 8});
    const auto& also = more->Additions(true);
    EXPECT_EQ(also[0]->Heading(), QStringLiteral("URL"));
    EXPECT_EQ(also[0]->Text(), QStringLiteral("https://example.jp/"));
    EXPECT_EQ(also[1]->Heading(), QStringLiteral("E-Mail"));
    EXPECT_EQ(also[1]->Text(), QStringLiteral("taro@example.jp"));
    EXPECT_EQ(also[2]->Text(), QStringLiteral("会員"));
    // Kind 8 is never merged.
    EXPECT_TRUE(also[3]->Text().isEmpty());
    EXPECT_TRUE(also[3]->Heading().isEmpty());

    auto tel = Merge(record, LabelModeCard, false, {{KanjiNumerals, 1}}, {}, {3});
    EXPECT_EQ(tel->Additions(false)[0]->Heading(), QStringLiteral("ＴＥＬ"));
    EXPECT_TRUE(tel->Additions(false)[0]->Text().startsWith(QStringLiteral("〇三")))
        << tel->Additions(false)[0]->Text().toStdString();
    FreeHyphenLibrary();
}

TEST_F(LabelMergeTest, FixedTextSurvivesTheMerge)
{
    m_list.Rows = {Row({{"RecNo", 1}, {"PrivCorp", true}})};
    auto document = NewLabelDocument(m_context, LabelModeLabel, m_label, 1);
    TAdditionRect* item = document->Additions(false)[0];
    item->SetText(QStringLiteral("親展"));
    item->SetVisible(true);
    ASSERT_TRUE(document->RefreshData());
    EXPECT_EQ(item->Text(), QStringLiteral("親展"));
}

TEST_F(LabelMergeTest, SenderInTheRecipientFrames)
{
    m_senders.Rows = {Row({{"RecNo", 3}, {"Name", "別人"}, {"SelectInfo", 1}, {"NamePrint", true}}),
                      Row({{"RecNo", 7},
                           {"Pos", "1000013"},
                           {"Tdfkn", "東京都"},
                           {"Adrs1", "千代田区"},
                           {"Name", "見本 太郎"},
                           {"SelectInfo", 1},
                           {"NamePrint", true},
                           {"Joint1", "花子"},
                           {"JointPrint1", true},
                           {"Joint2", "次郎"},
                           {"JointPrint2", true},
                           {"Tel", "0312345678"},
                           {"Head2", "E-Mail"},
                           {"Addition2", "taro@example.jp"}})};
    m_list.Rows.clear();
    for (const quint8 mode : {LabelModeLabel, LabelModeCard}) {
        auto document = NewLabelDocument(m_context, mode, mode == LabelModeCard ? m_card : m_label, 2);
        ASSERT_TRUE(document);
        document->SenderRecNo = 7;
        document->Settings.SetByte(JointNamesTogether, 1);
        TAdditionRect* contact = document->Additions(false)[0];
        contact->SetItemKind(AdditionSenderContact1 + 1);
        document->Additions(false)[1]->SetItemKind(1);
        document->ShowSenderData();
        const TSimpleSet& s = document->Simple();
        EXPECT_EQ(s.Postal->Text(), mode == LabelModeCard ? QStringLiteral("〒１００-００１３")
                                                          : QStringLiteral("１００-００１３"));
        EXPECT_EQ(s.Address->GetLine(0), QStringLiteral("東京都千代田区"));
        // Joint names together: the same-surname lines join; with joint lines no honorific is shown.
        EXPECT_EQ(s.Name->Name(), QStringLiteral("見本 太郎・花子"));
        EXPECT_EQ(Joints(s.Name), QStringList{QStringLiteral(" 次郎|")});
        EXPECT_TRUE(s.Name->Honorific().isEmpty());
        EXPECT_EQ(contact->Heading(), QStringLiteral("E-Mail"));
        EXPECT_EQ(contact->Text(), QStringLiteral("taro@example.jp"));
        EXPECT_EQ(document->Additions(false)[1]->Text(), QStringLiteral("8765432130"));
        EXPECT_EQ(document->SenderRecNo, 7);
    }
    // Alone on a label the sender gets the sender-addressed honorific; a missing sender falls to the first.
    m_senders.Rows[1].Fields["JointPrint1"] = false;
    m_senders.Rows[1].Fields["JointPrint2"] = false;
    auto label = NewLabelDocument(m_context, LabelModeLabel, m_label, 2);
    label->SenderRecNo = 7;
    label->ShowSenderData();
    EXPECT_EQ(label->Simple().Name->Honorific(), QStringLiteral("行"));
    label->SenderRecNo = 99;
    label->ShowSenderData();
    EXPECT_EQ(label->SenderRecNo, 3);
    EXPECT_EQ(label->Simple().Name->Name(), QStringLiteral(" 別人"));
    // The address-book hook leaves a sender layout alone.
    EXPECT_TRUE(label->RefreshData());
    EXPECT_EQ(label->Simple().Name->Name(), QStringLiteral(" 別人"));
}

TEST_F(LabelMergeTest, SenderLayoutReopenedMergesRecordsOnceSwitched)
{
    auto document = NewLabelDocument(m_context, LabelModeLabel, m_label, 2);
    const QString path = m_dir.filePath("sender.gpa");
    ASSERT_TRUE(document->SaveToFile(path));
    m_list.Rows = {Row({{"RecNo", 1}, {"PrivCorp", true}, {"NameKanji", "見本 太郎"}, {"JointPrint", true}})};
    auto reopened = LoadLabelDocument(m_context, LabelModeLabel, path);
    ASSERT_TRUE(reopened);
    EXPECT_EQ(reopened->DataSource, 2);
    EXPECT_TRUE(reopened->Simple().Name->Name().isEmpty());
    reopened->DataSource = 1;
    EXPECT_TRUE(reopened->RefreshData());
    EXPECT_EQ(reopened->Simple().Name->Name(), QStringLiteral("見本 太郎"));
}

TEST_F(LabelMergeTest, RecordThatCannotBeLocatedStaysEmpty)
{
    auto document = Merge(Row({{"RecNo", 1},
                               {"PrivCorp", true},
                               {"NameKanji", "見本 太郎"},
                               {"JointPrint", true},
                               {"Pos", "1000013"},
                               {"Tel", "0312345678"}}),
                          LabelModeLabel, false, {}, {}, {1});
    EXPECT_FALSE(document->Simple().Name->Name().isEmpty());
    EXPECT_FALSE(document->Additions(false)[0]->Text().isEmpty());
    EXPECT_FALSE(document->ShowRecordData(99));
    EXPECT_TRUE(document->Simple().Name->Name().isEmpty());
    EXPECT_TRUE(document->Simple().Postal->Text().isEmpty());
    EXPECT_TRUE(document->Additions(false)[0]->Text().isEmpty());
}

} // namespace
