// Tests of the number edit, the picture panel, the limited scroll box and the track bar.
#include "core/ExTrackBar.h"
#include "core/LimitedScrollBox.h"
#include "core/NumEdit.h"
#include "core/PaintPanel.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QInputMethodEvent>
#include <QKeyEvent>
#include <QScrollBar>
#include <QStyleOptionSlider>
#include <QTest>
#include <QVBoxLayout>

namespace {

void typeText(QWidget* w, const QString& text)
{
    for (QChar ch : text) {
        QKeyEvent press(QEvent::KeyPress, 0, Qt::NoModifier, QString(ch));
        QApplication::sendEvent(w, &press);
    }
}

QImage filled(int w, int h, QColor color)
{
    QImage image(w, h, QImage::Format_RGB32);
    image.fill(color);
    return image;
}

} // namespace

TEST(NumEdit, NumOnlyRefusesLettersFromKeyboardAndInputMethod)
{
    TNumEdit edit;
    edit.SetAlignment(Qt::AlignRight);
    edit.SetNumOnly(true);
    EXPECT_TRUE(edit.alignment() & Qt::AlignRight);
    typeText(&edit, QString::fromUtf16(u"1a2-Ｂ3 "));
    EXPECT_EQ(edit.text(), "123");
    QInputMethodEvent commit;
    commit.setCommitString(QString::fromUtf16(u"4あ5"));
    QApplication::sendEvent(&edit, &commit);
    EXPECT_EQ(edit.text(), "12345");
    QTest::keyClick(&edit, Qt::Key_Backspace);
    EXPECT_EQ(edit.text(), "1234");

    edit.SetNumOnly(false);
    typeText(&edit, "x");
    EXPECT_EQ(edit.text(), "1234x");
}

TEST(PaintPanel, AutoSizeFollowsPictureAndBevels)
{
    struct Case
    {
        TPanelBevel outer, inner;
        int bevelWidth, borderWidth;
        TAlign align;
        QSize expected;
    } cases[] = {
        {bvRaised, bvNone, 2, 0, alNone, {104, 54}},  {bvLowered, bvRaised, 1, 3, alNone, {110, 60}},
        {bvNone, bvNone, 2, 0, alNone, {100, 50}},    {bvRaised, bvNone, 2, 0, alTop, {300, 54}},
        {bvRaised, bvNone, 2, 0, alLeft, {104, 200}}, {bvRaised, bvNone, 2, 0, alClient, {300, 200}},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.expected.width() * 1000 + c.expected.height());
        TPaintPanel panel;
        panel.resize(300, 200);
        panel.SetBevelOuter(c.outer);
        panel.SetBevelInner(c.inner);
        panel.SetBevelWidth(c.bevelWidth);
        panel.SetBorderWidth(c.borderWidth);
        panel.SetAlign(c.align);
        panel.SetAutoSize(true);
        EXPECT_EQ(panel.size(), QSize(300, 200)); // nothing to size to yet
        panel.SetImage(filled(100, 50, Qt::red));
        EXPECT_EQ(panel.size(), c.expected);
    }
}

TEST(PaintPanel, PictureCentredOrFromTopLeftUnderBevel)
{
    TPaintPanel panel;
    panel.resize(64, 44);
    panel.SetBevelOuter(bvRaised);
    panel.SetBevelWidth(2);
    panel.SetColor(Qt::white);
    panel.SetImage(filled(20, 10, Qt::red));
    QRect painted;
    panel.OnPaint = [&](TPaintPanel*, QPainter* canvas, const QRect& r) {
        painted = r;
        canvas->fillRect(QRect(r.right(), r.bottom(), 1, 1), Qt::green);
    };

    QImage shot = panel.grab().toImage();
    EXPECT_EQ(painted, QRect(2, 2, 60, 40));
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(21, 11), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(32, 22), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(61, 41), QColor(Qt::green)); // the owner draws over the picture
    // Raised bevel: light top-left, shadow bottom-right.
    EXPECT_EQ(shot.pixel(0, 0), panel.palette().color(QPalette::Light).rgb());
    EXPECT_EQ(shot.pixel(63, 43), panel.palette().color(QPalette::Dark).rgb());
    panel.SetBevelOuter(bvLowered);
    shot = panel.grab().toImage();
    EXPECT_EQ(shot.pixel(1, 1), panel.palette().color(QPalette::Dark).rgb());
    EXPECT_EQ(shot.pixel(62, 42), panel.palette().color(QPalette::Light).rgb());

    panel.SetCenter(true);
    shot = panel.grab().toImage();
    // Offsets (20-60)/2 = -20 and (10-40)/2 = -15: the picture covers x 22..41, y 17..26.
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(Qt::white));
    EXPECT_EQ(shot.pixelColor(22, 17), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(41, 26), QColor(Qt::red));
    EXPECT_EQ(shot.pixelColor(42, 27), QColor(Qt::white));

    // A larger picture shows its middle.
    QImage big = filled(101, 81, Qt::blue);
    big.setPixelColor(20, 20, Qt::yellow); // (101-60)/2 = 20, (81-40)/2 = 20
    panel.SetImage(big);
    shot = panel.grab().toImage();
    EXPECT_EQ(shot.pixelColor(2, 2), QColor(Qt::yellow));
    EXPECT_EQ(shot.pixelColor(3, 3), QColor(Qt::blue));

    panel.SetImage(QImage());
    EXPECT_TRUE(panel.Image().isNull());
}

