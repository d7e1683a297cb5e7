// The paper choice dialogs over the shipped "Lyt.fmt": choosing by format index, deleted custom papers,
// rescaled custom papers, the label sheet limits, the horizontal-writing flag, and "CstmL.fmt" kept safe.
#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "core/UpDownEdit.h"
#include "layoutobjects/CustomLabel.h"
#include "layoutobjects/CustomLayoutFormat.h"
#include "layoutobjects/NewLabel.h"
#include "layoutobjects/NewLayout.h"
#include "support/AnsiText.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QRadioButton>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

namespace {

// The barcode rule as the barcode frame defines it: lengths 682, 744, 806 and 930 (0.1 mm).
template <class W> W* Child(QWidget* parent, const char* name)
{
    W* w = parent->findChild<W*>(QLatin1String(name));
    EXPECT_NE(w, nullptr) << name;
    return w;
}

// Types text into an up-down edit and presses Enter.
void Enter(QWidget* parent, const char* name, const QString& text)
{
    auto* edit = Child<TUpDownEdit>(parent, name);
    edit->setFocus();
    edit->findChild<QLineEdit*>()->setText(text);
    QTest::keyClick(edit, Qt::Key_Return);
}

int IndexOf(const TStandardFormats& standard, int kind, const char* name, int direction)
{
    for (size_t i = 0; i < standard.Formats.size(); ++i) {
        const TPaperFormat& f = standard.Formats[i];
        if (f.Kind == kind && f.Name == A(name) && f.Direction == direction)
            return int(i);
    }
    ADD_FAILURE() << "no paper " << name;
    return -1;
}

class PaperDialogsTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_program = ProgramFolder;
        m_data = DataFolder;
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataFolder = m_dir.path() + QLatin1Char('/');
        ASSERT_EQ(LoadLayoutFormats(LayoutFormatPath(), m_standard), FormatFileState::Read);
    }
    void TearDown() override
    {
        ProgramFolder = m_program;
        DataFolder = m_data;
    }

    QTemporaryDir m_dir;
    QString m_program;
    QString m_data;
    TStandardFormats m_standard;
    MessageRecorder m_messages;
};

TEST_F(PaperDialogsTest, AHorizontalPostcardIsChosenWithItsWriting)
{
    TNewLayoutDialog dialog;
    const int index = IndexOf(m_standard, PaperPostcard, "往復はがき (返信面)", 1);
    dialog.SetFormatIndex(index);
    EXPECT_EQ(dialog.FormatIndex, index);
    EXPECT_EQ(Child<QListWidget>(&dialog, "lbxPostPaper")->currentItem()->text(),
              QStringLiteral("往復はがき (返信面)"));
    EXPECT_TRUE(Child<QRadioButton>(&dialog, "rbPostHorizontal")->isChecked());
    EXPECT_EQ(dialog.Paper.Count1, 4);
    EXPECT_FALSE(dialog.NoBarcode);

    // Choosing vertical writing moves to the paper's first variant.
    QTest::mouseClick(Child<QRadioButton>(&dialog, "rbPostVertical"), Qt::LeftButton);
    EXPECT_EQ(dialog.FormatIndex, index - 1);

    // A lying envelope: horizontal writing only.
    const int lying = IndexOf(m_standard, PaperEnvelope, "長形3号", 2);
    dialog.SetFormatIndex(lying);
    EXPECT_TRUE(Child<QRadioButton>(&dialog, "rbEnvLying")->isChecked());
    EXPECT_FALSE(Child<QRadioButton>(&dialog, "rbEnvVertical")->isEnabled());
    EXPECT_EQ(Child<QLabel>(&dialog, "lblEnvSize")->text(), QStringLiteral("235.0 x 120.0 mm"));
}

TEST_F(PaperDialogsTest, ADeletedCustomPaperShowsRecordZeroAndCannotBeCancelled)
{
    TNewLayoutDialog dialog;
    QSignalSpy finished(&dialog, &QDialog::finished);
    dialog.SetFormatIndex(-5);
    m_messages.answer(MsgSeam::IdOk);
    EXPECT_EQ(dialog.FormatIndex, 0);
    EXPECT_EQ(dialog.Paper, m_standard.Formats[0]);
    dialog.reject();
    ASSERT_EQ(m_messages.count(), 1);
    EXPECT_EQ(m_messages.last().text,
              QStringLiteral("選択した用紙は削除されています  \r\n新しい用紙を設定してください"));
    EXPECT_EQ(finished.count(), 0);
    dialog.accept();
    EXPECT_EQ(finished.count(), 1);
    EXPECT_EQ(m_messages.count(), 1);
    // Nothing was created or deleted: no file.
    EXPECT_FALSE(QFile::exists(CustomFormatPath()));
}

