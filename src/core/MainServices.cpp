// The program's start-up services and the session window that stands in for the address list.
#include "core/MainServices.h"

#include "core/AdrsFolderList.h"
#include "core/CategoryNames.h"
#include "core/DBInfo.h"
#include "core/Dlhyp.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "platform/IniFile.h"

#include <QDialog>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QLabel>
#include <QLocale>
#include <QVBoxLayout>

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

// The session until the address list takes its place: opens the current book through the data module and
// shows its name and row count; closing it ends the session.
class TSessionWindow : public QDialog
{
public:
    explicit TSessionWindow(QWidget* owner) : QDialog(owner)
    {
        setObjectName(QStringLiteral("SessionWindow"));
        setWindowFlags(Qt::Window | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                       Qt::WindowMinimizeButtonHint | Qt::WindowCloseButtonHint);
        auto* layout = new QVBoxLayout(this);
        m_lblAdrsName = addLabel(layout, QStringLiteral("lblAdrsName"));
        QFont f = m_lblAdrsName->font();
        f.setPointSizeF(f.pointSizeF() * 1.4);
        m_lblAdrsName->setFont(f);
        m_lblRecordCount = addLabel(layout, QStringLiteral("lblRecordCount"));
        m_lblDataFolder = addLabel(layout, QStringLiteral("lblDataFolder"));
        m_lblDataFolder->setTextInteractionFlags(Qt::TextSelectableByMouse);
        layout->addStretch();
        resize(420, 160);
    }

    ~TSessionWindow() override
    {
        // The session's reference on the book's table goes with the window.
        if (m_adrsOpen && DMQuenrid215)
            DMQuenrid215->CloseAdrs();
    }

    void OpenAddressBook()
    {
        const QString folder = ChooseBook();
        setWindowTitle(ProductTitle + QStringLiteral(" - ") + CurrentAdrsName);
        m_lblAdrsName->setText(QStringLiteral("アドレス帳：%1").arg(CurrentAdrsName));
        m_lblDataFolder->setText(DataFolder);
        m_lblRecordCount->setText(QStringLiteral("登録件数：-"));

        TDMQuenrid215* dm = DMQuenrid215;
        if (!dm)
            return;
        dm->InitDatabase();
        if (!dm->Connect())
            return;
        dm->CreateAdrsTable(folder);
        if (!dm->OpenAdrs())
            return;
        m_adrsOpen = true;
        dm->CreateSenderTable();
        dm->CreateCategoryTables();
        m_lblRecordCount->setText(
            QStringLiteral("登録件数：%1 件").arg(QLocale().toString(dm->AdrsTable()->recordCount())));
    }

private:
    static QLabel* addLabel(QVBoxLayout* layout, const QString& name)
    {
        auto* label = new QLabel(layout->parentWidget());
        label->setObjectName(name);
        layout->addWidget(label);
        return label;
    }

    // The book named CurrentAdrsName, made under that name when there is none yet (as the start-up choice
    // makes a new book). When the name or the data folder was reset, the choice is remembered.
    static QString ChooseBook()
    {
        QString folder;
        for (int i = 0; i < AdrsFolderList.size() && folder.isEmpty(); ++i) {
            if (AdrsFolderList[i].Name == CurrentAdrsName) {
                CurrentAdrsIndex = i;
                folder = AdrsFolderList[i].Folder;
            }
        }
        if (folder.isEmpty()) {
            folder = CurrentAdrsName;
            QDir().mkpath(AdrsFolder + folder);
            AdrsFolderList.append({CurrentAdrsName, folder, 0});
            CurrentAdrsIndex = int(AdrsFolderList.size()) - 1;
        }
        if (DataPathReset || AdrsNameDefaulted) {
            TMemIniFile ini(DataRootFolder + MainSettingsFileName);
            if (ini.LoadedOk()) {
                ini.WriteString(QStringLiteral("BASE"), QStringLiteral("AdrsName"), CurrentAdrsName);
                ini.UpdateFile();
            }
        }
        return folder;
    }

    QLabel* m_lblAdrsName;
    QLabel* m_lblRecordCount;
    QLabel* m_lblDataFolder;
    bool m_adrsOpen = false;
};

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

void TMainServices::RunAddressList(QWidget* mainForm)
{
    auto* window = new TSessionWindow(mainForm);
    m_addressList = window;
    window->OpenAddressBook();
    window->adjustSize();
    CenterForm(window);
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
