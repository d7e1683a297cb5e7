// The list-print window: templates at opening, the format and rule pages, printing with its refusals, the
// preview, and the address list's command.
#include "dataexchange/ListPrint.h"

#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "dataexchange/ListPrintPreview.h"
#include "layoutobjects/PrinterInfo.h"
#include "platform/IniFile.h"
#include "support/DrawingFixture.h"
#include "support/FakeAdrsRow.h"
#include "support/FakeListRows.h"
#include "support/MessageRecorder.h"
#include "support/SessionFixture.h"

#include <QAction>
#include <QCheckBox>
#include <QComboBox>
#include <QElapsedTimer>
#include <QFocusEvent>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QPushButton>
#include <QScrollArea>
#include <QScrollBar>
#include <QStackedWidget>
#include <QTemporaryDir>
#include <QTest>
#include <QToolButton>
#include <QWheelEvent>

#include <gtest/gtest.h>

namespace {

const QString Confirm = QStringLiteral("アドレス帳の一覧表を印刷します  \r\nよろしいですか？  ");

class ListPrintTest : public DrawingTest
{
protected:
    void SetUp() override
    {
        ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
        DataRootFolder = m_dir.path() + "/root/";
        DataFolder = m_dir.path() + "/data/";
        QDir().mkpath(DataRootFolder);
        QDir().mkpath(DataFolder);
        AdminPassword.clear();
        AdminMode = false;
        for (int i = 0; i < 40; ++i) {
            m_rows.recNos.append(100 + i);
            m_cursor.addRow(100 + i, {{"NameKanji", WideToHexText(QStringLiteral("名前%1").arg(i + 1))},
                                      {"MyNumber", EncryptFieldText("1234567890123", FieldCipherKey)}});
        }
    }
    void TearDown() override
    {
        delete m_window;
        AdminPassword.clear();
        AdminMode = false;
    }

    void settings(const QList<std::pair<QString, QString>>& keys, const QString& section = ListPrintLayoutSection)
    {
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        for (const auto& [key, value] : keys)
            ini.WriteString(section, key, value);
        ASSERT_TRUE(ini.UpdateFile());
    }

    TListPrint& open()
    {
        TListPrintSource source;
        source.Rows = &m_rows;
        source.Cursor = [this]() -> TAdrsTableCursor* { return &m_cursor; };
        source.ShownColumns = [] { return QList<int>{0, 20}; };
        m_window = new TListPrint(nullptr, std::move(source));
        return *m_window;
    }
    template <class T> T* child(const char* name) const
    {
        T* w = m_window->findChild<T*>(QLatin1String(name));
        EXPECT_NE(w, nullptr) << name;
        return w;
    }
    // Types text into a number edit and leaves it.
    QString typeInto(const char* name, const QString& text)
    {
        auto* edit = child<QLineEdit>(name);
        edit->setText(text);
        QFocusEvent out(QEvent::FocusOut);
        QCoreApplication::sendEvent(edit, &out);
        return edit->text();
    }
    QStringList destRows() const
    {
        QStringList rows;
        auto* dest = m_window->findChild<QListWidget*>(QStringLiteral("lbxDest"));
        for (int i = 0; i < dest->count(); ++i)
            rows << dest->item(i)->text();
        return rows;
    }

    QTemporaryDir m_dir;
    FakeListRows m_rows;
    FakeAdrsRow m_cursor;
    QPointer<TListPrint> m_window;
};

} // namespace

TEST_F(ListPrintTest, OpensOnTheListsColumnsOrOnTheLastLayout)
{
    TScopedPrinter printer(600);
    open();
    EXPECT_EQ(m_window->windowTitle(), QStringLiteral("一覧表の印刷"));
    EXPECT_EQ(child<QComboBox>("cbxTemplateType")->currentText(), QStringLiteral("カスタム"));
    EXPECT_EQ(child<QComboBox>("cbxTemplateName")->currentText(), ListLayoutTemplateName);
    EXPECT_EQ(destRows(), (QStringList{"＜通番＞", "名前カナ", ""}));
    EXPECT_FALSE(child<QToolButton>("bbtnDeleteTemplate")->isEnabled());
    delete m_window;

    settings({{"ItemNo", "21,15"}, {"ItemSize", "14,13"}, {"ItemAlign", "0,0"}});
    open();
    EXPECT_EQ(child<QComboBox>("cbxTemplateName")->currentText(), LastLayoutTemplateName);
    EXPECT_EQ(destRows(), (QStringList{"名前", "マイナンバー", ""}));
    EXPECT_EQ(m_window->Templates().Custom.size(), 2);
}

