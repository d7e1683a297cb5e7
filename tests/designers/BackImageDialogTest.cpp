// The background dialog: the controls shown for each mode, the orange first colour, a picture option left
// without a picture, pictures from drops and from the picker link, mirroring and turning, the angle edit,
// and the custom colours written back after a cancelled colour dialog.
#include "designers/BackImageDialog.h"

#include "designers/ImageToolLink.h"
#include "layoutobjects/SettingDialogSub.h"
#include "support/ModalDriver.h"
#include "support/SettingDialogFixture.h"
#include "support/XvfbShot.h"

#include <QColorDialog>
#include <QFile>
#include <QLineEdit>
#include <QMimeData>
#include <QPushButton>
#include <QRadioButton>
#include <QTest>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

class FakeImageToolLink : public TImageToolLink
{
public:
    bool RequestSelect(QWidget* owner) override
    {
        owners.append(owner);
        return true;
    }
    void Close() override {}
    QList<QWidget*> owners;
};

class BackImageDialogTest : public SettingDialogTest
{
protected:
    // A postcard's background in the given mode.
    static TBackImage background(quint8 mode, const QImage& picture = {})
    {
        TBackImage back;
        back.SetPaperSize({1000, 1480});
        back.SetVisibleRect({0, 0, 378, 559});
        if (!picture.isNull()) {
            TGraphic graphic;
            graphic.Bitmap = picture;
            back.SetGraphic(&graphic);
        }
        back.SetMode(mode);
        back.SetColor(0x112233);
        back.SetColor2(0x445566);
        back.SetGradientAngle(45);
        return back;
    }
    // Four pixels in a row, each of its own colour.
    static QImage strip()
    {
        QImage image(4, 1, QImage::Format_RGB888);
        const QColor colours[] = {Qt::red, Qt::green, Qt::blue, Qt::yellow};
        for (int x = 0; x < 4; ++x)
            image.setPixelColor(x, 0, colours[x]);
        return image;
    }
    QString saved(const QImage& image, const char* name)
    {
        const QString path = m_dir.filePath(QLatin1String(name));
        EXPECT_TRUE(image.save(path));
        return path;
    }
    static bool shown(QWidget& dialog, const char* name)
    {
        return child<QWidget>(dialog, name)->isVisibleTo(&dialog);
    }
    static bool checked(QWidget& dialog, const char* name) { return child<QRadioButton>(dialog, name)->isChecked(); }
};

TEST_F(BackImageDialogTest, EachModeShowsItsControls)
{
    const QImage picture = strip();
    struct Case
    {
        quint8 mode;
        const char* kind;
        const char* detail; // the placement or colour kind checked, or none
        bool imagePage, colorPage, secondColor;
    };
    const Case cases[] = {
        {BackNone, "rbNone", nullptr, false, false, false},
        {BackFitted, "rbImage", "rbStretch", true, false, false},
        {BackCentred, "rbImage", "rbCenter", true, false, false},
        {BackTiled, "rbImage", "rbTiled", true, false, false},
        {BackColor, "rbColor", "rbFilled", false, true, false},
        {BackGradient, "rbColor", "rbGradation", false, true, true},
    };
    for (const Case& c : cases) {
        TBackImageDialog dialog;
        dialog.SetBackImage(background(c.mode, picture));
        EXPECT_EQ(dialog.BackImage.Mode(), c.mode);
        EXPECT_TRUE(checked(dialog, c.kind)) << int(c.mode);
        EXPECT_TRUE(blue(child<QRadioButton>(dialog, c.kind))) << int(c.mode);
        if (c.detail)
            EXPECT_TRUE(checked(dialog, c.detail)) << int(c.mode);
        EXPECT_EQ(shown(dialog, "tbsImage"), c.imagePage) << int(c.mode);
        EXPECT_EQ(shown(dialog, "tbsColor"), c.colorPage) << int(c.mode);
        EXPECT_EQ(shown(dialog, "edAngle"), c.secondColor) << int(c.mode);
    }
    // The gradient keeps its colours and angle; a single colour gets white as its second.
    TBackImageDialog gradient;
    gradient.SetBackImage(background(BackGradient));
    EXPECT_EQ(gradient.BackImage.Color2(), 0x445566u);
    EXPECT_EQ(child<TUpDownEdit>(gradient, "edAngle")->Value(), 45);
    TBackImageDialog single;
    single.SetBackImage(background(BackColor));
    EXPECT_EQ(single.BackImage.Color(), 0x112233u);
    EXPECT_EQ(single.BackImage.Color2(), 0xFFFFFFu);

    // The preview is the paper at 90 % of the preview's height, centred.
    const QWidget* card = child<QWidget>(single, "pnlCard");
    const QRect client = static_cast<QFrame*>(single.Preview())->contentsRect();
    EXPECT_EQ(card->height(), int(std::nearbyint(559 * client.height() * 0.9 / 559)));
    EXPECT_EQ(card->x(), client.x() + (client.width() - card->width()) / 2);
}

