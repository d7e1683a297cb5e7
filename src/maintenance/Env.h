// The settings dialog: its seven pages, the checks of the data folder and the writing of the main settings
// and own-number files.
#pragma once

#include <QDialog>
#include <QStringList>

#include <functional>
#include <optional>

class QCheckBox;
class QComboBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QStackedWidget;
class QToolButton;
class QTreeWidget;
class QTreeWidgetItem;

// The dialog's own memory in [ENVIRONMENT]: the page shown last and the last data folders, newest first.
struct TEnvironmentMemory
{
    int initTab = 0;
    QStringList dataPaths; // each with a final "/"
};
inline constexpr int EnvironmentPageCount = 7;
inline constexpr int DataPathHistoryCount = 5;

// Reads [ENVIRONMENT] "InitTab" (0 when missing or out of range) and "DataPath1".."DataPath5" (empty entries
// and repeats skipped).
TEnvironmentMemory ReadEnvironmentMemory(const QString& iniPath);
// Writes the memory back when the file exists; the old "DataPath" keys go first. False when nothing was
// written.
bool WriteEnvironmentMemory(const QString& iniPath, const TEnvironmentMemory& memory);
// folder moved (or put) to the front of the list.
QStringList PushDataPath(QStringList list, const QString& folder);

// The message that refuses a data folder text (already trimmed), or empty when it may be used.
QString CheckDataFolderText(const QString& text);
// The history count an edit text stands for: single-byte digits only, 0 to 30.
std::optional<int> ParseHisCount(const QString& text);
inline constexpr int HisCountMax = 30;
// The search kinds cbxMapSearchKind offers for a map program.
QStringList MapSearchKinds(int map);
// The labels offered for the own number.
const QStringList& MyNumberLabels();

// Writes the globals into the main settings file: loaded again and changed key by key, so that other
// windows' sections stay; false (with the reason) when it could not be written.
bool WriteMainSettingsFile(QString* error = nullptr);
// Writes MyNumberData scrambled into "Quenrid215.mnb" (user-only access), or deletes the file when it is
// empty; false when the file could not be written or removed.
bool WriteMyNumberFile();

class TEnvironment : public QDialog
{
public:
    explicit TEnvironment(QWidget* owner);
    ~TEnvironment() override;

    // Results for the caller, all false until "設定" succeeds.
    bool DataFolderChanged = false;
    bool HisCountChanged = false;
    bool ListColorChanged = false;
    bool LinkSoftChanged = false;
    bool MyNumberChanged = false;
    bool RestartRequested = false;

    // Called before the globals change when the data folder changed: saves the owner's state and closes its
    // windows; false keeps the dialog open with nothing saved.
    using TDataFolderChangeHook = std::function<bool()>;
    void SetDataFolderChangeHook(TDataFolderChangeHook hook) { m_dataFolderChangeHook = std::move(hook); }

    // Writes the main settings file and the own-number file from the globals, telling the user of failures.
    void WriteMainSettings();

    int CurrentPage() const;
    void ShowPage(int page);

    void bbtnDriveUpdateClick();
    void btnSetClick();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* buildBasePage();
    QWidget* buildOperationPage();
    QWidget* buildAddressPage();
    QWidget* buildViewPage();
    QWidget* buildCooperatePage();
    QWidget* buildUpdatePage();
    QWidget* buildMyNumberPage();
    void fillDrives();
    void fillMapSearchKinds();
    void updateAutoSaveBoxes();
    void edtHisCountEnter();
    bool edtHisCountExit();
    void stepHisCount(int delta);
    void edtMyNumberChange();
    void bbtnBrowseDataPathClick();
    void bbtnHDDInstallClick();
    void bbtnBGColorClick();
    void bbtnUpdateClick();
    void refuseDataFolder(const QString& text);

    TEnvironmentMemory m_memory;
    QString m_startDataPath;
    int m_hisCountBefore = 0;
    int m_bgColor = 0;
    TDataFolderChangeHook m_dataFolderChangeHook;

    QTreeWidget* tvEnv;
    QList<QTreeWidgetItem*> m_nodes;
    QStackedWidget* m_pages;
    QComboBox* cbxDrive;
    QPushButton* bbtnDriveUpdate;
    QPushButton* bbtnHDDInstall;
    QComboBox* cbxDataPath;
    QPushButton* bbtnBrowseDataPath;
    QCheckBox* chkViewSplash;
    QLineEdit* edtHisCount;
    QToolButton* m_hisUp;
    QToolButton* m_hisDown;
    int m_hisCount = 0;
    QCheckBox* chkChangeData;
    QCheckBox* chkFormClose;
    QCheckBox* chkConfirmation;
    QCheckBox* chkOutOfTarget;
    QCheckBox* chkSameNum;
    QCheckBox* chkBGPaint;
    QLabel* pnlBGColor;
    QPushButton* bbtnBGColor;
    QPushButton* bbtnResetColor;
    QComboBox* cbxMapSoft;
    QComboBox* cbxMapSearchKind;
    QComboBox* cbxRootSoft;
    QCheckBox* chkUpdate;
    QPushButton* bbtnUpdate;
    QComboBox* cbxMyNumberLabel;
    QLineEdit* edtMyNumber;
    QLabel* imgMyNumberStatus;
    QLabel* lblMyNumberCount;
    QLabel* lblMyNumberNotice;
    QPushButton* btnSet;
    QPushButton* btnCancel;
};