TEST_F(ListPrintTest, MarginsRuleButtonsAndColours)
{
    TScopedPrinter printer(600);
    settings({{"ColorCount", "10"}});
    open();
    EXPECT_EQ(typeInto("edtOffsetX", "12"), QStringLiteral("12.0"));
    EXPECT_EQ(typeInto("edtOffsetX", "12."), QStringLiteral("12.0"));
    EXPECT_EQ(typeInto("edtOffsetX", "1.25"), QStringLiteral("12.0"));
    EXPECT_EQ(typeInto("edtOffsetX", "50.1"), QStringLiteral("12.0"));
    EXPECT_EQ(typeInto("edtOffsetX", "4.5"), QStringLiteral("4.5"));

    // The top margin recounts once its change is through; the left one never does.
    auto* count = child<QLabel>("lblLineCount");
    const QString before = count->text();
    const int rows = m_window->RowsPerPage();
    typeInto("edtOffsetY", "50");
    EXPECT_EQ(count->text(), before);
    QCoreApplication::sendPostedEvents(m_window);
    EXPECT_LT(m_window->RowsPerPage(), rows);
    EXPECT_NE(count->text(), before);
    const int afterTop = m_window->RowsPerPage();
    typeInto("edtOffsetX", "50");
    QCoreApplication::sendPostedEvents(m_window);
    EXPECT_EQ(m_window->RowsPerPage(), afterTop);

    auto* outer = child<QToolButton>("sbtnOuter");
    outer->click();
    EXPECT_TRUE(m_window->Lines().On[lrTop] && m_window->Lines().On[lrRight]);
    EXPECT_TRUE(child<QToolButton>("sbtnLeft")->isChecked());
    outer->click();
    EXPECT_FALSE(m_window->Lines().On[lrTop] || m_window->Lines().On[lrRight]);

    // Ten colours: the add button opens nothing.
    auto* colors = child<QListWidget>("lbxColor");
    ASSERT_EQ(colors->count(), 10);
    child<QToolButton>("bbtnDataColor")->click();
    EXPECT_EQ(colors->count(), 10);
    EXPECT_EQ(QApplication::activeModalWidget(), nullptr);
    // The first colour dropped onto the third: the two change places, the second stays.
    for (int i = 0; i < 3; ++i)
        colors->item(i)->setData(Qt::UserRole, 0x101010 * (i + 1));
    m_window->ExchangeDataColors(0, 2);
    m_window->ExchangeDataColors(0, 10);
    ASSERT_EQ(colors->count(), 10);
    EXPECT_EQ(colors->item(0)->data(Qt::UserRole).toInt(), 0x303030);
    EXPECT_EQ(colors->item(1)->data(Qt::UserRole).toInt(), 0x202020);
    EXPECT_EQ(colors->item(2)->data(Qt::UserRole).toInt(), 0x101010);
    EXPECT_EQ(colors->currentRow(), 2);

    colors->setCurrentRow(9);
    child<QToolButton>("bbtnDeleteDataColor")->click();
    EXPECT_EQ(colors->count(), 9);
    EXPECT_EQ(colors->currentRow(), 8);
}

