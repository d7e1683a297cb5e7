// A window with every shared control, saved as a picture when TOVAREL_GRAB_DIR names a folder.
#include "core/ExTrackBar.h"
#include "core/LimitedScrollBox.h"
#include "core/NMDEdit.h"
#include "core/NumEdit.h"
#include "core/PaintPanel.h"
#include "core/TntNMDEdit.h"
#include "core/TntSortListView.h"
#include "support/InputMethodEvents.h"

#include <gtest/gtest.h>
#include <QFormLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLinearGradient>
#include <QTest>
#include <QVBoxLayout>

TEST(ControlsDemo, EveryControlInOneWindow)
{
    QWidget window;
    window.setWindowTitle(QString::fromUtf16(u"コントロール見本"));
    auto* root = new QHBoxLayout(&window);

    auto* list = new TTntSortListView;
    list->setObjectName("lvAddress");
    list->SetColumns({{QString::fromUtf16(u"名称"), 150, Qt::AlignLeft},
                      {QString::fromUtf16(u"電話番号"), 110, Qt::AlignRight},
                      {QString::fromUtf16(u"住所"), 160, Qt::AlignHCenter}});
    list->Items()->SetOwnerData(true);
    list->Items()->SetTextProvider([](int row, qint64 key) {
        return QStringList{QString::fromUtf16(u"株式会社 見本%1").arg(key),
                           QString("03-1234-%1").arg(1000 + row),
                           QString::fromUtf16(u"東京都千代田区%1丁目").arg(row % 9 + 1)};
    });
    std::vector<qint64> keys(40);
    for (size_t i = 0; i < keys.size(); ++i)
        keys[i] = qint64(keys.size() - i);
    list->Items()->SetKeys(keys);
    list->SetSortIndex(1);
    list->SetSortDir(sdDesc);
    root->addWidget(list, 3);

    auto* side = new QVBoxLayout;
    root->addLayout(side, 2);

    auto* names = new QGroupBox(QString::fromUtf16(u"読みの写し"));
    auto* form = new QFormLayout(names);
    auto* corp = new TNMDEdit;
    auto* corpKana = new QLineEdit;
    corpKana->setMaxLength(40);
    corp->SetAssociate(corpKana);
    auto* person = new TTntNMDEdit;
    auto* personKana = new TTntNMDEdit;
    personKana->SetInputType(itKana);
    person->SetAssociate(personKana);
    personKana->SetAssociate(person);
    auto* combo = new TNMDComboBox;
    form->addRow(QString::fromUtf16(u"会社名"), corp);
    form->addRow(QString::fromUtf16(u"会社名カナ"), corpKana);
    form->addRow(QString::fromUtf16(u"氏名"), person);
    form->addRow(QString::fromUtf16(u"氏名カナ"), personKana);
    form->addRow(QString::fromUtf16(u"検索名"), combo);
    side->addWidget(names);

    TestIme::Convert(corp, QString::fromUtf16(u"みほんしょうじ"), QString::fromUtf16(u"見本商事"));
    person->InsertWordAndReading(QString::fromUtf16(u"山田"), QString::fromUtf16(u"ﾔﾏﾀﾞ"), nkLineage);
    TestIme::Convert(person, QString::fromUtf16(u"はなこ"), QString::fromUtf16(u"花子"));
    TestIme::Convert(combo, QString::fromUtf16(u"ほんや"), QString::fromUtf16(u"本屋"));

    auto* numbers = new QGroupBox(QString::fromUtf16(u"数字の欄"));
    auto* numberForm = new QFormLayout(numbers);
    auto* myNumber = new TNumEdit;
    myNumber->SetNumOnly(true);
    myNumber->setMaxLength(13);
    myNumber->setText("1234567890123");
    auto* sizeField = new TNumEdit;
    sizeField->SetAlignment(Qt::AlignRight);
    sizeField->setText("2048");
    auto* slider = new TExTrackBar;
    slider->setRange(1, 5);
    slider->setValue(3);
    slider->setTickPosition(QSlider::TicksBelow);
    numberForm->addRow(QString::fromUtf16(u"個人番号"), myNumber);
    numberForm->addRow(QString::fromUtf16(u"容量 (MB)"), sizeField);
    numberForm->addRow(QString::fromUtf16(u"文字の大きさ"), slider);
    side->addWidget(numbers);

    QImage picture(120, 60, QImage::Format_RGB32);
    {
        QPainter p(&picture);
        QLinearGradient g(0, 0, 120, 60);
        g.setColorAt(0, QColor(40, 90, 200));
        g.setColorAt(1, QColor(230, 240, 255));
        p.fillRect(picture.rect(), g);
    }
    auto* panel = new TPaintPanel;
    panel->SetBevelOuter(bvLowered);
    panel->SetBevelWidth(2);
    panel->SetCenter(true);
    panel->SetImage(picture);
    panel->SetCaption(QString::fromUtf16(u"中央の絵"));
    panel->setMinimumHeight(90);
    panel->OnPaint = [](TPaintPanel*, QPainter* canvas, const QRect& r) {
        canvas->setPen(QPen(Qt::red, 1, Qt::DashLine));
        canvas->drawRect(r.adjusted(4, 4, -5, -5));
    };
    side->addWidget(panel);

    auto* box = new TLimitedScrollBox;
    auto* sheet = new QWidget;
    sheet->resize(500, 400);
    auto* sheetLabel = new QLabel(QString::fromUtf16(u"プレビュー領域 (自動では動きません)"), sheet);
    sheetLabel->move(10, 10);
    new QLineEdit(QString::fromUtf16(u"見えない所の欄"), sheet);
    sheet->findChild<QLineEdit*>()->setGeometry(300, 350, 150, 24);
    box->setWidget(sheet);
    box->setMinimumHeight(110);
    side->addWidget(box);

    window.resize(1000, 560);
    window.show();
    ASSERT_TRUE(QTest::qWaitForWindowExposed(&window));

    EXPECT_EQ(corpKana->text(), QString::fromUtf16(u"ﾐﾎﾝｼｮｳｼﾞ"));
    EXPECT_EQ(personKana->text(), QString::fromUtf16(u"ﾔﾏﾀﾞ ﾊﾅｺ"));
    EXPECT_EQ(list->SortIndex(), 1);

    const QString dir = qEnvironmentVariable("TOVAREL_GRAB_DIR");
    if (!dir.isEmpty()) {
        EXPECT_TRUE(window.grab().save(QDir(dir).filePath("controls.png")));
    }
}
