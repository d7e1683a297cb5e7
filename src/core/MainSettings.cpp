// Reading the main settings file, the registry values and the own-number file at start.
#include "core/MainSettings.h"

#include "core/AppSub.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"
#include "maintenance/UpdInfo.h"
#include "platform/Cp932.h"
#include "platform/IniFile.h"
#include "platform/Registry.h"
#include "platform/SystemPaths.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>

QString ProgramFolder;
QString DataRootFolder;
QString DataFolder;
QString AdrsFolder;
QString OtherFolder;
QString HistoryFolder;
QString LayoutFolder;
QString LabelFolder;
QString CardFolder;
QString DesignFolder;
QString CategoryFolder;
QString DiscFolder;
QString HddInstallFolder;
bool HddInstalled = false;

bool FirstRun = false;
bool DataPathReset = false;
bool AdrsNameDefaulted = false;
QString CurrentAdrsName;
QString StartupPassword;
QString AdminPassword;
bool AdminMode = false;
QByteArray MyNumberData;

TMainSettings MainSettings;

namespace {

QString withoutFinalSlash(QString path)
{
    while (path.size() > 1 && path.endsWith(u'/'))
        path.chop(1);
    return path;
}

// An integer key kept only within [0, max] (read as unsigned, so negatives fall back too).
int readRanged(const TMemIniFile& ini, const QString& section, const QString& key, int def, unsigned max)
{
    const int value = ini.ReadInteger(section, key, def);
    return static_cast<unsigned>(value) > max ? def : value;
}

QString mainSettingsPath()
{
    return DataRootFolder + MainSettingsFileName;
}

} // namespace

const QStringList& MapSoftNames()
{
    static const QStringList names = {
        QStringLiteral("AtlasMate4/5"),
        QStringLiteral("プロアトラス2002"),
        QStringLiteral("プロアトラスＷ～Ｗ３/SV～SV7"),
        QStringLiteral("電子地図帳Ｚ[zi]Ⅱ～５"),
        QStringLiteral("いつもNAVI"),
        QStringLiteral("MapFanⅣ/Ⅴ"),
        QStringLiteral("MapFan.net"),
        QStringLiteral("MapFan PLANNER1/2"),
        QStringLiteral("スーパーマップル・デジタル Ver.1～17"),
        QStringLiteral("グランマップ東京都全域版"),
        QStringLiteral("Google マップ"),
    };
    return names;
}

const QStringList& RootSoftNames()
{
    static const QStringList names = {QStringLiteral("駅すぱあと"), QStringLiteral("乗換案内")};
    return names;
}

QString GetDataRootFolder()
{
    const QString appData = GetAppDataFolder();
    if (!appData.isEmpty()) {
        const QString maker = appData + QStringLiteral("Morvane");
        if (CreateFolderForEveryone(maker)) {
            const QString root = maker + QStringLiteral("/Quenrid215/");
            QDir().mkpath(root);
            if (QFileInfo(root).isDir())
                return root;
        }
    }
    return ProgramFolder;
}

bool ReadViewSplash()
{
    const TMemIniFile ini(mainSettingsPath());
    return ini.ReadBool(QStringLiteral("OPERATION"), QStringLiteral("ViewSplash"), true);
}

QString DecodeDataPath(const QString& stored)
{
    if (!stored.startsWith(u'@'))
        return stored;
    // A value that does not decode names no folder; the start then falls back to the default one.
    try {
        return HexTextToWide(ToAnsi(stored));
    } catch (const EConvertError&) {
        return QString();
    }
}

QString EncodeDataPath(const QString& folder)
{
    if (Cp932::canEncode(folder))
        return folder;
    return ToWide(WideToHexText(folder));
}

void SetDataSubFolders()
{
    AdrsFolder = DataFolder + QStringLiteral("Adrs/");
    OtherFolder = DataFolder + QStringLiteral("Other/");
    HistoryFolder = DataFolder + QStringLiteral("History/");
    LayoutFolder = DataFolder + QStringLiteral("Layout/");
    LabelFolder = DataFolder + QStringLiteral("Label/");
    CardFolder = DataFolder + QStringLiteral("Card/");
    DesignFolder = DataFolder + QStringLiteral("Design/");
}