TEST_F(BackImageDialogTest, ChoosingKindsOnAnEmptyBackground)
{
    TBackImageDialog dialog;
    dialog.SetBackImage(background(BackNone));
    child<QRadioButton>(dialog, "rbColor")->click();
    EXPECT_EQ(dialog.BackImage.Mode(), BackColor);
    EXPECT_EQ(dialog.BackImage.Color(), BackDefaultColor) << "orange until another colour is chosen";
    EXPECT_EQ(child<TColorPanel>(dialog, "pnlColor1")->Color(), BackDefaultColor);
    EXPECT_FALSE(blue(child<QRadioButton>(dialog, "rbNone")));
    child<QRadioButton>(dialog, "rbGradation")->click();
    EXPECT_EQ(dialog.BackImage.Mode(), BackGradient);
    EXPECT_TRUE(shown(dialog, "pnlColor2"));

    // A picture option left without a picture gives no background.
    child<QRadioButton>(dialog, "rbImage")->click();
    child<QRadioButton>(dialog, "rbTiled")->click();
    EXPECT_EQ(dialog.BackImage.Mode(), BackTiled);
    child<QPushButton>(dialog, "btnOK")->click();
    EXPECT_EQ(dialog.result(), QDialog::Accepted);
    EXPECT_EQ(dialog.BackImage.Mode(), BackNone);
}

TEST_F(BackImageDialogTest, PicturesFromDropsAndThePicker)
{
    const QString bmp = saved(strip(), "strip.bmp");
    const QString jpg = saved(QImage(10, 6, QImage::Format_RGB888), "other.jpg");
    const QString png = saved(strip(), "strip.png");

    // Two files dropped on the preview: the first counts.
    TBackImageDialog dropped;
    dropped.SetBackImage(background(BackColor));
    QMimeData data;
    data.setUrls({QUrl::fromLocalFile(bmp), QUrl::fromLocalFile(jpg)});
    QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    enter.ignore();
    QApplication::sendEvent(dropped.Preview(), &enter);
    EXPECT_TRUE(enter.isAccepted());
    QDropEvent drop(QPointF(5, 5), Qt::CopyAction, &data, Qt::LeftButton, Qt::NoModifier);
    QApplication::sendEvent(dropped.Preview(), &drop);
    EXPECT_TRUE(checked(dropped, "rbImage"));
    EXPECT_EQ(dropped.BackImage.Mode(), BackFitted);
    EXPECT_EQ(dropped.BackImage.Picture().size(), QSize(4, 1));

    // Through the picker: the button asks the link, the answer arrives by its signal.
    FakeImageToolLink link;
    TBackImageDialog picked(nullptr, &link);
    picked.SetBackImage(background(BackNone));
    child<QPushButton>(picked, "bbtnImage")->click();
    ASSERT_EQ(link.owners.size(), 1);
    EXPECT_EQ(link.owners.first(), &picked);
    emit link.imageChosen(jpg);
    EXPECT_EQ(picked.BackImage.Picture().size(), QSize(10, 6));
    EXPECT_FALSE(picked.BackImage.JpegSource().isEmpty());

    // Another kind of file, or a missing one, chooses the option but loads nothing.
    for (const QString& path : {png, m_dir.filePath(QStringLiteral("gone.bmp"))}) {
        TBackImageDialog other;
        other.SetBackImage(background(BackNone));
        other.DropFiles({path});
        EXPECT_TRUE(checked(other, "rbImage")) << path.toStdString();
        EXPECT_TRUE(other.BackImage.Picture().isNull()) << path.toStdString();
        child<QPushButton>(other, "btnCancel")->click();
        EXPECT_EQ(other.BackImage.Mode(), BackNone) << path.toStdString();
    }
    TBackImageDialog unlinked;
    EXPECT_FALSE(child<QPushButton>(unlinked, "bbtnImage")->isEnabled());
}