TEST_F(PaperDialogsTest, ACustomPostcardRescalesItsFramesAndKeepsTheBarcode)
{
    TCustomFormats custom;
    TCustomLayoutFormatDialog dialog(m_standard, custom);
    dialog.resize(700, 500);
    dialog.SetSource(0);
    auto* preview = Child<TPaperPreview>(&dialog, "pnlPreview");
    EXPECT_FALSE(preview->Scene().Picture.isNull());
    Enter(&dialog, "edtWidth", QStringLiteral("150"));
    Enter(&dialog, "edtHeight", QStringLiteral("200.0"));
    const TPaperFormat& source = m_standard.Formats[0];
    const TPaperFormat& work = dialog.Work();
    ASSERT_EQ(work.Width, 1500);
    ASSERT_EQ(work.Height, 2000);
    const double sx = 1.5;
    const double sy = 2000.0 / 1480.0;
    const TPresetRect& r = source.Rects1[1];
    EXPECT_EQ(work.Rects1[1], (TPresetRect{int32_t(RoundHalfAway(r.Left * sx)), int32_t(RoundHalfAway(r.Top * sy)),
                                           int32_t(RoundHalfAway(r.Right * sx)),
                                           int32_t(RoundHalfAway(r.Bottom * sy))}));
    for (const TPresetRect* bar : {&work.Rects1[3], &work.Rects2[8]}) {
        EXPECT_EQ(bar->Width(), source.Rects1[3].Width());
        EXPECT_EQ(bar->Height(), source.Rects1[3].Height());
        EXPECT_GE(bar->Left, 0);
        EXPECT_LE(bar->Bottom, TenthMmToDesign(2000));
    }
    // The picture belongs to the source's size only.
    EXPECT_TRUE(preview->Scene().Picture.isNull());
    Child<QLineEdit>(&dialog, "edtName")->setText(QStringLiteral("大きな葉書"));
    const TCustomPaperFormat result = dialog.Result();
    EXPECT_TRUE(result.Format.Picture.isEmpty());
    EXPECT_EQ(result.Format.Category, CustomCategory());
    EXPECT_EQ(result.Source, 0);

    // Unparsable text puts the value back.
    Enter(&dialog, "edtWidth", QStringLiteral("1,5"));
    EXPECT_EQ(Child<TUpDownEdit>(&dialog, "edtWidth")->findChild<QLineEdit*>()->text(), QStringLiteral("150.0"));
}

TEST_F(PaperDialogsTest, CustomNamesMustBeGivenAndUnique)
{
    TCustomFormats custom;
    TCustomPaperFormat taken;
    taken.Format = m_standard.Formats[0];
    taken.Format.Name = A("私の葉書");
    custom.Add(taken, {});
    TCustomLayoutFormatDialog dialog(m_standard, custom);
    dialog.SetSource(0);
    QSignalSpy finished(&dialog, &QDialog::finished);
    auto* name = Child<QLineEdit>(&dialog, "edtName");
    for (const auto& [text, message] :
         {std::pair{QStringLiteral("  "), QStringLiteral("用紙名を入力してください  ")},
          std::pair{QStringLiteral("私の葉書"), QStringLiteral("指定された用紙名はすでに使われています  ")}}) {
        name->setText(text);
        m_messages.answer(MsgSeam::IdOk);
        dialog.accept();
        EXPECT_EQ(m_messages.last().text, message);
        EXPECT_EQ(finished.count(), 0);
    }
    name->setText(QStringLiteral("別の葉書"));
    dialog.accept();
    EXPECT_EQ(finished.count(), 1);
}

TEST(PaperListTest, RepeatedNamesAreNumbered)
{
    TStandardFormats standard;
    for (const char* name : {"甲", "乙", "甲", "乙", "甲"}) {
        TPaperFormat f;
        f.Category = A("はがき");
        f.Name = A(name);
        standard.Formats.push_back(f);
        f.Direction = 1;
        standard.Formats.push_back(f);
    }
    const QList<TPaperEntry> entries = StandardPaperEntries(standard, 0, true);
    EXPECT_EQ(entries, (QList<TPaperEntry>{{QStringLiteral("甲"), 0},
                                           {QStringLiteral("甲－２"), 4},
                                           {QStringLiteral("甲－３"), 8},
                                           {QStringLiteral("乙"), 2},
                                           {QStringLiteral("乙－２"), 6}}));
    // The label dialog stops at the category's end and lists variants once.
    EXPECT_EQ(StandardPaperEntries(standard, 2, false).size(), 4);
}