TEST_F(ListPrintTest, EnterMovesOnAsEachControlWants)
{
    TScopedPrinter printer(600);
    open();
    m_window->show();
    m_window->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(m_window));
    const auto pressEnter = [this](int page, const char* name) {
        m_window->ShowPage(page);
        auto* control = child<QWidget>(name);
        control->setFocus();
        QTest::keyClick(control, Qt::Key_Return);
        QWidget* focus = QApplication::focusWidget();
        return focus ? focus->objectName() : QString();
    };
    const auto page = [this] { return child<QStackedWidget>("pgcMain")->currentIndex(); };
    auto* viewDate = child<QCheckBox>("chkViewDate");
    auto* viewPage = child<QCheckBox>("chkViewPage");

    struct Case {
        bool dateOn, pageOn;
        const char* from;
        const char* to;
        int page;
    };
    const Case cases[] = {
        {true, true, "chkViewDate", "dtpViewDate", 0},   {false, true, "chkViewDate", "chkViewPage", 0},
        {true, true, "chkViewPage", "cbxPageType", 0},   {true, false, "chkViewPage", "lbxFontName", 1},
        {true, true, "cbxPagePosY", "lbxFontName", 1},   {true, true, "cbxAlign", "lbxSrc", 0},
        {true, true, "edtTitle", "cbxTitlePosX", 0},     {true, true, "lbxColor", "rbList", 3},
        {true, true, "rbList", "edtCopies", 3},
    };
    for (const Case& c : cases) {
        viewDate->setChecked(c.dateOn);
        viewPage->setChecked(c.pageOn);
        const int from = QStringLiteral("lbxColor") == QLatin1String(c.from) ? 2 : c.from[0] == 'r' ? 3 : 0;
        EXPECT_EQ(pressEnter(from, c.from), QLatin1String(c.to)) << c.from;
        EXPECT_EQ(page(), c.page) << c.from;
    }

    // A typed name that names no template stays for saving.
    auto* name = child<QComboBox>("cbxTemplateName");
    name->setEditText(QStringLiteral("新しい名前"));
    EXPECT_EQ(pressEnter(0, "cbxTemplateName"), QStringLiteral("lbxDest"));
    EXPECT_EQ(name->currentText(), QStringLiteral("新しい名前"));
}

TEST_F(ListPrintTest, PrintsAfterTheQuestionAndSavesTheSettings)
{
    TScopedPrinter printer(600);
    settings({{"ItemNo", "1,21"}, {"ItemSize", "4,14"}, {"ItemAlign", "0,0"}, {"Title", "名簿"}});
    settings({{"DataSelect", "2"}}, ListPrintSection);
    open();
    EXPECT_EQ(m_window->TargetCount(), 40);
    ASSERT_TRUE(child<QPushButton>("btnPrint")->isEnabled());
    {
        MessageRecorder messages;
        messages.answer(MsgSeam::IdNo);
        m_window->btnPrintClick();
        EXPECT_EQ(messages.last().text, Confirm);
        EXPECT_TRUE(printer.Printer()->Pages().empty());
    }
    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    m_window->btnPrintClick();
    ASSERT_EQ(messages.count(), 2);
    EXPECT_EQ(messages.last().text, QStringLiteral("一覧表の印刷が完了しました  "));
    const int pages = ListPageCount(40, m_window->RowsPerPage());
    EXPECT_EQ(int(printer.Printer()->Pages().size()), pages);
    EXPECT_EQ(child<QLabel>("lblPaperCount")->text(), QStringLiteral("%1 枚").arg(pages));
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    EXPECT_EQ(ini.ReadString(ListPrintLayoutSection, "ItemNo", {}), QStringLiteral("1,21"));
    EXPECT_EQ(ini.ReadString(ListPrintLayoutSection, "Title", {}), QStringLiteral("名簿"));
    EXPECT_EQ(ini.ReadString(ListPrintSection, "DataSelect", {}), QStringLiteral("2"));
    EXPECT_TRUE(QFile::exists(DataRootFolder + ListPrintPrinterFile));
}

