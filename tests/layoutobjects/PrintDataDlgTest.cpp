// The start menu and the print-file dialogs: listing by signature, damaged files, the stored preview, titles
// (forbidden characters, the 100-byte cut, clashes), rename and delete.
#include "core/MainSettings.h"
#include "designers/PrintDataFile.h"
#include "layoutobjects/ImageFiles.h"
#include "layoutobjects/PrintDataDlg.h"
#include "platform/Cp932.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTemporaryDir>
#include <QTreeWidget>
#include <QtEndian>
#include <QTest>

namespace {

// A print file: complemented signature, version, header, JPEG length and bytes.
QByteArray PrintFile(const QByteArray& signature, int headerLength, const QByteArray& jpeg)
{
    QByteArray bytes = ComplementBytes(signature);
    bytes += QByteArray(4 + headerLength, '\0');
    char n[4];
    qToLittleEndian<qint32>(qint32(jpeg.size()), n);
    bytes += QByteArray(n, 4) + jpeg;
    return bytes;
}

QByteArray SmallJpeg()
{
    QImage image(40, 20, QImage::Format_RGB888);
    image.fill(Qt::red);
    return EncodeJpeg(image);
}

void ClickOk(QDialog& dialog)
{
    dialog.findChild<QPushButton*>(QStringLiteral("btnOK"))->click();
}

class PrintDataDlgTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_saved = {LayoutFolder, LabelFolder, CardFolder, DesignFolder};
        LayoutFolder = LabelFolder = CardFolder = DesignFolder = m_dir.path() + u'/';
    }
    void TearDown() override
    {
        LayoutFolder = m_saved[0];
        LabelFolder = m_saved[1];
        CardFolder = m_saved[2];
        DesignFolder = m_saved[3];
    }
    QString Path(const QString& name) const { return m_dir.filePath(name); }
    void Layout(const QString& title, const QByteArray& jpeg = SmallJpeg())
    {
        WriteFileBytes(Path(title + QStringLiteral(".gpl")), PrintFile(LayoutFileSignature, 28, jpeg));
    }
    static QStringList Titles(QDialog& dialog)
    {
        auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("lvFile"));
        QStringList titles;
        for (int i = 0; i < list->topLevelItemCount(); ++i)
            titles << list->topLevelItem(i)->text(0);
        return titles;
    }

    QTemporaryDir m_dir;
    QStringList m_saved;
};

TEST_F(PrintDataDlgTest, ListsFilesOfTheKindBySignatureInAnyCase)
{
    Layout(QStringLiteral("b"));
    WriteFileBytes(Path(QStringLiteral("A.GPL")), PrintFile(LayoutFileSignature, 28, SmallJpeg()));
    WriteFileBytes(Path(QStringLiteral("label.gpl")), PrintFile(LabelFileSignature, 28, SmallJpeg()));
    WriteFileBytes(Path(QStringLiteral("short.gpl")), ComplementBytes(LayoutFileSignature).left(10));
    WriteFileBytes(Path(QStringLiteral("empty.gpl")), {});
    Layout(QStringLiteral("other")); // a different extension below
    QFile::rename(Path(QStringLiteral("other.gpl")), Path(QStringLiteral("other.gpa")));

    std::vector<TPrintFileEntry> entries = ListPrintFiles(PrintFileKind(0));
    ASSERT_EQ(entries.size(), 2u);
    EXPECT_EQ(entries[0].Title, QStringLiteral("A"));
    EXPECT_EQ(entries[1].Title, QStringLiteral("b"));
    EXPECT_EQ(entries[1].Date, QDate::currentDate());

    QDir(m_dir.path()).removeRecursively();
    EXPECT_TRUE(ListPrintFiles(PrintFileKind(0)).empty());
}

