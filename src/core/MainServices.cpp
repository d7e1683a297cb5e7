// The program's start-up services: hyphenation, data module, category tables, histories and the session.
#include "core/MainServices.h"

#include "addressbook/AdrsList.h"

#include "core/AdrsFolderList.h"
#include "core/CategoryNames.h"
#include "core/DBInfo.h"
#include "core/Dlhyp.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

namespace {

// Copies through a temporary name and never over a file that appeared meanwhile.
void copyIfMissing(const QString& source, const QString& target)
{
    if (QFileInfo::exists(target) || !QFileInfo(source).isFile())
        return;
    const QString temp = target + QStringLiteral(".copying");
    QFile::remove(temp);
    if (!QFile::copy(source, temp))
        return;
    QFile::setPermissions(temp, QFile::permissions(temp) | QFileDevice::WriteOwner | QFileDevice::ReadOwner);
    // rename refuses an existing target, so a list written meanwhile stays.
    if (!QFile::rename(temp, target))
        QFile::remove(temp);
}

} // namespace

void CopyDefaultHistories()
{
    QDir().mkpath(HistoryFolder);
    const QString source = ProgramFolder + QStringLiteral("Common/History/");
    for (const QString& name : {QStringLiteral("Post.mtd"), QStringLiteral("Honor.mtd")})
        copyIfMissing(source + name, HistoryFolder + name);
}

TMainServices::~TMainServices()
{
    if (m_hyphenLoaded)
        FreeHyphenLibrary();
}

void TMainServices::LoadHyphenLibrary()
{
    const int result = ::LoadHyphenLibrary(ProgramFolder, ProgramFolder + QStringLiteral("Dic/"));
    // A library that loaded without its entry points keeps no reference.
    m_hyphenLoaded = result != HyphenEntryPointError;
}

void TMainServices::CreateDataModule(QWidget* mainForm)
{
    new TDMQuenrid215(mainForm);
}

void TMainServices::CopyCategoryTables()
{
    CategoryFolder = DataRootFolder + QStringLiteral("Category/");
    QList<QStringList> families;
    for (const QString& table :
         {QStringLiteral("Category.DB"), QStringLiteral("Target.DB"), QStringLiteral("Exception.DB")})
        families.append(TableFileFamily(table));
    ::CopyCategoryTables(ProgramFolder, CategoryFolder, families);
}

void TMainServices::LoadCategoryNames()
{
    ::LoadCategoryNames(ProgramFolder + QStringLiteral("Dic/dbctgry.dat"));
}

void TMainServices::CopyDefaultHistories()
{
    ::CopyDefaultHistories();
}

void TMainServices::RunAddressList(QWidget*)
{
    // A window of its own with its own taskbar entry: no owner.
    auto* window = new TAddressList(nullptr);
    m_addressList = window;
    window->exec();
    delete window;
}

void TMainServices::FreeAll()
{
    MajorCategoryNames.clear();
    for (CodedNameList& list : MinorCategoryLists)
        list.clear();
    if (TDMQuenrid215* dm = DMQuenrid215) {
        dm->FreeCategoryTables();
        dm->FreeSenderTable();
        dm->FreeAdrsTable();
        dm->Disconnect();
        dm->FreeDatabase();
        delete dm;
    }
    if (m_hyphenLoaded) {
        FreeHyphenLibrary();
        m_hyphenLoaded = false;
    }
}