TEST_F(ListPrintTest, RefusesProtectedItemsAndPagesThatHoldNoRecord)
{
    TScopedPrinter printer(600);
    settings({{"ItemNo", "21,15"}, {"ItemSize", "14,13"}, {"ItemAlign", "0,0"}, {"FontSize", "23"},
              {"iRowCount", "2"}, {"OffsetY", "500"}, {"Title", "表題"}});
    settings({{"DataSelect", "2"}}, ListPrintSection);
    AdminPassword = QStringLiteral("stored");
    open();
    {
        MessageRecorder messages;
        messages.answer(MsgSeam::IdOk);
        m_window->btnPrintClick();
        ASSERT_EQ(messages.count(), 1);
        EXPECT_EQ(messages.last().flags & 0xF0, unsigned(MsgSeam::MbIconExclamation));
        EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("管理者モードでなければ")));
    }
    AdminMode = true;
    // 30 points, three lines and a 50 mm margin on an A5 sheet: not one record fits.
    printer.Printer()->SetPaper(QPageSize(QPageSize::A6), QPageLayout::Landscape);
    m_window->Printer().TakeCurrentPrinter();
    m_window->RecountRows();
    EXPECT_LE(m_window->RowsPerPage(), 0);
    MessageRecorder messages;
    messages.answer(MsgSeam::IdYes).answer(MsgSeam::IdOk);
    m_window->btnPrintClick();
    ASSERT_EQ(messages.count(), 2);
    EXPECT_TRUE(messages.last().text.startsWith(QStringLiteral("１ページに印刷できるデータがありません")));
    EXPECT_TRUE(printer.Printer()->Pages().empty());
}

TEST_F(ListPrintTest, PreviewPagesMasksAndFollowsTheSettings)
{
    TScopedPrinter printer(600);
    settings({{"ItemNo", "1,15"}, {"ItemSize", "4,13"}, {"ItemAlign", "0,0"}, {"OffsetY", "500"},
              {"FontSize", "23"}});
    settings({{"DataSelect", "2"}}, ListPrintSection);
    AdminPassword = QStringLiteral("stored");
    open();
    m_window->show();
    child<QPushButton>("btnPreview")->click();
    TListPrintPreview* preview = m_window->Preview();
    ASSERT_NE(preview, nullptr);
    EXPECT_EQ(child<QPushButton>("btnPreview")->text(), QStringLiteral("プレビューを閉じる"));
    const int total = ListPageCount(40, m_window->RowsPerPage());
    ASSERT_GE(total, 3);
    EXPECT_EQ(preview->PageTotal(), total);
    EXPECT_EQ(preview->Page(), 1);
    auto* first = preview->findChild<QToolButton*>("sbtnFirst");
    auto* last = preview->findChild<QToolButton*>("sbtnLast");
    EXPECT_FALSE(first->isEnabled());
    last->click();
    EXPECT_EQ(preview->Page(), total);
    EXPECT_FALSE(last->isEnabled());
    EXPECT_EQ(preview->findChild<QLabel*>("lblNowPage")->text(), QString::number(total));
    EXPECT_TRUE(preview->Sheet().AllText().contains(QStringLiteral("*************")));
    EXPECT_FALSE(preview->Sheet().AllText().contains(QStringLiteral("1234567890123")));

    // A setting changes: back to page 1.
    child<QToolButton>("sbtnOuter")->click();
    EXPECT_EQ(preview->Page(), 1);

    // Zoom: 100% keeps the panel's size, the whole sheet fits the window.
    preview->resize(900, 700);
    preview->ChooseZoom(5);
    const QSize hundred = preview->ImagePanel()->size();
    EXPECT_EQ(hundred, m_window->Printer().GetPageSize96());
    preview->resize(1000, 800);
    QCoreApplication::processEvents();
    EXPECT_EQ(preview->ImagePanel()->size(), hundred);
    preview->ChooseZoom(0);
    EXPECT_LT(preview->ImagePanel()->height(), 800);
    EXPECT_GE(preview->ImagePanel()->x(), 20);

    m_window->close();
    QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
    EXPECT_FALSE(m_window);
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    EXPECT_EQ(ini.ReadInteger(ListPrintPreviewSection, "Zoom", -1), 0);
}

namespace {

// With TOVAREL_XVFB_FBDIR set, the screen is kept as name there once the windows have been drawn.
void KeepScreenshot(const QString& name)
{
    const QString folder = qEnvironmentVariable("TOVAREL_XVFB_FBDIR");
    if (folder.isEmpty())
        return;
    QElapsedTimer shown;
    shown.start();
    while (shown.elapsed() < 1500)
        QTest::qWait(50);
    QFile::remove(folder + "/" + name);
    QFile::copy(folder + "/Xvfb_screen0", folder + "/" + name);
}

class ListPrintSessionTest : public SessionFixture
{
protected:
    void SetUp() override
    {
        SessionFixture::SetUp();
        RegisterListPrint();
    }
    void TearDown() override
    {
        RegisterListCommand(TListCommand::ListPrint, {});
        RegisterListChild(TListChild::ListPrint, {});
        TPrinterList::Instance().SetPrinters({});
        SessionFixture::TearDown();
    }
};

} // namespace

