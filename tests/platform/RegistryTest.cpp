// Registry stand-in file: values, keys and sub-keys.
#include "platform/Registry.h"

#include <gtest/gtest.h>
#include <QFile>
#include <QTemporaryDir>

namespace {

TEST(Registry, ReadsValuesKeysAndSubKeys)
{
    QTemporaryDir dir;
    const QString path = dir.filePath("registry.ini");
    QFile f(path);
    ASSERT_TRUE(f.open(QIODevice::WriteOnly));
    f.write("[HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane\\Quenrid215]\r\nType=0041\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Maps\\A\\1.0]\r\nPath=/opt/a\r\n"
            "[HKEY_LOCAL_MACHINE\\SOFTWARE\\Maps\\B]\r\n");
    f.close();
    qputenv("TOVAREL_REGISTRY", QFile::encodeName(path));
    const QString key = "HKEY_LOCAL_MACHINE\\SOFTWARE\\Morvane\\Quenrid215";
    EXPECT_EQ(Registry::ReadString(key, "type"), QStringLiteral("0041"));
    EXPECT_FALSE(Registry::ValueExists(key, "Point"));
    EXPECT_TRUE(Registry::KeyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\Maps"));
    EXPECT_EQ(Registry::SubKeys("hkey_local_machine\\software\\maps"), QStringList({"A", "B"}));
    EXPECT_FALSE(Registry::KeyExists("HKEY_LOCAL_MACHINE\\SOFTWARE\\None"));
    qunsetenv("TOVAREL_REGISTRY");
    EXPECT_EQ(Registry::ReadString(key, "Type", "none"), QStringLiteral("none"));
}

} // namespace
