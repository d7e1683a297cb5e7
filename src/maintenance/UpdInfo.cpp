// The update server's host and request paths.
#include "maintenance/UpdInfo.h"

QString UpdateDomain = DefaultUpdateDomain;
QString UpdatePath = DefaultUpdatePath;
QString UpdateAppPath = DefaultUpdateAppPath;
