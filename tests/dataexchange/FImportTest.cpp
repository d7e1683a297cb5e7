// The import window: settings, the preview, the enabling rules, the mapping buttons and the drag, the checks
// before a run, the safety copy and a run into the open book.
#include "dataexchange/FImport.h"

#include "core/DBInfo.h"
#include "dataexchange/ConstIn.h"
#include "dataexchange/SetOrdVw.h"
#include "maintenance/DataFolderFixture.h"
#include "platform/LibraryLoader.h"
#include "support/MessageRecorder.h"
#include "support/ModalDriver.h"

#include <QCheckBox>
#include <QComboBox>
#include <QDragMoveEvent>
#include <QDropEvent>
#include <QHeaderView>
#include <QLineEdit>
#include <QMimeData>
#include <QProgressBar>
#include <QPushButton>
#include <QRadioButton>
#include <QTableWidget>
#include <QTest>
#include <QToolButton>

#include <gtest/gtest.h>

namespace {

const QString Confirm = QStringLiteral("テキストファイルの取り込みを開始します  \r\nよろしいですか？  ");

class FImportTest : public DataFolderFixture
{
protected:
    void SetUp() override
    {
        DataFolderFixture::SetUp();
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        for (std::size_t i = 0; i < m_histories.size(); ++i) {
            m_histories[i] = std::make_unique<THistoryData>(
                HistoryFolder + QStringLiteral("import%1.mtd").arg(i), true, 100);
            ASSERT_TRUE(m_histories[i]->Load());
        }
        AdminPassword.clear();
        AdminMode = false;
        dm = std::make_unique<TDMQuenrid215>();
        dm->CreateAdrsTable(QStringLiteral("アドレス"));
        ASSERT_TRUE(dm->OpenAdrs());
    }
    void TearDown() override
    {
        m_window.reset();
        dm.reset();
        LibraryLoader::ClearFailures();
        AdminPassword.clear();
        AdminMode = false;
        DataFolderFixture::TearDown();
    }

    void settings(const QList<std::pair<QString, QString>>& keys)
    {
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        for (const auto& [key, value] : keys)
            ini.WriteString(FileImportSection, key, value);
        ASSERT_TRUE(ini.UpdateFile());
    }
    QString stored(const QString& key) const
    {
        return TMemIniFile(DataRootFolder + MainSettingsFileName)
            .ReadString(FileImportSection, key, "<none>");
    }
    QString csv(const QString& name, const QString& text)
    {
        const QString path = DataFolder + name;
        WriteFileBytes(path, ToAnsi(text));
        return path;
    }

    TFileImport& open()
    {
        TFileImportSource source;
        source.Adrs = dm->AdrsTable();
        source.BookIndex = 0;
        source.Histories = {m_histories[0].get(), m_histories[1].get(), m_histories[2].get(),
                            m_histories[3].get(), m_histories[4].get(), m_histories[5].get()};
        m_window = std::make_unique<TFileImport>(nullptr, std::move(source));
        return *m_window;
    }
    template <class W> W* child(const char* name) const
    {
        return m_window->findChild<W*>(QLatin1String(name));
    }
    QToolButton* button(const char* name) const { return child<QToolButton>(name); }
    QString cell(int item, int part) const
    {
        return child<QTableWidget>("sgDest")->item(item - 1, part - 1)->text();
    }
    void selectColumn(int column) const { child<QTableWidget>("sgSrc")->setCurrentCell(column, 1); }

    QStringList names() const
    {
        QStringList out;
        Table& t = *dm->AdrsTable();
        t.refresh();
        for (t.first(); !t.eof(); t.next())
            out << HexTextToWide(t.fieldByName(QStringLiteral("NameKanji")).asAnsi());
        return out;
    }