TEST_F(PrintDataDlgTest, PreviewLengthIsReadAfterSignatureVersionAndHeader)
{
    const QByteArray jpeg = SmallJpeg();
    const struct
    {
        int kind;
        int offset;
    } cases[] = {{0, 50}, {1, 49}, {2, 48}, {3, 54}};
    for (const auto& c : cases) {
        const TPrintFileKind kind = PrintFileKind(c.kind);
        const QByteArray bytes = PrintFile(kind.Signature, kind.HeaderLength, jpeg);
        EXPECT_EQ(qFromLittleEndian<qint32>(bytes.constData() + c.offset), jpeg.size()) << c.kind;
        WriteFileBytes(Path(QStringLiteral("f")), bytes);
        EXPECT_EQ(
            ReadPrintFilePreview(Path(QStringLiteral("f")), int(kind.Signature.size()), kind.HeaderLength),
            jpeg)
            << c.kind;
    }
}

TEST_F(PrintDataDlgTest, DamagedPreviewLengthsGiveNoPreview)
{
    QByteArray beyond = PrintFile(LayoutFileSignature, 28, SmallJpeg());
    beyond.chop(1);
    QByteArray huge = PrintFile(LayoutFileSignature, 28, {});
    qToLittleEndian<qint32>(0x7fffffff, huge.data() + 50);
    QByteArray negative = huge;
    qToLittleEndian<qint32>(-5, negative.data() + 50);
    for (const QByteArray& bytes : {beyond, huge, negative, ComplementBytes(LayoutFileSignature)}) {
        WriteFileBytes(Path(QStringLiteral("d.gpl")), bytes);
        EXPECT_TRUE(ReadPrintFilePreview(Path(QStringLiteral("d.gpl")), 18, 28).isEmpty());
    }
    // The open dialog lists the file and shows no preview.
    MessageRecorder messages;
    TPrintDataOpenDialog dialog(nullptr);
    dialog.SetFileKind(0);
    dialog.show();
    EXPECT_EQ(Titles(dialog), QStringList{QStringLiteral("d")});
    EXPECT_TRUE(dialog.Preview().isNull());
}

TEST_F(PrintDataDlgTest, TitlesAreCutAtHundredBytesOnACharacterBoundary)
{
    EXPECT_EQ(CutTitle(QString(101, u'a')), QString(100, u'a'));
    const QString kanji = QString(99, u'a') + QStringLiteral("亜");
    EXPECT_EQ(CutTitle(kanji), QString(99, u'a'));
    EXPECT_TRUE(HasForbiddenTitleChar(QStringLiteral("a|b")));
    EXPECT_FALSE(HasForbiddenTitleChar(QStringLiteral("宛名　1")));
    EXPECT_EQ(ForbiddenTitleMessage(),
              QStringLiteral("ファイル名には次の文字は使えません\r\n   \\ / : ; * ? \" < > | "));
}

TEST_F(PrintDataDlgTest, StartMenuOffersTheLastFileOnlyWhenChosen)
{
    TPrintMenuDialog menu(nullptr);
    menu.SetDocumentKind(0);
    EXPECT_EQ(menu.windowTitle(), QStringLiteral("宛名印刷　メニュー"));
    auto* rbNew = menu.findChild<QRadioButton*>(QStringLiteral("rbNew"));
    auto* rbContinue = menu.findChild<QRadioButton*>(QStringLiteral("rbContinue"));
    EXPECT_EQ(rbNew->text(), QStringLiteral("新規に宛名面を作成する"));
    menu.SetChoice(0);
    EXPECT_FALSE(rbContinue->isEnabled());
    EXPECT_EQ(menu.GetChoice(), 0);
    menu.SetChoice(2);
    EXPECT_TRUE(rbContinue->isEnabled());
    EXPECT_EQ(menu.GetChoice(), 2);
    menu.findChild<QRadioButton*>(QStringLiteral("rbOpen"))->click();
    EXPECT_EQ(menu.GetChoice(), 1);
    EXPECT_EQ(rbNew->palette().color(QPalette::WindowText),
              rbContinue->palette().color(QPalette::WindowText));
    EXPECT_TRUE(menu.GetShowNextTime());
}

TEST_F(PrintDataDlgTest, OpenDialogInAnEmptyFolderRefusesOk)
{
    TPrintDataOpenDialog dialog(nullptr);
    dialog.SetFileKind(0);
    const int result =
        RunModal(dialog, {[&] { dialog.findChild<QPushButton*>(QStringLiteral("btnOK"))->click(); },
                          [&] {
                              EXPECT_TRUE(dialog.isVisible());
                              dialog.reject();
                          }});
    EXPECT_EQ(result, QDialog::Rejected);
    EXPECT_TRUE(dialog.GetFileTitle().isEmpty());
}