TEST_F(BackImageDialogTest, MirroringAndTurning)
{
    const QImage picture = strip();
    TBackImageDialog dialog;
    dialog.SetBackImage(background(BackFitted, picture));
    const auto pixel = [&](int x, int y) { return dialog.BackImage.Picture().pixelColor(x, y); };

    child<QRadioButton>(dialog, "rbL90")->click();
    child<QPushButton>(dialog, "bbtnRotate")->click();
    EXPECT_EQ(dialog.BackImage.Picture().size(), QSize(1, 4));
    EXPECT_EQ(pixel(0, 3), QColor(Qt::red)) << "a quarter turn anticlockwise";
    child<QRadioButton>(dialog, "rbR90")->click();
    child<QPushButton>(dialog, "bbtnRotate")->click();
    EXPECT_EQ(dialog.BackImage.Picture().convertToFormat(QImage::Format_RGB888), picture);

    child<QRadioButton>(dialog, "rbHorz")->click();
    child<QPushButton>(dialog, "bbtnReverse")->click();
    EXPECT_EQ(pixel(0, 0), QColor(Qt::yellow));
    child<QRadioButton>(dialog, "rb180")->click();
    child<QPushButton>(dialog, "bbtnRotate")->click();
    EXPECT_EQ(pixel(0, 0), QColor(Qt::red));

    // Without a picture the buttons do nothing.
    TBackImageDialog empty;
    empty.SetBackImage(background(BackNone));
    child<QRadioButton>(empty, "rbImage")->click();
    child<QPushButton>(empty, "bbtnRotate")->click();
    child<QPushButton>(empty, "bbtnReverse")->click();
    EXPECT_TRUE(empty.BackImage.Picture().isNull());
}

TEST_F(BackImageDialogTest, AngleEditKeepsItsRange)
{
    TBackImageDialog dialog;
    dialog.SetBackImage(background(BackGradient));
    dialog.show();
    auto* angle = child<TUpDownEdit>(dialog, "edAngle");
    struct Case
    {
        const char* typed;
        int angle;
    };
    const Case cases[] = {{"400", 359}, {"-5", 359}, {"abc", 359}, {"90", 90}};
    for (const Case& c : cases) {
        angle->setFocus();
        angle->findChild<QLineEdit*>()->setText(QString::fromUtf8(c.typed));
        QTest::keyClick(angle, Qt::Key_Return);
        EXPECT_EQ(angle->findChild<QLineEdit*>()->text(), QString::number(c.angle)) << c.typed;
        EXPECT_EQ(dialog.BackImage.GradientAngle(), c.angle) << c.typed;
        EXPECT_TRUE(dialog.isVisible()) << "Enter in the edit does not press OK";
    }
    angle->setFocus();
    QTest::keyClick(angle, Qt::Key_PageDown);
    EXPECT_EQ(dialog.BackImage.GradientAngle(), 80);
}

TEST_F(BackImageDialogTest, CustomColoursWrittenAfterCancel)
{
    const QString file = DataRootFolder + QStringLiteral("CstmClr.ini");
    TBackImageDialog dialog;
    dialog.SetBackImage(background(BackColor));
    ModalDriver driver;
    driver.on<QColorDialog>([](QColorDialog* d) {
        QColorDialog::setCustomColor(2, QColor(0x12, 0x34, 0x56));
        d->setCurrentColor(Qt::white);
        d->reject();
    });
    child<QPushButton>(dialog, "bbtnColorDlg1")->click();
    EXPECT_EQ(dialog.BackImage.Color(), 0x112233u) << "Cancel keeps the colour";
    ASSERT_TRUE(QFile::exists(file));
    EXPECT_EQ(TMemIniFile(file).ReadString(QStringLiteral("COMMON"), QStringLiteral("2"), {}),
              QStringLiteral("563412"));

    driver.on<QColorDialog>([](QColorDialog* d) {
        d->setCurrentColor(QColor(0x10, 0x20, 0x30));
        d->accept();
    });
    child<QPushButton>(dialog, "bbtnColorDlg1")->click();
    EXPECT_EQ(dialog.BackImage.Color(), 0x302010u);
    EXPECT_EQ(child<TColorPanel>(dialog, "pnlColor1")->Color(), 0x302010u);
}

TEST_F(BackImageDialogTest, ScreensUnderXvfb)
{
    TBackImageDialog gradient;
    gradient.SetBackImage(background(BackGradient));
    gradient.show();
    KeepXvfbScreen(QStringLiteral("back-image-gradient.xwd"));
    gradient.hide();

    QImage picture(120, 80, QImage::Format_RGB888);
    picture.fill(QColor(40, 140, 90));
    TBackImageDialog tiled;
    tiled.SetBackImage(background(BackTiled, picture));
    tiled.show();
    KeepXvfbScreen(QStringLiteral("back-image-tiled.xwd"));
    EXPECT_EQ(tiled.BackImage.Mode(), BackTiled);
}

} // namespace
