#include "core/WindowPlace.h"

#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "core/ShellSub.h"
#include "platform/IniFile.h"

#include <QWidget>

void PlaceFromSettings(QWidget* window, const TMemIniFile& ini, const QString& section)
{
    const QString left = QStringLiteral("Left"), top = QStringLiteral("Top");
    if (ini.ValueExists(section, left) && ini.ValueExists(section, top))
        window->move(ScaleByDpi(ini.ReadInteger(section, left, 0), 1), ScaleByDpi(ini.ReadInteger(section, top, 0), 1));
    else
        CenterForm(window, nullptr);
}

void SaveWindowPosition(const QWidget* window, const QString& section)
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteInteger(section, QStringLiteral("Left"), ScaleByDpi(window->x(), 0));
    ini.WriteInteger(section, QStringLiteral("Top"), ScaleByDpi(window->y(), 0));
    ini.UpdateFile();
}
