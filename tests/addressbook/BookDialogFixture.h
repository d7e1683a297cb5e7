// Test fixture for the address-book dialogs: a data folder with address books in a temporary folder.
#pragma once

#include "core/AdrsFolderList.h"
#include "core/MainSettings.h"
#include "platform/Cp932.h"
#include "support/ModalDriver.h"
#include "support/TestFiles.h"

#include <gtest/gtest.h>
#include <QDir>
#include <QFile>
#include <QTemporaryDir>

class BookDialogFixture : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        DataFolder = m_dir.path() + QStringLiteral("/Data/");
        AdrsFolder = DataFolder + QStringLiteral("Adrs/");
        ASSERT_TRUE(QDir().mkpath(AdrsFolder));
        AdrsFolderList.clear();
        CurrentAdrsIndex = -1;
    }

    void TearDown() override
    {
        AdrsFolderList.clear();
        CurrentAdrsIndex = -1;
    }

    // A book folder holding an (empty) address table.
    static void makeBook(const QString& folder)
    {
        ASSERT_TRUE(QDir().mkpath(AdrsFolder + folder));
        QFile table(AdrsFolder + folder + QStringLiteral("/Adrs.DB"));
        ASSERT_TRUE(table.open(QIODevice::WriteOnly));
    }

    // Books in this order, read back the way the program start does.
    static void makeBooks(const QStringList& folders)
    {
        QByteArray mng = "[SORT]\r\n";
        for (int i = 0; i < folders.size(); ++i) {
            makeBook(folders[i]);
            mng += QByteArray::number(i + 1) + '=' + Cp932::fromUnicode(folders[i]) + "\r\n";
        }
        WriteFileBytes(AdrsFolder + AdrsMngFileName, mng);
        LoadAddressBookList(false);
    }

    static QByteArray opBytes() { return ReadFileBytes(AdrsFolder + AdrsOpFileName); }

    static QStringList names()
    {
        QStringList list;
        for (const TAdrsFolderInfo& e : AdrsFolderList)
            list.append(e.Name + u'|' + e.Folder + u'|' + QString::number(e.State));
        return list;
    }

    QTemporaryDir m_dir;
};