TEST_F(PaperDialogsTest, CustomLabelLimitsFollowTheShownSheet)
{
    TCustomFormats custom;
    TCustomLabelDialog dialog(m_standard, custom);
    dialog.SetSource(IndexOf(m_standard, PaperLabel, "21面 (70x42.3mm)", 1));
    // Turned: 297.0 mm across.
    EXPECT_EQ(Child<TUpDownEdit>(&dialog, "edtSheetWidth")->Value(), 2970);
    Enter(&dialog, "edtPieceWidth", QStringLiteral("70"));
    Enter(&dialog, "edtColumns", QStringLiteral("3"));
    Enter(&dialog, "edtLeft", QStringLiteral("5"));
    auto* gap = Child<TUpDownEdit>(&dialog, "edtHorzGap");
    EXPECT_EQ(gap->Maximum(), 410);
    EXPECT_FALSE(gap->Locked());
    Enter(&dialog, "edtHorzGap", QStringLiteral("50"));
    EXPECT_EQ(gap->Value(), 410);

    // The stored sheet is the fed one.
    const TMultiUpSheet& fed = dialog.WorkSheet();
    EXPECT_EQ(fed.Width, 2100);
    EXPECT_EQ(fed.Rows, 3);
    EXPECT_EQ(fed.TopMargin, 50);
    EXPECT_EQ(fed.VertGap, 410);

    // One column leaves no gap; a piece wider than half the sheet leaves one column only.
    Enter(&dialog, "edtColumns", QStringLiteral("1"));
    EXPECT_TRUE(gap->Locked());
    EXPECT_EQ(gap->Maximum(), 0);
    Enter(&dialog, "edtPieceWidth", QStringLiteral("200"));
    EXPECT_TRUE(Child<TUpDownEdit>(&dialog, "edtColumns")->Locked());
    EXPECT_FALSE(Child<TUpDownEdit>(&dialog, "edtRows")->Locked());
    // The barcode keeps its size inside the piece.
    const TPaperFormat& work = dialog.Work();
    const TPresetRect bar = work.Rects1[work.Count1 - 1];
    EXPECT_EQ(bar, work.Rects1[work.Count1 - 1]);
    EXPECT_LE(bar.Bottom, TenthMmToDesign(work.Height));
}

TEST_F(PaperDialogsTest, CustomCardsTakeTheirWritingFromTheSource)
{
    TCustomFormats custom;
    const struct
    {
        int direction;
        int32_t flag;
    } cases[] = {{0, 1}, {1, 1}, {2, 0}};
    for (const auto& c : cases) {
        TCustomLabelDialog dialog(m_standard, custom);
        dialog.SetSource(IndexOf(m_standard, PaperCard, "A4 10面 (91x55mm)", c.direction));
        EXPECT_EQ(dialog.Result().Horizontal, c.flag) << c.direction;
        EXPECT_FALSE(dialog.NoBarcode());
    }
    // A card source at least as wide as high is written horizontally whatever its direction.
    TStandardFormats wide = m_standard;
    const int index = IndexOf(wide, PaperCard, "A4 10面 (91x55mm)", 2);
    std::swap(wide.Formats[index].Width, wide.Formats[index].Height);
    TCustomLabelDialog dialog(wide, custom);
    dialog.SetSource(index);
    EXPECT_EQ(dialog.Result().Horizontal, 1);
}

TEST_F(PaperDialogsTest, CardsNeverShowTheBarcodeNote)
{
    TNewLabelDialog dialog;
    dialog.SetKind(PaperCard);
    dialog.SetFormatIndex(0);
    EXPECT_EQ(dialog.FormatIndex, IndexOf(m_standard, PaperCard, "A4 10面 (91x55mm)", 0));
    EXPECT_FALSE(Child<QLabel>(&dialog, "lblNoBarcode")->isVisibleTo(&dialog));
    EXPECT_EQ(Child<QLabel>(&dialog, "lblCountCaption")->text(), QStringLiteral("カード数："));
    EXPECT_EQ(Child<QLabel>(&dialog, "lblCount")->text(), QStringLiteral("2 x 5 枚"));
    EXPECT_TRUE(dialog.IsLandscape());

    dialog.SetKind(PaperLabel);
    dialog.SetFormatIndex(IndexOf(m_standard, PaperLabel, "24面 (66x33.9mm)", 1));
    EXPECT_TRUE(Child<QLabel>(&dialog, "lblNoBarcode")->isVisibleTo(&dialog));
    // Turned: the rows run across.
    EXPECT_EQ(Child<QLabel>(&dialog, "lblCount")->text(), QStringLiteral("8 x 3 枚"));
    EXPECT_FALSE(dialog.IsLandscape());
}