    std::unique_ptr<TDMQuenrid215> dm;
    std::array<std::unique_ptr<THistoryData>, 6> m_histories;
    std::unique_ptr<TFileImport> m_window;
};

TEST_F(FImportTest, SettingsAndTheEnablingRules)
{
    settings(
        {{"File", DataFolder + "gone.csv"}, {"ImportType", "2"}, {"SetCorpType", "5"}, {"SetCorp", "1"}});
    TFileImport& w = open();
    EXPECT_EQ(child<QLineEdit>("edtFile")->text(), "");
    EXPECT_TRUE(child<QRadioButton>("rbImportAdd")->isChecked());
    EXPECT_TRUE(child<QRadioButton>("rbAll")->isChecked());
    EXPECT_TRUE(child<QCheckBox>("chkPriorityClass")->isChecked()); // default on
    EXPECT_FALSE(child<QPushButton>("btnImport")->isEnabled());
    EXPECT_FALSE(child<QTableWidget>("sgDest")->isEnabled());
    EXPECT_EQ(child<QTableWidget>("sgSrc")->rowCount(), 20);
    EXPECT_TRUE(button("bbtnSet")->isVisibleTo(&w));
    EXPECT_FALSE(button("bbtnAdd")->isVisibleTo(&w));
    for (const char* name : {"bbtnSet", "bbtnConst", "bbtnDelete", "bbtnRowClear", "bbtnAllClear", "bbtnUp",
                             "bbtnDown", "bbtnAllSet"})
        EXPECT_FALSE(button(name)->isEnabled()) << name;

    // Update mode before a file: the matching controls stay off; the company options go off whatever ticks.
    child<QRadioButton>("rbImportUpdate")->click();
    EXPECT_FALSE(child<QRadioButton>("rbRecNo")->isEnabled());
    EXPECT_FALSE(child<QComboBox>("cbxMatchingFileItem")->isEnabled());
    for (const char* name : {"chkNotAutoSupplement", "chkSetCorp", "rbAll", "rbNoName", "chkPriorityClass"})
        EXPECT_FALSE(child<QWidget>(name)->isEnabled()) << name;
    ASSERT_TRUE(w.LoadFilePreview(csv("a.csv", "名前,顧客コード,レコード番号\r\n")));
    EXPECT_TRUE(child<QRadioButton>("rbRecNo")->isEnabled());
    EXPECT_EQ(child<QComboBox>("cbxMatchingFileItem")->currentText(), "レコード番号");
    child<QRadioButton>("rbCustomCode")->click();
    EXPECT_EQ(child<QComboBox>("cbxMatchingFileItem")->currentText(), "顧客コード");
    child<QRadioButton>("rbImportAdd")->click();
    EXPECT_TRUE(child<QWidget>("rbNoName")->isEnabled());
    child<QCheckBox>("chkSetCorp")->click();
    EXPECT_FALSE(child<QWidget>("rbNoName")->isEnabled());
    EXPECT_TRUE(child<QPushButton>("btnImport")->isEnabled());

    // Cancel writes nothing but the position.
    m_window.reset();
    EXPECT_EQ(stored("ImportType"), "2");
    EXPECT_NE(stored("Left"), "<none>");
}

TEST_F(FImportTest, PreviewRefusalsKeepTheLoadedFile)
{
    MessageRecorder messages;
    TFileImport& w = open();
    const QString file = csv("a.csv", "会社名,,\"\",\"b,c\"\r\nx\r\n");
    ASSERT_TRUE(w.LoadFilePreview(file));
    auto* src = child<QTableWidget>("sgSrc");
    ASSERT_EQ(src->rowCount(), 4);
    EXPECT_EQ(src->item(3, 1)->text(), "\"b,c\"");
    EXPECT_EQ(src->item(0, 0)->text(), "  1");

    // A blank and a "" first-line text show as 項目n.
    selectColumn(1);
    button("bbtnSet")->click();
    EXPECT_EQ(cell(1, 1), "項目2");
    EXPECT_EQ(w.Mapping().Spec(1, 1).kind, TImportPartSpec::BlankColumn);

    messages.answer(MsgSeam::IdOk).answer(MsgSeam::IdOk);
    child<QLineEdit>("edtFile")->setText("x");
    EXPECT_FALSE(w.LoadFilePreview(DataFolder.toUpper() + "INERROR.TXT"));
    EXPECT_EQ(child<QLineEdit>("edtFile")->text(), file);
    EXPECT_FALSE(w.LoadFilePreview(csv("empty.csv", "")));
    EXPECT_EQ(messages.last().text, "指定したテキストファイルには内容がありませんでした  ");
    EXPECT_TRUE(w.Mapping().IsSet(1));

    // Enter on the loaded name does not reload (the mapping stays); another file clears it.
    child<QLineEdit>("edtFile")->setText(file);
    QTest::keyClick(child<QLineEdit>("edtFile"), Qt::Key_Return);
    EXPECT_TRUE(w.Mapping().IsSet(1));
    child<QLineEdit>("edtFile")->setText(csv("b.csv", "\r\n"));
    QTest::keyClick(child<QLineEdit>("edtFile"), Qt::Key_Return);
    EXPECT_FALSE(w.Mapping().IsSet(1));
    EXPECT_EQ(src->rowCount(), 1);

    messages.answer(MsgSeam::IdOk);
    child<QLineEdit>("edtFile")->setText(DataFolder + "missing.csv");
    QTest::keyClick(child<QLineEdit>("edtFile"), Qt::Key_Return);
    EXPECT_EQ(messages.last().text, "指定したテキストファイルが見つかりません  ");
    EXPECT_EQ(child<QLineEdit>("edtFile")->text(), DataFolder + "b.csv");
}

TEST_F(FImportTest, MappingButtonsConstantsAndTheView)
{
    MessageRecorder messages;
    TFileImport& w = open();
    ASSERT_TRUE(w.LoadFilePreview(csv("a.csv", "会社名,電話,〒,都道府県,住所\r\n")));
    w.SelectItem(19);
    selectColumn(0);
    button("bbtnSet")->click();
    EXPECT_EQ(cell(19, 1), "会社名");
    EXPECT_FALSE(button("bbtnSet")->isVisibleTo(&w));
    EXPECT_TRUE(button("bbtnAdd")->isEnabled());

    // A constant through its dialog, limited to the item's width.
    ModalDriver driver;
    driver.on("ConstantInput", [](QWidget* d) {
        auto* edit = d->findChild<QLineEdit*>("edtConst");
        edit->setText(QString(200, 'x'));
        EXPECT_EQ(edit->text().size(), 120);
        edit->setText(" 株式会社 ");
        d->findChild<QPushButton*>("btnOk")->click();
    });
    button("bbtnConst")->click();
    EXPECT_EQ(cell(19, 2), "株式会社");
    EXPECT_EQ(w.Mapping().Spec(19, 2).kind, TImportPartSpec::Constant);
    driver.on("SetOrderView", [](QWidget* d) {
        auto* grid = d->findChild<QTableWidget*>("sgSetOrder");
        EXPECT_EQ(grid->item(1, 1)->text(), "株式会社");
        EXPECT_EQ(grid->item(8, 0)->text(), " 9");
        static_cast<QDialog*>(d)->reject();
    });
    child<QTableWidget>("sgDest")->cellDoubleClicked(18, 0);

    // Up moves the whole mapping; Delete takes the last part.
    button("bbtnUp")->click();
    EXPECT_EQ(w.SelectedItem(), 18);
    EXPECT_EQ(cell(18, 2), "株式会社");
    EXPECT_FALSE(w.Mapping().IsSet(19));
    QTest::keyClick(child<QTableWidget>("sgDest"), Qt::Key_Delete);
    EXPECT_EQ(cell(18, 2), "");
    button("bbtnRowClear")->click();
    EXPECT_FALSE(button("bbtnUp")->isEnabled());
    EXPECT_FALSE(button("bbtnAllClear")->isEnabled());

    // Auto set asks first, then maps by the header texts and ticks skip-first-line.
    messages.answer(MsgSeam::IdNo).answer(MsgSeam::IdYes);
    button("bbtnAllSet")->click();
    EXPECT_FALSE(w.Mapping().AnySet());
    button("bbtnAllSet")->click();
    EXPECT_EQ(w.Mapping().Spec(19, 1).column, 0);
    EXPECT_EQ(w.Mapping().Spec(3, 1).column, 1);
    EXPECT_EQ(w.Mapping().Spec(9, 1).column, 2);
    EXPECT_EQ(w.Mapping().Spec(10, 1).column, 3);
    EXPECT_EQ(w.Mapping().Spec(10, 2).column, 4);
    EXPECT_TRUE(child<QCheckBox>("chkSkipRecord")->isChecked());
}

TEST_F(FImportTest, DraggingAColumnOntoTheItems)
{
    TFileImport& w = open();
    ASSERT_TRUE(w.LoadFilePreview(csv("a.csv", "a,b,c\r\n")));
    w.show();
    auto* dest = child<QTableWidget>("sgDest");
    dest->scrollToItem(dest->item(10, 0), QAbstractItemView::PositionAtTop);
    selectColumn(2);
    QMimeData data;
    data.setData(ImportColumnMime, "2");
    // Move and drop events go to the widget that accepted the last enter, as in a real drag.
    const auto send = [&](QWidget* target, QEvent::Type type, QPoint at, const QMimeData* mime = nullptr) {
        mime = mime ? mime : &data;
        if (type == QEvent::Drop) {
            QDropEvent e(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &e);
            return e.isAccepted();
        }
        if (type == QEvent::DragEnter) {
            QDragEnterEvent e(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
            QApplication::sendEvent(target, &e);
            return e.isAccepted();
        }
        QDragMoveEvent e(at, Qt::CopyAction, mime, Qt::LeftButton, Qt::NoModifier);
        QApplication::sendEvent(target, &e);
        return e.isAccepted();
    };
    // Over the caption row: refused, and the list scrolls up one row per move.
    const int top = dest->rowAt(0);
    QWidget* header = dest->horizontalHeader()->viewport();
    EXPECT_TRUE(send(header, QEvent::DragEnter, {5, 5}));
    EXPECT_FALSE(send(header, QEvent::DragMove, {5, 5}));
    EXPECT_FALSE(send(header, QEvent::DragMove, {6, 5}));
    EXPECT_EQ(dest->rowAt(0), top - 2);
    EXPECT_FALSE(send(header, QEvent::Drop, {5, 5}));
    EXPECT_FALSE(w.Mapping().AnySet());

    // Over a data row: that row is selected and the drop sets the column, then adds to it.
    const int row = top;
    const QPoint at = dest->visualItemRect(dest->item(row, 0)).center();
    EXPECT_TRUE(send(dest->viewport(), QEvent::DragEnter, at));
    EXPECT_TRUE(send(dest->viewport(), QEvent::DragMove, at));
    EXPECT_EQ(w.SelectedItem(), row + 1);
    EXPECT_TRUE(send(dest->viewport(), QEvent::Drop, at));
    EXPECT_EQ(cell(row + 1, 1), "c");
    send(dest->viewport(), QEvent::DragEnter, at);
    EXPECT_TRUE(send(dest->viewport(), QEvent::Drop, at));
    EXPECT_EQ(cell(row + 1, 2), "c");

    // Something else is refused.
    QMimeData other;
    other.setText("c");
    send(dest->viewport(), QEvent::DragEnter, at, &other);
    EXPECT_FALSE(send(dest->viewport(), QEvent::DragMove, at, &other));
    EXPECT_FALSE(send(dest->viewport(), QEvent::Drop, at, &other));
    QDragLeaveEvent leave;
    QApplication::sendEvent(dest->viewport(), &leave);
}

TEST_F(FImportTest, ChecksBeforeTheRunInTheirOrder)
{
    MessageRecorder messages;
    TFileImport& w = open();
    messages.answer(MsgSeam::IdOk);
    w.btnImportClick();
    EXPECT_EQ(messages.last().text, "テキストファイルが読み込まれていません  ");

    ASSERT_TRUE(w.LoadFilePreview(csv("a.csv", "名前,顧客コード,保護\r\n")));
    messages.answer(MsgSeam::IdOk);
    w.btnImportClick();
    EXPECT_EQ(messages.last().text, "入力する項目がセットされていません  ");

    AdminPassword = QStringLiteral("secret");
    w.SelectItem(74);
    selectColumn(2);
    button("bbtnSet")->click();
    messages.answer(MsgSeam::IdOk);
    w.btnImportClick();
    EXPECT_EQ(messages.last().flags & 0xF0, unsigned(MsgSeam::MbIconExclamation));
    EXPECT_TRUE(messages.last().text.startsWith("管理者モードでなければ"));
    button("bbtnRowClear")->click();

    // Header only with skip-first-line.
    w.SelectItem(24);
    selectColumn(0);
    button("bbtnSet")->click();
    child<QCheckBox>("chkSkipRecord")->setChecked(true);
    messages.answer(MsgSeam::IdOk);
    w.btnImportClick();
    EXPECT_EQ(messages.last().text, "指定したテキストファイルには  \r\n内容が１件しかありませんでした  ");

    // Update by customer code: item 2 is cleared; when it was the only item the run refuses.
    child<QCheckBox>("chkSkipRecord")->setChecked(false);
    button("bbtnRowClear")->click();
    w.SelectItem(2);
    selectColumn(1);
    button("bbtnSet")->click();
    child<QRadioButton>("rbImportUpdate")->click();
    child<QRadioButton>("rbCustomCode")->click();
    messages.answer(MsgSeam::IdOk).answer(MsgSeam::IdOk);
    w.btnImportClick();
    EXPECT_EQ(messages.count(), 6);
    EXPECT_TRUE(messages.messages()[4].text.startsWith("顧客コードで突き合わすため"));
    EXPECT_EQ(messages.last().text, "入力する項目がセットされていません  ");
    EXPECT_FALSE(w.Mapping().IsSet(2));

    // The confirmation's No (the default) stops.
    w.SelectItem(24);
    button("bbtnSet")->click();
    messages.answer(MsgSeam::IdNo);
    w.btnImportClick();
    EXPECT_EQ(messages.last().text, Confirm);
    EXPECT_EQ(messages.last().flags & 0xF00, unsigned(MsgSeam::MbDefButton2));
    EXPECT_FALSE(QDir(DataFolder + "backup.imp").exists());
}

TEST_F(FImportTest, ARunMakesTheSafetyCopyStoresAndSavesTheSettings)
{
    MessageRecorder messages;
    TFileImport& w = open();
    const QString file = csv("a.csv", "名前,部署\r\n青木,営業\r\n井上,総務\r\n");
    child<QLineEdit>("edtFile")->setText(file);
    ASSERT_TRUE(w.LoadFilePreview(file));
    messages.answer(MsgSeam::IdYes);
    button("bbtnAllSet")->click();
    child<QCheckBox>("chkNotAutoSupplement")->setChecked(true);
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    w.btnImportClick();
    EXPECT_EQ(w.result(), QDialog::Accepted);
    EXPECT_EQ(messages.last().text,
              "テキストファイルの追加取り込みが完了しました  \r\n\r\n読込件数 : 2 件  \r\n"
              "登録件数 : 2 件  ");
    EXPECT_EQ(names(), (QStringList{"山田", "佐藤", "青木", "井上"}));
    EXPECT_TRUE(QFile::exists(DataFolder + "backup.imp/Adrs/アドレス/Adrs.DB"));
    EXPECT_EQ(stored("File"), file);
    EXPECT_EQ(stored("SkipRecord"), "1");
    EXPECT_EQ(stored("NotAutoSupplement"), "1");
    EXPECT_EQ(m_histories[0]->Count(), 2);
    EXPECT_EQ(child<QProgressBar>("pgbarImport")->value(), 2);
}

TEST_F(FImportTest, AFailingSafetyCopyOrConverterImportsNothing)
{
    MessageRecorder messages;
    TFileImport& w = open();
    ASSERT_TRUE(w.LoadFilePreview(csv("a.csv", "青木\r\n")));
    w.SelectItem(24);
    button("bbtnSet")->click();

    SetCopyFaultHook([](TCopyStep, const QString&) { return true; });
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    w.btnImportClick();
    EXPECT_EQ(messages.last().flags & 0xF0, unsigned(MsgSeam::MbIconStop));
    EXPECT_TRUE(messages.last().text.startsWith("作業前のバックアップが作成できませんでした"));
    SetCopyFaultHook({});

    LibraryLoader::SetFailingLoad(QStringLiteral("DLZsCnv.dll"));
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    w.btnImportClick();
    EXPECT_TRUE(messages.last().text.startsWith("DLZsCnv.dll LoadLibrary Error"));
    EXPECT_TRUE(child<QWidget>("gbxItem")->isEnabled());
    EXPECT_EQ(w.result(), QDialog::Rejected);
    EXPECT_FALSE(w.Stored());
    EXPECT_EQ(names(), (QStringList{"山田", "佐藤"}));
}

} // namespace
