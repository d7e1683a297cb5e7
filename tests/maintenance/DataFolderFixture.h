// A data folder of the backup and restore tests: two books and one pending deletion, tables of every family,
// print files without a design file, history files, the four single files (one read-only), and the whole
// tree read back as bytes.
#pragma once

#include "core/AdrsFolderList.h"
#include "core/MainSettings.h"
#include "core/TableDefs.h"
#include "maintenance/BackupCopy.h"
#include "platform/IniFile.h"
#include "platform/TableEngine.h"
#include "support/StartupFixture.h"
#include "support/TestFiles.h"

#include <QDirIterator>
#include <QFile>
#include <QMap>

class DataFolderFixture : public StartupFixture
{
protected:
    void SetUp() override
    {
        StartupFixture::SetUp();
        TableSession::global().addPassword(TablePassword);
        DataFolder = m_root + QStringLiteral("data/");
        SetDataSubFolders();
        CategoryFolder = DataRootFolder + QStringLiteral("Category/");
        CurrentAdrsName = QStringLiteral("アドレス");

        makeBook(QStringLiteral("アドレス"), {QStringLiteral("山田"), QStringLiteral("佐藤")});
        WriteFileBytes(AdrsFolder + QStringLiteral("アドレス/Group.dat"), "groups");
        makeBook(QStringLiteral("仕事"), {QStringLiteral("鈴木")});
        makeBook(QStringLiteral("old"), {QStringLiteral("消す")});
        WriteFileBytes(AdrsFolder + AdrsMngFileName,
                       ToAnsi(QStringLiteral("[SORT]\r\n1=アドレス\r\n2=仕事\r\n3=old\r\n")));
        WriteFileBytes(AdrsFolder + AdrsOpFileName, "[DELETE]\r\nCount=1\r\n1=old\r\n");
        makeTable(OtherFolder + QStringLiteral("Sender.DB"), SenderTableDef());
        makeTable(OtherFolder + QStringLiteral("Original.DB"), OriginalTableDef());
        makeTable(CategoryFolder + QStringLiteral("Category.DB"), CategoryTableDef());
        makeTable(CategoryFolder + QStringLiteral("Target.DB"), TargetTableDef());
        makeTable(CategoryFolder + QStringLiteral("Exception.DB"), ExceptionTableDef());
        WriteFileBytes(LayoutFolder + QStringLiteral("宛名.gpl"), "layout one");
        WriteFileBytes(LayoutFolder + QStringLiteral("b.gpl"), "layout two");
        WriteFileBytes(LabelFolder + QStringLiteral("l.gpa"), "label");
        WriteFileBytes(CardFolder + QStringLiteral("c.gpc"), "card");
        QDir().mkpath(DesignFolder);
        for (const char* name : {"Dptmnt.mtd", "Post.mtd", "Keyword1.mtd"})
            WriteFileBytes(HistoryFolder + QLatin1String(name), QByteArray("history ") + name);
        for (const QString& name : DataFolderFiles())
            WriteFileBytes(DataFolder + name, name.toLatin1());
        QFile::setPermissions(DataFolder + QStringLiteral("Sender.ini"), QFile::ReadOwner | QFile::ReadGroup);
        LoadAddressBookList(false);
        CurrentAdrsIndex = 0;
    }

    void TearDown() override
    {
        SetCopyFaultHook({});
        SetDiskSpaceOverride({});
        TableSession::global().removePassword(TablePassword);
        StartupFixture::TearDown();
    }

    static void makeTable(const QString& path, const TableDef& def)
    {
        QDir().mkpath(QFileInfo(path).absolutePath());
        Table::createTable(path, def, TablePassword);
    }

    static void makeBook(const QString& folder, const QStringList& names)
    {
        const QString path = AdrsFolder + folder + QStringLiteral("/Adrs.DB");
        makeTable(path, AdrsTableDef());
        Table t;
        t.setTableName(path);
        t.open();
        for (const QString& name : names) {
            t.append();
            t.fieldByName(QStringLiteral("NameKanji")).setString(name);
            t.post();
        }
    }

    // Every file below folder (relative path -> bytes), lock files left out.
    static QMap<QString, QByteArray> tree(const QString& folder)
    {
        QMap<QString, QByteArray> files;
        QDirIterator it(folder, QDir::Files | QDir::Hidden | QDir::System, QDirIterator::Subdirectories);
        while (it.hasNext()) {
            const QString path = it.next();
            if (!path.endsWith(QLatin1String(".lck")))
                files.insert(QDir(folder).relativeFilePath(path), ReadFileBytes(path));
        }
        return files;
    }

    // The names of the rows of a book's table, in key order.
    static QStringList bookNames(const QString& path)
    {
        Table t;
        t.setTableName(path);
        t.open();
        QStringList names;
        for (t.first(); !t.eof(); t.next())
            names.append(t.fieldByName(QStringLiteral("NameKanji")).asString());
        return names;
    }
};
