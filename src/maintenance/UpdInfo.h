// The update server's host and request paths, shared by the update check and the notices.
#pragma once

#include <QString>

// Defaults before the main settings file overrides them from [UPDATE PARAMETER].
inline const QString DefaultUpdateDomain = QStringLiteral("update.morvane.example");
inline const QString DefaultUpdatePath = QStringLiteral("/check/");
inline const QString DefaultUpdateAppPath = QStringLiteral("/app/");

extern QString UpdateDomain;  // host of the update server
extern QString UpdatePath;    // path of the update check
extern QString UpdateAppPath; // path of the updater download