TEST_F(PrintDataDlgTest, OpenDialogSelectsTheFirstEntryAndShowsItsPreview)
{
    Layout(QStringLiteral("a"));
    Layout(QStringLiteral("b"));
    TPrintDataOpenDialog dialog(nullptr);
    dialog.SetFileKind(0);
    dialog.SetCurrentFile(QStringLiteral("b"));
    EXPECT_EQ(dialog.GetFileTitle(), QStringLiteral("b"));
    EXPECT_FALSE(dialog.findChild<QPushButton*>(QStringLiteral("sbtnDelete"))->isEnabled());
    auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("lvFile"));
    list->clearSelection();
    dialog.show();
    EXPECT_EQ(dialog.GetFileTitle(), QStringLiteral("a"));
    EXPECT_TRUE(dialog.findChild<QPushButton*>(QStringLiteral("sbtnDelete"))->isEnabled());
    ASSERT_FALSE(dialog.Preview().isNull());
    // 40 x 20 in a 194 x 194 panel: 0.9 x 194 / 40 wide.
    const QWidget* box = dialog.findChild<QWidget*>(QStringLiteral("pbPreview"));
    EXPECT_EQ(box->geometry(), QRect(9, 53, 175, 87));
}

TEST_F(PrintDataDlgTest, VanishedFileIsReportedAndDropped)
{
    Layout(QStringLiteral("a"));
    Layout(QStringLiteral("b"));
    TPrintDataOpenDialog dialog(nullptr);
    dialog.SetFileKind(0);
    QFile::remove(Path(QStringLiteral("b.gpl")));
    MessageRecorder messages;
    messages.answer(MsgSeam::IdOk);
    dialog.findChild<QTreeWidget*>(QStringLiteral("lvFile"))->topLevelItem(1)->setSelected(true);
    ASSERT_EQ(messages.count(), 1);
    EXPECT_EQ(messages.last().text, QStringLiteral("ファイルが見つかりません  "));
    EXPECT_EQ(Titles(dialog), QStringList{QStringLiteral("a")});
}

TEST_F(PrintDataDlgTest, SaveDialogTitleChecks)
{
    Layout(QStringLiteral("Card"));
    MessageRecorder messages;
    {
        // An empty folder accepts any valid title; a forbidden character is refused with the message.
        TPrintDataSaveDialog dialog(nullptr);
        dialog.SetFileKind(1);
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("edTitle"));
        messages.answer(MsgSeam::IdOk);
        const int result = RunModal(dialog, {[&] {
                                                 edit->setText(QStringLiteral("a:b"));
                                                 ClickOk(dialog);
                                             },
                                             [&] {
                                                 EXPECT_TRUE(dialog.isVisible());
                                                 edit->setText(QStringLiteral("  新しい  "));
                                                 ClickOk(dialog);
                                             }});
        EXPECT_EQ(result, QDialog::Accepted);
        EXPECT_EQ(dialog.GetFileTitle(), QStringLiteral("新しい"));
        ASSERT_EQ(messages.count(), 1);
        EXPECT_EQ(messages.last().text, ForbiddenTitleMessage());
    }
    {
        // A title differing only in letter case asks before overwriting; No keeps the dialog open.
        TPrintDataSaveDialog dialog(nullptr);
        dialog.SetFileKind(0);
        dialog.SetCurrentFile(QStringLiteral("Card"));
        auto* edit = dialog.findChild<QLineEdit*>(QStringLiteral("edTitle"));
        EXPECT_EQ(edit->text(), QStringLiteral("Card"));
        messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes);
        const int result = RunModal(dialog, {[&] {
                                                 edit->setText(QStringLiteral("CARD"));
                                                 ClickOk(dialog);
                                             },
                                             [&] {
                                                 EXPECT_TRUE(dialog.isVisible());
                                                 ClickOk(dialog);
                                             }});
        EXPECT_EQ(result, QDialog::Accepted);
        ASSERT_EQ(messages.count(), 3);
        EXPECT_EQ(messages.last().text, QStringLiteral("同名のファイルが存在します．上書きしますか？  "));
    }
}

