// Fuzz target: the INI reader; what it reads survives a rewrite (sections, keys and values in file order).
#include "FuzzSupport.h"

#include "platform/IniFile.h"

namespace {

QList<QStringList> Contents(const TMemIniFile& ini)
{
    QList<QStringList> contents;
    for (const QString& section : ini.ReadSections())
        contents.append(QStringList{section} + ini.ReadSectionValues(section));
    return contents;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    TMemIniFile ini(QString{});
    ini.SetBytes(Fuzz::Bytes(data, size));
    const QList<QStringList> contents = Contents(ini);
    for (const QString& section : ini.ReadSections()) {
        for (const QString& key : ini.ReadSection(section)) {
            ini.ReadInteger(section, key, 0);
            Fuzz::Check(ini.ValueExists(section, key));
        }
    }

    TMemIniFile again(QString{});
    again.SetBytes(ini.ToBytes());
    Fuzz::Check(Contents(again) == contents);
    return 0;
}
