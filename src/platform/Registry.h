// Read-only registry stand-in: an INI-form file whose sections are key paths and whose keys are value names.
#pragma once

#include <QString>
#include <QStringList>

namespace Registry {

// Value of name under key ("HKEY_LOCAL_MACHINE\\SOFTWARE\\..."), or def when the key or value is missing.
QString ReadString(const QString& key, const QString& name, const QString& def = QString());
bool ValueExists(const QString& key, const QString& name);
bool KeyExists(const QString& key);
// Names of the direct sub-keys of key.
QStringList SubKeys(const QString& key);

} // namespace Registry