void ReadMainSettings(QWidget* messageOwner)
{
    const QString path = mainSettingsPath();
    FirstRun = !QFileInfo::exists(path);
    const TMemIniFile ini(path);

    const QString update = QStringLiteral("UPDATE PARAMETER");
    UpdateDomain = ini.ReadString(update, QStringLiteral("Domain"), DefaultUpdateDomain);
    UpdatePath = ini.ReadString(update, QStringLiteral("Path"), DefaultUpdatePath);
    UpdateAppPath = ini.ReadString(update, QStringLiteral("App"), DefaultUpdateAppPath);

    const QString hidden = QStringLiteral("HIDDEN PARAMETER");
    const QString hiddenPath = ini.ReadString(hidden, QStringLiteral("Path"), QString());
    DiscFolder =
        (!hiddenPath.isEmpty() && QFileInfo(hiddenPath).isDir()) ? withoutFinalSlash(hiddenPath) : QString();

    MainSettings.SearchDriveExtend = ini.ReadBool(hidden, QStringLiteral("SearchDriveExtend"), false);
    CollectDrives(MainSettings.SearchDriveExtend ? (dfCdRom | dfRemote) : dfCdRom);

    if (DiscFolder.isEmpty() && !HddInstalled && DriveCount == 0)
        MessageBoxPos(messageOwner,
                      QStringLiteral("使用可能な CD-ROM/DVD-ROM ドライブが検出できませんでした  \r\n"
                                     "ディスクを使用した検索は利用できません  "),
                      ProductTitle, MsgSeam::MbIconInformation, 2);

    const QString base = QStringLiteral("BASE");
    if (DiscFolder.isEmpty()) {
        const QString cd = ini.ReadString(base, QStringLiteral("CD"), QString());
        if (!cd.isEmpty())
            DiscFolder = withoutFinalSlash(cd);
        else
            DiscFolder = DriveList.isEmpty() ? QString() : DriveList.first();
    }

    DataPathReset = false;
    AdrsNameDefaulted = false;
    const QString stored = DecodeDataPath(ini.ReadString(base, QStringLiteral("DataPath"), QString()));
    const QString withSlash = SystemPaths::WithSlash(QDir::fromNativeSeparators(stored));
    if (stored.isEmpty() || !QDir::isAbsolutePath(withSlash) || !QFileInfo(withSlash).isDir() ||
        Cp932::byteLength(withSlash) > DataPathMax) {
        DataFolder = DataRootFolder + QStringLiteral("Data/");
        DataPathReset = true;
    } else {
        DataFolder = withSlash;
    }
    QDir().mkpath(DataFolder);

    if (DataPathReset) {
        CurrentAdrsName = DefaultAdrsName;
        AdrsNameDefaulted = true;
    } else {
        CurrentAdrsName = ini.ReadString(base, QStringLiteral("AdrsName"), QString());
        if (CurrentAdrsName.isEmpty()) {
            CurrentAdrsName = DefaultAdrsName;
            AdrsNameDefaulted = true;
        }
    }
    SetDataSubFolders();

    const TMainSettings defaults;
    const QString operation = QStringLiteral("OPERATION");
    MainSettings.ViewSplash = ini.ReadBool(operation, QStringLiteral("ViewSplash"), defaults.ViewSplash);
    MainSettings.HisCount = readRanged(ini, operation, QStringLiteral("HisCount"), defaults.HisCount, 30);
    const QString address = QStringLiteral("ADDRESS");
    MainSettings.ChangeData = ini.ReadBool(address, QStringLiteral("ChangeData"), defaults.ChangeData);
    MainSettings.FormClose = ini.ReadBool(address, QStringLiteral("FormClose"), defaults.FormClose);
    MainSettings.Confirmation = ini.ReadBool(address, QStringLiteral("Confirmation"), defaults.Confirmation);
    MainSettings.OutOfTarget = ini.ReadBool(address, QStringLiteral("OutOfTarget"), defaults.OutOfTarget);
    MainSettings.SameNum = ini.ReadBool(address, QStringLiteral("SameNum"), defaults.SameNum);
    const QString view = QStringLiteral("VIEW");
    MainSettings.BGPaint = ini.ReadBool(view, QStringLiteral("BGPaint"), defaults.BGPaint);
    MainSettings.BGColor = ini.ReadInteger(view, QStringLiteral("BGColor"), defaults.BGColor);
    const QString cooperate = QStringLiteral("COOPERATE");
    MainSettings.Map = readRanged(ini, cooperate, QStringLiteral("Map"), defaults.Map, 10);
    MainSettings.MapSearchKind = readRanged(ini, cooperate, QStringLiteral("MapSearchKind"), 0, 1);
    MainSettings.Root = readRanged(ini, cooperate, QStringLiteral("Root"), 0, 1);
    MainSettings.Info = ini.ReadBool(QStringLiteral("BASE"), QStringLiteral("Info"), defaults.Info);
    MainSettings.UpdateCheck =
        ini.ReadBool(QStringLiteral("UPDATE"), QStringLiteral("UpdateCheck"), defaults.UpdateCheck);
    MainSettings.MyNumberLabel = Cp932::cutToBytes(
        ini.ReadString(QStringLiteral("MYNUMBER"), QStringLiteral("MyNumberLabel"), defaults.MyNumberLabel),
        22);

    MyNumberData.clear();
    QFile myNumber(DataRootFolder + MyNumberFileName);
    if (myNumber.exists() && myNumber.open(QIODevice::ReadOnly)) {
        const qint64 size = myNumber.size();
        const QByteArray bytes = myNumber.readAll();
        if (bytes.size() == size)
            MyNumberData = UnscrambleText(bytes);
    }

    StartupPassword = Registry::ReadString(ProgramRegistryKey, QStringLiteral("Type"));
    AdminPassword = Registry::ReadString(ProgramRegistryKey, QStringLiteral("Point"));
    AdminMode = false;
}

bool WriteBackDataPath(QString* error)
{
    TMemIniFile ini(mainSettingsPath());
    // A file that exists but could not be read must not be replaced by one holding this key alone.
    if (!ini.LoadedOk()) {
        if (error)
            *error = QStringLiteral("cannot read %1").arg(ini.FileName());
        return false;
    }
    ini.WriteString(QStringLiteral("BASE"), QStringLiteral("DataPath"), EncodeDataPath(DataFolder));
    return ini.UpdateFile(error);
}
