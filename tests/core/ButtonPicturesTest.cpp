// Button pictures: every name the windows use comes from the icon theme, the print button is a printer, and a
// disabled button's picture is greyed.
#include "core/ButtonPictures.h"

#include <gtest/gtest.h>
#include <QApplication>
#include <QImage>
#include <QToolButton>

namespace {

TEST(ButtonPictures, EveryNameIsAnIconOfTheTheme)
{
    for (const QString& name : ButtonPictureNames()) {
        SCOPED_TRACE(name.toStdString());
        const QIcon icon = ButtonPicture(name);
        EXPECT_FALSE(icon.isNull());
        EXPECT_FALSE(icon.availableSizes().isEmpty()) << "no file of the theme for this icon";
    }
    EXPECT_EQ(QIcon::themeName(), ButtonPictureTheme);
    EXPECT_TRUE(ButtonPicture(QStringLiteral("NO SUCH PICTURE")).isNull());
    for (const char* name : {"PRINT", "PRINTER"})
        EXPECT_EQ(ButtonPictureIconName(QLatin1String(name)), QStringLiteral("document-print")) << name;
}

TEST(ButtonPictures, DisabledButtonsShowTheGreyedPicture)
{
    QToolButton button;
    SetButtonPicture(&button, QStringLiteral("SAVE"));
    const QIcon icon = button.icon();
    const QImage normal = icon.pixmap(QSize(16, 16), QIcon::Normal).toImage();
    const QImage disabled = icon.pixmap(QSize(16, 16), QIcon::Disabled).toImage();
    ASSERT_FALSE(normal.isNull());
    EXPECT_NE(normal, disabled);
    // The greyed form has no colour left.
    for (int y = 0; y < disabled.height(); ++y)
        for (int x = 0; x < disabled.width(); ++x) {
            const QColor c = disabled.pixelColor(x, y);
            if (c.alpha() > 0)
                EXPECT_LE(std::abs(c.red() - c.blue()) + std::abs(c.green() - c.blue()), 6) << x << "," << y;
        }
}

} // namespace