TEST(PaintPanel, ArrowKeysReachItsKeyEvents)
{
    QWidget window;
    auto* panel = new TPaintPanel(&window);
    auto* other = new QLineEdit(&window);
    auto* layout = new QVBoxLayout(&window);
    layout->addWidget(panel);
    layout->addWidget(other);
    std::vector<int> keys;
    panel->OnKeyDown = [&](TPaintPanel*, QKeyEvent* e) { keys.push_back(e->key()); };
    window.show();
    QApplication::setActiveWindow(&window);
    ASSERT_TRUE(QTest::qWaitForWindowActive(&window));
    panel->setFocus();
    QTest::keyClick(panel, Qt::Key_Down);
    QTest::keyClick(panel, Qt::Key_Left);
    EXPECT_EQ(keys, (std::vector<int>{Qt::Key_Down, Qt::Key_Left}));
    EXPECT_TRUE(panel->hasFocus());
}

TEST(LimitedScrollBox, TabIntoHiddenControlDoesNotScroll)
{
    auto run = [](QScrollArea* box) {
        QWidget window;
        box->setParent(&window);
        box->setGeometry(0, 0, 200, 200);
        auto* content = new QWidget;
        content->resize(180, 1000);
        auto* top = new QLineEdit(content);
        top->setGeometry(10, 10, 100, 24);
        auto* bottom = new QLineEdit(content);
        bottom->setGeometry(10, 900, 100, 24);
        box->setWidget(content);
        window.resize(200, 200);
        window.show();
        QApplication::setActiveWindow(&window);
        EXPECT_TRUE(QTest::qWaitForWindowActive(&window));
        top->setFocus();
        QTest::keyClick(top, Qt::Key_Tab);
        EXPECT_TRUE(bottom->hasFocus());
        return box->verticalScrollBar()->value();
    };
    EXPECT_EQ(run(new TLimitedScrollBox), 0);
    EXPECT_GT(run(new QScrollArea), 0); // what the plain scroll area does
}

namespace {

struct TrackFixture
{
    QWidget window;
    TExTrackBar* bar = new TExTrackBar(&window);
    std::vector<QPoint> downs;
    int changed = 0;

    TrackFixture()
    {
        bar->setRange(1, 5);
        bar->setPageStep(1);
        bar->setValue(3);
        bar->setGeometry(0, 0, 300, 30);
        bar->OnMouseDown = [this](TExTrackBar*, Qt::MouseButton b, Qt::KeyboardModifiers, int x, int y) {
            if (b == Qt::LeftButton)
                downs.emplace_back(x, y);
        };
        bar->OnChanged = [this](TExTrackBar*) { ++changed; };
        window.resize(300, 30);
        window.show();
        QApplication::setActiveWindow(&window);
    }
    QRect handle() const
    {
        QStyleOptionSlider opt;
        opt.initFrom(bar);
        opt.subControls = QStyle::SC_All;
        opt.orientation = bar->orientation();
        opt.minimum = bar->minimum();
        opt.maximum = bar->maximum();
        opt.sliderPosition = bar->sliderPosition();
        opt.sliderValue = bar->value();
        opt.singleStep = bar->singleStep();
        opt.pageStep = bar->pageStep();
        opt.upsideDown = bar->invertedAppearance();
        return bar->style()->subControlRect(QStyle::CC_Slider, &opt, QStyle::SC_SliderHandle, bar);
    }
};

} // namespace

TEST(ExTrackBar, ClickBesideThumbIsLeftToOwner)
{
    TrackFixture f;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window));
    const QRect h = f.handle();
    ASSERT_GT(h.left(), 20);
    QTest::mouseClick(f.bar, Qt::LeftButton, {}, QPoint(5, h.center().y()));
    QTest::mouseClick(f.bar, Qt::LeftButton, {}, QPoint(295, h.center().y()));
    EXPECT_EQ(f.bar->value(), 3);
    EXPECT_EQ(f.downs.size(), 2u);
    EXPECT_TRUE(f.bar->hasFocus());
    EXPECT_EQ(f.changed, 0);
}

TEST(ExTrackBar, ReleasingDraggedThumbReportsOnce)
{
    TrackFixture f;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window));
    const QPoint start = f.handle().center();
    QTest::mousePress(f.bar, Qt::LeftButton, {}, start);
    for (int dx = 20; dx <= 120; dx += 20) {
        QMouseEvent move(QEvent::MouseMove, QPointF(start + QPoint(dx, 0)),
                         QPointF(f.bar->mapToGlobal(start + QPoint(dx, 0))), Qt::NoButton, Qt::LeftButton,
                         Qt::NoModifier);
        QApplication::sendEvent(f.bar, &move);
    }
    QTest::mouseRelease(f.bar, Qt::LeftButton, {}, start + QPoint(120, 0));
    EXPECT_EQ(f.bar->value(), 5);
    EXPECT_EQ(f.changed, 1);
    EXPECT_TRUE(f.downs.empty()); // a press on the thumb is not the owner's
}

TEST(ExTrackBar, KeysFollowDownIsLeftAndReportTheirEnd)
{
    struct Case
    {
        bool downIsLeft;
        Qt::Key key;
        int expected;
    } cases[] = {
        {false, Qt::Key_Down, 4}, {false, Qt::Key_Up, 2},      {false, Qt::Key_PageDown, 4},
        {true, Qt::Key_Down, 2},  {true, Qt::Key_PageDown, 2}, {true, Qt::Key_Right, 4},
        {false, Qt::Key_Left, 2}, {false, Qt::Key_End, 5},
    };
    TrackFixture f;
    ASSERT_TRUE(QTest::qWaitForWindowActive(&f.window));
    f.bar->setFocus();
    for (const Case& c : cases) {
        SCOPED_TRACE(int(c.key));
        f.bar->SetDownIsLeft(c.downIsLeft);
        f.bar->setValue(3);
        f.changed = 0;
        QTest::keyClick(f.bar, c.key);
        EXPECT_EQ(f.bar->value(), c.expected);
        EXPECT_EQ(f.changed, 1);
    }
}