TEST_F(ListPrintSessionTest, TheCommandNeedsAPrinter)
{
    writeWorkBook(12);
    MessageRecorder messages;
    messages.allowUnexpected();
    runSession([&](TAddressList& list) {
        QAction* action = list.Action("actListPrint");
        ASSERT_NE(action, nullptr);
        EXPECT_EQ(action->text(), QStringLiteral("一覧表印刷(&L)..."));
        list.UpdateActions();
        ASSERT_TRUE(action->isEnabled());

        TPrinterList::Instance().SetPrinters({});
        const int before = messages.count();
        action->trigger();
        EXPECT_FALSE(ListPrint);
        ASSERT_EQ(messages.count(), before + 1);
        EXPECT_EQ(messages.last().text, QStringLiteral("プリンターがインストールされていません  "));

        TScopedPrinter printer(600);
        action->trigger();
        ASSERT_TRUE(ListPrint);
        TListPrint* window = ListPrint;
        EXPECT_EQ(window->TargetCount(), list.GetSelectedCount());
        action->trigger();
        EXPECT_EQ(ListPrint.data(), window);
        KeepScreenshot("listprint-shot.xwd");
        window->TogglePreview();
        ASSERT_NE(window->Preview(), nullptr);
        KeepScreenshot("listprint-preview.xwd");
        EXPECT_TRUE(list.CloseChildWindows());
        QCoreApplication::sendPostedEvents(nullptr, QEvent::DeferredDelete);
        EXPECT_FALSE(ListPrint);
    });
}

TEST_F(ListPrintTest, PreviewScrollsByKeysAndWheelOnlyWhileItHasTheFocus)
{
    TScopedPrinter printer(600);
    open();
    m_window->show();
    child<QPushButton>("btnPreview")->click();
    TListPrintPreview* preview = m_window->Preview();
    ASSERT_NE(preview, nullptr);
    preview->resize(700, 500);
    preview->activateWindow();
    ASSERT_TRUE(QTest::qWaitForWindowActive(preview));
    preview->ChooseZoom(1);
    QCoreApplication::processEvents();
    auto* box = preview->findChild<QScrollArea*>("sbxPreview");
    QScrollBar* v = box->verticalScrollBar();
    ASSERT_TRUE(v->isVisible());
    const int page = box->viewport()->height();
    const auto wheel = [box](int delta) {
        const QPointF at(box->viewport()->rect().center());
        QWheelEvent event(at, box->viewport()->mapToGlobal(at), {}, {0, delta}, Qt::NoButton, Qt::NoModifier,
                          Qt::NoScrollPhase, false);
        QApplication::sendEvent(box->viewport(), &event);
    };

    // Without the focus neither keys nor the wheel move the sheet.
    auto* zoom = preview->findChild<QComboBox*>("cbxZoom");
    zoom->setFocus();
    wheel(-120);
    EXPECT_EQ(v->value(), 0);
    QTest::keyClick(zoom, Qt::Key_Return);
    EXPECT_EQ(QApplication::focusWidget(), preview->findChild<QPushButton*>("btnClose"));

    box->setFocus();
    QTest::keyClick(box, Qt::Key_PageDown);
    EXPECT_EQ(v->value(), std::min(page, v->maximum()));
    QTest::keyClick(box, Qt::Key_PageUp);
    QTest::keyClick(box, Qt::Key_Down);
    EXPECT_EQ(v->value(), v->singleStep());
    QTest::keyClick(box, Qt::Key_Up);
    wheel(-240);
    EXPECT_EQ(v->value(), 2 * QApplication::wheelScrollLines() * v->singleStep());
    wheel(240);
    EXPECT_EQ(v->value(), 0);

    // The whole sheet: no bar, so nothing scrolls.
    preview->ChooseZoom(0);
    QCoreApplication::processEvents();
    EXPECT_FALSE(v->isVisible());
    QTest::keyClick(box, Qt::Key_PageDown);
    EXPECT_EQ(v->value(), 0);
}
