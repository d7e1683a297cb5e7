// The designer windows' keys of the main settings file.
#include "designers/DesignerWindowSettings.h"

#include "platform/IniFile.h"

#include <QDir>
#include <QFileInfo>

namespace {

QString HistoryKey(int i)
{
    return QStringLiteral("History%1").arg(i);
}

} // namespace

void ReadDesignerView(const TMemIniFile& ini, const QString& section, TDesignerViewSettings& s,
                      const QString& ratioSection)
{
    s.Ratio = ini.ReadInteger(ratioSection.isEmpty() ? section : ratioSection, QStringLiteral("Ratio"), 0);
    if (s.Ratio < 0 || s.Ratio > 7)
        s.Ratio = 0;
    s.Menu = ini.ReadBool(section, QStringLiteral("Menu"), true);
    s.PrintRange = ini.ReadBool(section, QStringLiteral("PrintRange"), true);
    s.Grid = ini.ReadInteger(section, QStringLiteral("Grid"), 0);
    if (s.Grid < 0 || s.Grid > 3)
        s.Grid = 0;
    s.AdjustGrid = ini.ReadBool(section, QStringLiteral("AdjustGrid"), false);
    s.ToolBar = ini.ReadBool(section, QStringLiteral("ToolBar"), true);
}

void WriteDesignerView(TMemIniFile& ini, const QString& section, const TDesignerViewSettings& s,
                       const QString& ratioSection)
{
    ini.WriteInteger(ratioSection.isEmpty() ? section : ratioSection, QStringLiteral("Ratio"), s.Ratio);
    ini.WriteBool(section, QStringLiteral("Menu"), s.Menu);
    ini.WriteBool(section, QStringLiteral("PrintRange"), s.PrintRange);
    ini.WriteInteger(section, QStringLiteral("Grid"), s.Grid);
    ini.WriteBool(section, QStringLiteral("AdjustGrid"), s.AdjustGrid);
    ini.WriteBool(section, QStringLiteral("ToolBar"), s.ToolBar);
}

QStringList ReadRecentFiles(const TMemIniFile& ini, const QString& section, const QString& folder)
{
    QStringList files;
    const QString wanted = QDir::cleanPath(folder);
    for (int i = 1; i <= DesignerHistoryCount; ++i) {
        const QString entry = ini.ReadString(section, HistoryKey(i), QString());
        if (entry.isEmpty())
            break;
        if (QDir::cleanPath(QFileInfo(entry).path()).compare(wanted, Qt::CaseInsensitive) == 0)
            files.append(entry);
    }
    return files;
}

void WriteRecentFiles(TMemIniFile& ini, const QString& section, const QStringList& files)
{
    QStringList kept;
    for (const QString& file : files)
        if (!kept.contains(file, Qt::CaseInsensitive))
            kept.append(file);
    for (int i = 1; i <= DesignerHistoryCount; ++i) {
        if (i <= kept.size())
            ini.WriteString(section, HistoryKey(i), kept[i - 1]);
        else
            ini.DeleteKey(section, HistoryKey(i));
    }
}

bool TDesignerWindowSettings::HasBounds() const
{
    return Left != Missing && Top != Missing && Width != Missing && Height != Missing;
}

TDesignerWindowSettings LoadDesignerWindowSettings(const TMemIniFile& ini, const QString& section,
                                                   const QString& folder)
{
    TDesignerWindowSettings s;
    auto read = [&](const char* key, int def) { return ini.ReadInteger(section, QLatin1String(key), def); };
    s.Left = read("Left", s.Missing);
    s.Top = read("Top", s.Missing);
    s.Width = read("Width", s.Missing);
    s.Height = read("Height", s.Missing);
    s.Max = read("Max", 0) != 0;
    s.History = ReadRecentFiles(ini, section, folder);
    ReadDesignerView(ini, section, s);
    return s;
}

void SaveDesignerWindowSettings(TMemIniFile& ini, const QString& section, const TDesignerWindowSettings& s)
{
    auto write = [&](const char* key, int value) { ini.WriteInteger(section, QLatin1String(key), value); };
    write("Left", s.Left);
    write("Top", s.Top);
    write("Width", s.Width);
    write("Height", s.Height);
    ini.WriteBool(section, QStringLiteral("Max"), s.Max);
    WriteRecentFiles(ini, section, s.History);
    WriteDesignerView(ini, section, s);
}

QRect DesignerWindowGeometry(const TDesignerWindowSettings& s, const QRect& workArea, int captionHeight,
                             QSize minimum, const std::function<int(int)>& scale)
{
    if (!s.HasBounds()) {
        QSize size(scale(690), scale(680));
        if (size.width() >= workArea.width() || size.height() >= workArea.height())
            size.setHeight(scale(550));
        QRect frame(QPoint(0, 0), size);
        frame.moveCenter(workArea.center());
        return frame;
    }
    return QRect(s.Left, s.Top, scale(qMax(s.Width, minimum.width())),
                 scale(qMax(s.Height, minimum.height())) + captionHeight);
}
