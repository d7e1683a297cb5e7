// [DESIGN] and [LAYOUT] of the main settings file.
#include "designers/DesignSettings.h"

#include "core/AppSub.h"
#include "platform/IniFile.h"


namespace {

const QString Design = QStringLiteral("DESIGN");
const QString Layout = QStringLiteral("LAYOUT");

} // namespace

TDesignWindowSettings LoadDesignSettings(const QString& iniPath, const QString& designFolder)
{
    const TMemIniFile ini(iniPath);
    TDesignWindowSettings s;
    s.HasBounds = true;
    for (const char* key : {"Left", "Top", "Width", "Height"})
        s.HasBounds = s.HasBounds && ini.ValueExists(Design, QString::fromLatin1(key));
    if (s.HasBounds) {
        s.Left = ini.ReadInteger(Design, "Left", 0);
        s.Top = ini.ReadInteger(Design, "Top", 0);
        s.Width = qMax(ini.ReadInteger(Design, "Width", 0), DesignMinWidth);
        s.Height = qMax(ini.ReadInteger(Design, "Height", 0), DesignMinHeight);
    }
    s.Max = ini.ReadInteger(Design, "Max", 0) == 1;
    s.History = ReadRecentFiles(ini, Design, designFolder);
    ReadDesignerView(ini, Layout, s, Design);
    return s;
}

bool SaveDesignSettings(const QString& iniPath, const TDesignWindowSettings& s)
{
    TMemIniFile ini(iniPath);
    if (s.HasBounds) {
        ini.WriteInteger(Design, "Left", s.Left);
        ini.WriteInteger(Design, "Top", s.Top);
        ini.WriteInteger(Design, "Width", s.Width);
        ini.WriteInteger(Design, "Height", s.Height);
    }
    ini.WriteInteger(Design, "Max", s.Max ? 1 : 0);
    WriteRecentFiles(ini, Design, s.History);
    WriteDesignerView(ini, Layout, s, Design);
    return ini.UpdateFile();
}

QRect DesignWindowGeometry(const TDesignWindowSettings& s, const QRect& workArea, int captionHeight,
                           double screenDpi)
{
    if (s.HasBounds)
        return QRect(s.Left, s.Top, ScaleByDpi(s.Width, 1, screenDpi),
                     ScaleByDpi(s.Height, 1, screenDpi) + captionHeight);
    const int width = ScaleByDpi(690, 1, screenDpi);
    int height = ScaleByDpi(680, 1, screenDpi);
    if (width >= workArea.width() || height >= workArea.height())
        height = ScaleByDpi(550, 1, screenDpi);
    return QRect(workArea.left() + (workArea.width() - width) / 2,
                 workArea.top() + (workArea.height() - height) / 2, width, height);
}

void StoreDesignWindowGeometry(TDesignWindowSettings& s, const QRect& frame, int captionHeight,
                               double screenDpi)
{
    s.HasBounds = true;
    s.Left = frame.left();
    s.Top = frame.top();
    s.Width = ScaleByDpi(frame.width(), 0, screenDpi);
    s.Height = ScaleByDpi(frame.height() - captionHeight, 0, screenDpi);
}