// Creating two custom label sheets through the dialog, deleting the first, and closing: the file holds the
// second with sheet 1. A file the dialog could not read survives a dialog that changed nothing.
TEST_F(PaperDialogsTest, CustomLabelsAreCreatedDeletedAndSaved)
{
    const QByteArray damaged = EncodeCustomFile(TCustomFormats{7, {TCustomPaperFormat{}}, {}}).left(300);
    WriteFileBytes(CustomFormatPath(), damaged);
    {
        TNewLabelDialog dialog;
        dialog.SetKind(PaperLabel);
        dialog.SetFormatIndex(0);
        dialog.reject();
    }
    EXPECT_EQ(ReadFileBytes(CustomFormatPath()), damaged);

    TNewLabelDialog dialog;
    dialog.SetKind(PaperLabel);
    dialog.SetFormatIndex(0);
    auto* add = Child<QPushButton>(&dialog, "btnLabelNew");
    ModalDriver driver;
    for (const char* name : {"一番", "二番"}) {
        driver.on("CustomLabelDialog", [name](QWidget* w) {
            w->findChild<QLineEdit*>(QStringLiteral("edtName"))->setText(QString::fromUtf8(name));
            Enter(w, "edtColumns", QStringLiteral("1"));
            static_cast<QDialog*>(w)->accept();
        });
        add->click();
    }
    ASSERT_EQ(dialog.CustomFormats().Formats.size(), 2u);
    EXPECT_EQ(dialog.FormatIndex, -2);
    auto* papers = Child<QListWidget>(&dialog, "lbxLabelPaper");
    papers->setCurrentRow(0);
    EXPECT_EQ(dialog.FormatIndex, -1);
    Child<QPushButton>(&dialog, "btnLabelDelete")->click();
    EXPECT_EQ(dialog.FormatIndex, -2);
    EXPECT_EQ(dialog.Paper.SheetIndex, 1);
    EXPECT_EQ(dialog.Sheet.Columns, 1);
    dialog.accept();

    TCustomFormats saved;
    ASSERT_EQ(LoadCustomFormats(CustomFormatPath(), saved), FormatFileState::Read);
    ASSERT_EQ(saved.Formats.size(), 1u);
    EXPECT_EQ(saved.Formats[0].Format.Name, A("二番"));
    EXPECT_EQ(saved.Formats[0].Format.SheetIndex, 1);
    EXPECT_EQ(saved.Sheets.size(), 1u);
    EXPECT_EQ(saved.LastId, 2);
}

TEST_F(PaperDialogsTest, TheWindowsOwnCustomPaperCannotBeDeleted)
{
    TCustomFormats custom;
    TCustomPaperFormat own;
    own.Format = m_standard.Formats[2];
    own.Format.Category = CustomCategory();
    own.Format.Name = A("使用中");
    custom.Add(own, {});
    ASSERT_TRUE(SaveCustomFormats(CustomFormatPath(), custom));
    const QByteArray before = ReadFileBytes(CustomFormatPath());

    TNewLayoutDialog dialog;
    dialog.SetFormatIndex(-1);
    EXPECT_EQ(dialog.FormatIndex, -1);
    EXPECT_EQ(Child<QListWidget>(&dialog, "lbxPostCategory")->currentItem()->text(), QStringLiteral("カスタム"));
    auto* remove = Child<QPushButton>(&dialog, "btnPostDelete");
    ASSERT_TRUE(remove->isEnabled());
    m_messages.answer(MsgSeam::IdOk);
    remove->click();
    EXPECT_EQ(m_messages.last().text, QStringLiteral("使用中の用紙は削除できません  "));
    dialog.reject();
    EXPECT_EQ(ReadFileBytes(CustomFormatPath()), before);
}

TEST_F(PaperDialogsTest, WithoutLytFmtTheListsAreEmpty)
{
    ProgramFolder = m_dir.path() + QStringLiteral("/none/");
    TNewLayoutDialog layout;
    layout.SetFormatIndex(0);
    EXPECT_EQ(Child<QListWidget>(&layout, "lbxPostPaper")->count(), 0);
    TNewLabelDialog label;
    label.SetKind(PaperCard);
    label.SetFormatIndex(0);
    EXPECT_EQ(Child<QListWidget>(&label, "lbxCardPaper")->count(), 0);
}

} // namespace
