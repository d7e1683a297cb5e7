// Registry stand-in over the INI-form file named by SystemPaths::RegistryFile(), with the program's own
// fragment (the keys its installer would write) read beneath it.
#include "platform/Registry.h"

#include "platform/IniFile.h"
#include "platform/SystemPaths.h"

#include <QCoreApplication>

namespace Registry {

namespace {

// Re-read on every call: the file is small and tests change it between calls.
TMemIniFile load()
{
    return TMemIniFile(SystemPaths::RegistryFile());
}

// The fragment beside the program, read under the system file.
TMemIniFile fragment()
{
    return TMemIniFile(QCoreApplication::applicationDirPath() + QStringLiteral("/Registry.ini"));
}

} // namespace

QString ReadString(const QString& key, const QString& name, const QString& def)
{
    const TMemIniFile system = load();
    if (system.ValueExists(key, name))
        return system.ReadString(key, name, def);
    return fragment().ReadString(key, name, def);
}

bool ValueExists(const QString& key, const QString& name)
{
    return load().ValueExists(key, name) || fragment().ValueExists(key, name);
}

bool KeyExists(const QString& key)
{
    if (load().SectionExists(key) || fragment().SectionExists(key))
        return true;
    return !SubKeys(key).isEmpty();
}

QStringList SubKeys(const QString& key)
{
    QStringList names;
    const QString prefix = key + u'\\';
    for (const QString& section : load().ReadSections() + fragment().ReadSections()) {
        if (section.size() <= prefix.size() || !TMemIniFile::SameName(section.left(prefix.size()), prefix))
            continue;
        const QString child = section.mid(prefix.size()).section(u'\\', 0, 0);
        bool seen = false;
        for (const QString& n : names)
            seen = seen || TMemIniFile::SameName(n, child);
        if (!child.isEmpty() && !seen)
            names.append(child);
    }
    return names;
}

} // namespace Registry
