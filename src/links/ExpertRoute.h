// The route front end over the station library and the route launcher "Exp_kick.exe": the main window with
// the nearest and the departure station, the station picker and the search-condition dialog.
#pragma once

#include "links/StationLibrary.h"

#include <QColor>
#include <QDate>
#include <QDialog>

#include <array>
#include <memory>

class QComboBox;
class QDateEdit;
class QLineEdit;
class QPushButton;
class QRadioButton;
class QTreeWidget;
class TMemIniFile;
class TWindowDirectory;

// A station with the state of the picker that chose it.
struct TSelectStInfo
{
    TStationRec station{};
    int KanaIndex = -1;
    int ListIndex = 0;
    QString Kana;
};

// The seven search conditions (FirstTrainSt, LeavingStRide, Transfers, WalkingAmongSt, JRRailway,
// LimitedExpress, Airway) and the ride date "yyyymmdd" (empty: today).
struct TExpertConditions
{
    std::array<int, 7> values{};
    QString rideDate;
};

namespace ExpertSettings {

inline const QString StartSection = QStringLiteral("EXPERT START STATION");
inline const QString SearchSection = QStringLiteral("EXPERT STATION SEARCH");
const std::array<QString, 7>& ConditionKeys();
// Button captions of each condition (two or three).
const std::array<QStringList, 7>& ConditionCaptions();

TSelectStInfo LoadStartStation(const TMemIniFile& ini);
void SaveStartStation(TMemIniFile& ini, const TSelectStInfo& info);
// Values out of range read as 0; a ride date is kept only when it is a valid date after now.
TExpertConditions LoadConditions(const TMemIniFile& ini, const QDateTime& now);
void SaveConditions(TMemIniFile& ini, const TExpertConditions& conditions);

// The launcher's start arguments: "-d<date>", "-c<seven digits>", departure code, destination code.
QStringList StartArguments(const TExpertConditions& conditions, const QDate& today, const TStationRec& from,
                           const TStationRec& to);
// Writes text into a fixed CP932 field, cut on a character boundary and zero-padded.
void PutField(char* field, int size, const QString& text);

} // namespace ExpertSettings

// The search-condition dialog: OK stores the block into the main settings file.
class TExpertSearchCondition : public QDialog
{
    Q_OBJECT
public:
    TExpertSearchCondition(QWidget* owner, const TExpertConditions& conditions, const QColor& highlight,
                           const QColor& normal);
    const TExpertConditions& Conditions() const { return m_conditions; }
    QRadioButton* Button(int condition, int value) const;
    QDateEdit* DateEdit() const { return m_date; }
    void accept() override;

private:
    void paintGroup(int condition);

    TExpertConditions m_conditions;
    QColor m_highlight, m_normal;
    std::array<QList<QRadioButton*>, 7> m_buttons;
    QDateEdit* m_date = nullptr;
};

// The station picker: by a typed reading or by a kana row.
class TExpertSelectStation : public QDialog
{
    Q_OBJECT
public:
    TExpertSelectStation(QWidget* owner, const QString& libraryFolder, const QString& dicFolder,
                         const TSelectStInfo& info, const QColor& highlight, const QColor& normal);
    const TSelectStInfo& Info() const { return m_info; }
    const std::vector<TStationRec>& Rows() const { return m_rows; }
    QTreeWidget* List() const { return m_list; }
    QLineEdit* SearchBox() const { return m_search; }
    QComboBox* KanaBox() const { return m_kana; }
    QRadioButton* NameButton() const { return m_byName; }
    QRadioButton* KanaButton() const { return m_byKana; }

    void SearchByName();
    void SearchByKanaRow();
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void showRows();
    void paintButtons();

    TStationLibrary m_library{TStationLibrary::Use::Picker};
    QString m_dicFolder;
    TSelectStInfo m_info;
    QColor m_highlight, m_normal;
    std::vector<TStationRec> m_rows;
    int m_searchedKanaRow = -1;
    QTreeWidget* m_list = nullptr;
    QLineEdit* m_search = nullptr;
    QComboBox* m_kana = nullptr;
    QRadioButton* m_byName = nullptr;
    QRadioButton* m_byKana = nullptr;
};

class TExpertMain : public QDialog
{
    Q_OBJECT
public:
    // directory: the desktop's windows, read when the window closes (null: none can be read).
    explicit TExpertMain(QWidget* owner, const TWindowDirectory* directory = nullptr);
    ~TExpertMain() override;

    void SetFolders(const QString& libraryFolder, const QString& dicFolder);
    // Position in 1/256 second of arc; 0 and 0 for none.
    void SetPosition(uint32_t latitude, uint32_t longitude);
    void SetColors(const QColor& highlight, const QColor& normal);
    void SetHelpContexts(const std::array<int, 4>& contexts) { m_helpContexts = contexts; }

    // Loads the library, searches the nearest stations and reads the settings (done when shown).
    void Prepare();
    // Takes a picked station into the nearest list or as departure.
    void TakeNearPick(const TSelectStInfo& info);
    void TakeStartStation(const TSelectStInfo& info);
    // Starts the route program; true when it started.
    bool Launch();
    bool Launched() const { return m_launched; }

    QTreeWidget* NearList() const { return m_nearList; }
    QTreeWidget* LineListView() const { return m_lineList; }
    QTreeWidget* StartList() const { return m_startList; }
    QPushButton* StartButton() const { return m_startButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }
    const TExpertConditions& Conditions() const { return m_conditions; }
    const std::array<TStationRec, StationSearchBufferCount>& NearSlots() const { return m_near; }

protected:
    void showEvent(QShowEvent* event) override;
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void fillLines();
    void updateStartButton();
    void pickStation(bool near);
    void editConditions();
    void showMap();
    void quitRouteProgram();

    TStationLibrary m_library{TStationLibrary::Use::Main};
    const TWindowDirectory* m_directory;
    QString m_libraryFolder, m_dicFolder;
    uint32_t m_latitude = 0, m_longitude = 0;
    QColor m_highlight, m_normal;
    std::array<int, 4> m_helpContexts{};
    std::array<TStationRec, StationSearchBufferCount> m_near{};
    TExpertConditions m_conditions;
    TSelectStInfo m_nearPick, m_start;
    bool m_prepared = false;
    bool m_launched = false;
    QTreeWidget* m_nearList = nullptr;
    QTreeWidget* m_lineList = nullptr;
    QTreeWidget* m_startList = nullptr;
    QPushButton* m_conditionButton = nullptr;
    QPushButton* m_startButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
    QPushButton* m_mapButton = nullptr;
    QPushButton* m_startPickButton = nullptr;
};
