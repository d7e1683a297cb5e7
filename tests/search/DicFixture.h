// Folders of the dictionary tests: the stand-in libraries, the fixture dictionary, the nationwide one, and a
// temporary copy of the fixture that a test may damage or remove.
#pragma once

#include "support/AnsiText.h"
#include "support/TestFiles.h"

#include "platform/LibraryLoader.h"

#include <gtest/gtest.h>

#include <QDir>
#include <QFile>
#include <QTemporaryDir>

#include <cstring>
#include <functional>

inline const QString DicLibraryFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);
inline const QString FixtureDicFolder = QStringLiteral(TOVAREL_ADDRESS_FIXTURE_DIR);
inline const QString NationwideDicFolder = QStringLiteral(TOVAREL_PROGRAM_DIR "Dic/");

// The bytes of a zero-terminated result field as UTF-8, for readable failures.
template <size_t N> QString Text(const char (&field)[N])
{
    return ToWide(AnsiString(field, int(qstrnlen(field, N))));
}

// Clears the loader's test hooks after each test.
class DicTest : public ::testing::Test
{
protected:
    void TearDown() override { LibraryLoader::ClearFailures(); }

    // A private copy of the fixture dictionary; the folder ends with "/".
    QString CopyOfFixture()
    {
        EXPECT_TRUE(m_temp.isValid());
        const QString folder = m_temp.path() + u'/';
        QFile::remove(folder + QStringLiteral("Adrs.dic"));
        EXPECT_TRUE(
            QFile::copy(FixtureDicFolder + QStringLiteral("Adrs.dic"), folder + QStringLiteral("Adrs.dic")));
        return folder;
    }
    QString TempFolder() { return m_temp.path() + u'/'; }

private:
    QTemporaryDir m_temp;
};