TEST_F(PrintDataDlgTest, RenameRefusesClashesAndCutsLongTitles)
{
    Layout(QStringLiteral("one"));
    Layout(QStringLiteral("two"));
    WriteFileBytes(Path(QStringLiteral("plain.gpl")), "not a layout");
    TPrintDataOpenDialog dialog(nullptr);
    dialog.SetFileKind(0);
    dialog.SetCurrentFile(QStringLiteral("two"));
    auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("lvFile"));
    QTreeWidgetItem* one = list->topLevelItem(0);
    QTreeWidgetItem* two = list->topLevelItem(1);
    MessageRecorder messages;
    messages.allowUnexpected();

    const struct
    {
        QTreeWidgetItem* item;
        QString title;
        QString message; // empty: renamed
    } cases[] = {
        {one, QStringLiteral("TWO"), QStringLiteral("指定されたファイル名は既に存在します  ")},
        {one, QStringLiteral("plain"), QStringLiteral("指定されたファイル名は既に存在します  ")},
        {one, QStringLiteral("a?"), ForbiddenTitleMessage()},
        {two, QStringLiteral("three"), QStringLiteral("現在開いているファイルの名前は変更できません  ")},
        {one, QString(101, u'x'), {}},
    };
    for (const auto& c : cases) {
        const int before = messages.count();
        const QString old = c.item->text(0);
        c.item->setText(0, c.title);
        if (c.message.isEmpty()) {
            EXPECT_EQ(messages.count(), before);
        } else {
            ASSERT_EQ(messages.count(), before + 1) << c.title.toStdString();
            EXPECT_EQ(messages.last().text, c.message);
            EXPECT_EQ(c.item->text(0), old);
        }
    }
    EXPECT_TRUE(QFile::exists(Path(QString(100, u'x') + QStringLiteral(".gpl"))));
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("one.gpl"))));
    EXPECT_EQ(ReadFileBytes(Path(QStringLiteral("plain.gpl"))), QByteArray("not a layout"));
    EXPECT_TRUE(dialog.FilesChanged);
}

TEST_F(PrintDataDlgTest, DeleteAsksAndReportsFailure)
{
    Layout(QStringLiteral("keep"));
    Layout(QStringLiteral("open"));
    TPrintDataOpenDialog dialog(nullptr);
    dialog.SetFileKind(0);
    dialog.SetCurrentFile(QStringLiteral("open"));
    auto* list = dialog.findChild<QTreeWidget*>(QStringLiteral("lvFile"));
    auto* del = dialog.findChild<QPushButton*>(QStringLiteral("sbtnDelete"));
    MessageRecorder messages;

    // The open file is refused; No keeps a file; Yes on a file that cannot be removed reports it.
    messages.answer(MsgSeam::IdOk);
    QTest::keyClick(list, Qt::Key_Delete);
    EXPECT_EQ(messages.last().text, QStringLiteral("現在開いているファイルは削除できません  "));
    list->setCurrentItem(list->topLevelItem(0));
    messages.answer(MsgSeam::IdNo);
    del->click();
    EXPECT_EQ(messages.last().flags, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion | MsgSeam::MbDefButton2);
    EXPECT_TRUE(QFile::exists(Path(QStringLiteral("keep.gpl"))));
    QFile::remove(Path(QStringLiteral("keep.gpl")));
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    del->click();
    EXPECT_EQ(messages.last().text, QStringLiteral("ファイルを削除できませんでした  "));
    EXPECT_EQ(Titles(dialog).size(), 2);
    EXPECT_FALSE(dialog.FilesChanged);

    Layout(QStringLiteral("keep"));
    messages.answer(MsgSeam::IdYes);
    del->click();
    EXPECT_EQ(Titles(dialog), QStringList{QStringLiteral("open")});
    EXPECT_FALSE(QFile::exists(Path(QStringLiteral("keep.gpl"))));
    EXPECT_TRUE(dialog.FilesChanged);
}

} // namespace
