// [DESIGN] and [LAYOUT] of the main settings file.
#include "designers/DesignSettings.h"

#include "core/AppSub.h"
#include "platform/IniFile.h"

#include <QFileInfo>

namespace {

const QString Design = QStringLiteral("DESIGN");
const QString Layout = QStringLiteral("LAYOUT");

QString HistoryKey(int i)
{
    return QStringLiteral("History%1").arg(i);
}

QString FolderOf(const QString& path)
{
    const int slash = path.lastIndexOf(u'/');
    return slash < 0 ? QString() : path.left(slash + 1);
}

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
    for (int i = 1; i <= DesignHistoryCount; ++i) {
        const QString path = ini.ReadString(Design, HistoryKey(i), QString());
        if (path.isEmpty())
            break;
        if (TMemIniFile::SameName(FolderOf(path), designFolder))
            s.History.append(path);
    }
    s.Ratio = ini.ReadInteger(Design, "Ratio", 0);
    if (s.Ratio < 0 || s.Ratio >= DesignRatioCount)
        s.Ratio = 0;
    s.Menu = ini.ReadBool(Layout, "Menu", true);
    s.PrintRange = ini.ReadBool(Layout, "PrintRange", true);
    s.Grid = ini.ReadInteger(Layout, "Grid", 0);
    if (s.Grid < 0 || s.Grid >= DesignGridSizes)
        s.Grid = 0;
    s.AdjustGrid = ini.ReadBool(Layout, "AdjustGrid", false);
    s.ToolBar = ini.ReadBool(Layout, "ToolBar", true);
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
    QStringList history;
    for (const QString& path : s.History)
        if (!history.contains(path))
            history.append(path);
    for (int i = 1; i <= DesignHistoryCount; ++i) {
        if (i <= history.size())
            ini.WriteString(Design, HistoryKey(i), history[i - 1]);
        else if (ini.ValueExists(Design, HistoryKey(i)))
            ini.DeleteKey(Design, HistoryKey(i));
    }
    ini.WriteInteger(Design, "Ratio", s.Ratio);
    ini.WriteBool(Layout, "Menu", s.Menu);
    ini.WriteBool(Layout, "PrintRange", s.PrintRange);
    ini.WriteInteger(Layout, "Grid", s.Grid);
    ini.WriteBool(Layout, "AdjustGrid", s.AdjustGrid);
    ini.WriteBool(Layout, "ToolBar", s.ToolBar);
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
