// Test fixture for the start-up units: data roots, drives and registry pointed into a temporary folder.
#pragma once

#include "core/MainSettings.h"
#include "platform/IniFile.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class StartupFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_root = m_dir.path() + QStringLiteral("/");
        ProgramFolder = m_root + QStringLiteral("program/");
        DataRootFolder = m_root + QStringLiteral("dataroot/");
        QDir().mkpath(ProgramFolder);
        QDir().mkpath(DataRootFolder);
        QDir().mkpath(m_root + QStringLiteral("cd"));
        setEnv("TOVAREL_DRIVES", m_root + QStringLiteral("cd"));
        setEnv("TOVAREL_REGISTRY", m_root + QStringLiteral("registry.ini"));
        setEnv("TOVAREL_COMMON_APPDATA", m_root + QStringLiteral("common"));
        setEnv("TOVAREL_USER_APPDATA", m_root + QStringLiteral("user"));
        HddInstalled = false;
        HddInstallFolder.clear();
    }

    void TearDown() override
    {
        for (const char* name :
             {"TOVAREL_DRIVES", "TOVAREL_REGISTRY", "TOVAREL_COMMON_APPDATA", "TOVAREL_USER_APPDATA"})
            qunsetenv(name);
    }

    static void setEnv(const char* name, const QString& value) { qputenv(name, QFile::encodeName(value)); }

    // Writes keys into the main settings file of DataRootFolder.
    void writeSettings(const QList<std::array<QString, 3>>& keys)
    {
        TMemIniFile ini(DataRootFolder + MainSettingsFileName);
        for (const auto& k : keys)
            ini.WriteString(k[0], k[1], k[2]);
        ASSERT_TRUE(ini.UpdateFile());
    }

    QTemporaryDir m_dir;
    QString m_root;
};
