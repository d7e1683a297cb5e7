// What the directory search tests share: conditions over the fixture data (Tokyo 13101: 7 shown entries
// and one not shown; 13102: none; 13103: 30; 13104: 20; Osaka 27127: three, two of them under one number), a
// reference on the library, and field text.
#pragma once

#include "search/DicFixture.h"

#include "core/CategoryNames.h"
#include "core/Dlhyp.h"
#include "core/MainSettings.h"
#include "search/DicWrapper.h"
#include "search/Dlkelvor17.h"

#include <gtest/gtest.h>

#include <cstring>

inline const QString DirFixtureFolder = QStringLiteral(TOVAREL_DIRECTORY_FIXTURE_DIR);

// A condition over the fixture data: every kind, any name, any period.
inline TDirSearchCondRec DirCond(const char* area, int pageSize = 20, const char* category = "",
                                 const QString& dataFolder = DirFixtureFolder)
{
    TDirSearchCondRec c;
    std::memset(&c, 0, sizeof c);
    std::strncpy(c.Category, category, sizeof c.Category - 1);
    std::strncpy(c.AreaCode, area, sizeof c.AreaCode - 1);
    c.Fixed1 = 1;
    c.PhoneKinds = 15;
    c.Fixed2 = 1;
    c.MatchKind = 1;
    c.PageSize = pageSize;
    SetDirFolderField(c.DataFolder, dataFolder);
    SetDirFolderField(c.DicFolder, DicLibraryFolder + QStringLiteral("Dic/"));
    return c;
}

// Holds one reference on the library, loaded from ProgramFolder, and one on the hyphenation library for the
// test's length; the category names are loaded.
class DirSearchTest : public DicTest
{
protected:
    void SetUp() override
    {
        ProgramFolder = DicLibraryFolder;
        ASSERT_EQ(LoadHyphenLibrary(ProgramFolder, ProgramFolder + QStringLiteral("Dic/")), 0);
        ASSERT_TRUE(LoadCategoryNames(ProgramFolder + QStringLiteral("Dic/dbctgry.dat")));
        ASSERT_EQ(LoadDirSearchLibrary(ProgramFolder), 0);
    }
    void TearDown() override
    {
        FreeDirSearchLibrary();
        FreeHyphenLibrary();
        DicTest::TearDown();
    }
};
