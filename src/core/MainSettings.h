// Folder globals, the main settings "Quenrid215.ini" read at start, the registry values and the start-up
// flags.
#pragma once

#include <QString>
#include <QStringList>

class QWidget;
class TMemIniFile;

// Folders, each with a final "/" (DiscFolder without one; its data lies in DiscFolder + "/Quenrid215/").
extern QString ProgramFolder;
extern QString DataRootFolder;
extern QString DataFolder;
extern QString AdrsFolder;
extern QString OtherFolder;
extern QString HistoryFolder;
extern QString LayoutFolder;
extern QString LabelFolder;
extern QString CardFolder;
extern QString DesignFolder;
extern QString CategoryFolder;
extern QString DiscFolder;
extern QString HddInstallFolder;
extern bool HddInstalled;

// Start-up flags and state.
extern bool FirstRun;          // the main settings file was missing
extern bool DataPathReset;     // [BASE] DataPath was missing, not a folder or too long
extern bool AdrsNameDefaulted; // the current book's name fell back to "アドレス"
extern QString CurrentAdrsName;
extern QString StartupPassword; // registry value "Type", in its stored form
extern QString AdminPassword;   // registry value "Point", in its stored form
extern bool AdminMode;
extern QByteArray MyNumberData; // the own-number file, unscrambled

// Values of the main settings file that more than one window reads, one field per key.
struct TMainSettings
{
    bool SearchDriveExtend = false;
    bool ViewSplash = true;
    int HisCount = 10;
    bool ChangeData = true;
    bool FormClose = true;
    bool Confirmation = true;
    bool OutOfTarget = true;
    bool SameNum = true;
    bool BGPaint = true;
    int BGColor = 14680047;
    int Map = 8;
    int MapSearchKind = 0;
    int Root = 0;
    bool Info = true;        // [BASE] Info: fetch notices at start
    bool UpdateCheck = true; // [UPDATE] UpdateCheck: check for updates at start
    QString MyNumberLabel = QStringLiteral("共通マイナンバー");
};
extern TMainSettings MainSettings;

// The map programs by TMapSoft (0 to 10) and the route programs by TRootSoft (0, 1), as the settings name them.
const QStringList& MapSoftNames();
const QStringList& RootSoftNames();
// The map program that is asked by address only.
constexpr int MapSoftGoogle = 10;

inline const QString MainSettingsFileName = QStringLiteral("Quenrid215.ini");
inline const QString MyNumberFileName = QStringLiteral("Quenrid215.mnb");
inline const QString DefaultAdrsName = QStringLiteral("アドレス");
// The program's registry key (read only).
inline const QString ProgramRegistryKey =
    QStringLiteral("HKEY_LOCAL_MACHINE\\SOFTWARE\\Zantor\\Quenrid\\21.5");
// The longest data folder accepted, in bytes with its final "/".
constexpr int DataPathMax = 200;

// The per-machine data root: the application-data folder + "Morvane/Quenrid215/", created when missing;
// ProgramFolder when it cannot be created.
QString GetDataRootFolder();

// [OPERATION] ViewSplash of the main settings file, read by the program entry.
bool ReadViewSplash();

// Reads everything above from DataRootFolder's main settings file, the registry and the own-number file.
// messageOwner receives the missing-drive message.
void ReadMainSettings(QWidget* messageOwner);
// The value of [BASE] DataPath as a folder (the "@" Unicode form decoded).
QString DecodeDataPath(const QString& stored);
// The form [BASE] DataPath is stored in: the folder itself, or its "@" Unicode form when CP932 lacks a
// character.
QString EncodeDataPath(const QString& folder);
// Writes [BASE] DataPath := DataFolder back into the main settings file.
bool WriteBackDataPath(QString* error = nullptr);
// Sets the seven sub-folder globals of DataFolder.
void SetDataSubFolders();
