// The route front end that drives the route program 乗換案内 through its automation objects: the main window
// with the nearest and the departure station, and the station candidate picker.
#pragma once

#include <QByteArray>
#include <QDialog>
#include <QString>

#include <array>
#include <cstdint>
#include <memory>
#include <vector>

class QLineEdit;
class QPushButton;
class QTreeWidget;
class TAutomationObject;
class TMemIniFile;

namespace Norikae {

inline const QString RouteServerProgId = QStringLiteral("RailServ.Control");
inline const QString NodeDetectorProgId = QStringLiteral("RailServ.MNNodeDetector");
inline const QString SdkProgId = QStringLiteral("NorikaeDllSDK100.NorikaeAnnai");

inline const QString StartSection = QStringLiteral("NORIKAE START STATION");

// Bytes of a station name the window shows and hands on, and bytes it keeps of a detected name.
inline constexpr int ShownNameBytes = 33;
inline constexpr int KeptNameBytes = 35;
// The detector is asked for this many stations within this many metres.
inline constexpr int NearStationCount = 3;
inline constexpr int NearRadiusMetres = 10000;

// One station choice of the candidate picker.
struct TSelectStInfo
{
    QString Name;    // the picker's search text
    int Index = 0;   // the chosen candidate row
    QString Station; // the chosen candidate, the name handed to the route program
};

// One station the detector found.
struct TNearStationRec
{
    int32_t latitude = 0; // milliseconds of arc, as the detector gives them
    int32_t longitude = 0;
    QByteArray name; // CP932, at most KeptNameBytes
    int32_t distance = 0;
    int32_t bearing = 0; // 1 to 8, 0 undetermined
};

// The station at latitude, longitude with its distance and bearing from the record's position.
TNearStationRec MakeNearStation(const QString& name, int32_t latitude, int32_t longitude,
                                uint32_t recordLatitude, uint32_t recordLongitude);
// The name as shown and handed on: its first ShownNameBytes bytes, cut on a character boundary, trimmed.
QString ShownName(const QByteArray& name);

TSelectStInfo LoadStartStation(const TMemIniFile& ini);
void SaveStartStation(TMemIniFile& ini, const TSelectStInfo& info);

} // namespace Norikae

// The candidate picker over the route program's development object.
class TNorikaeSelectStation : public QDialog
{
    Q_OBJECT
public:
    explicit TNorikaeSelectStation(QWidget* owner);
    ~TNorikaeSelectStation() override;

    // Creates the development object and its candidate object; false (with the message shown) when that
    // fails.
    bool ConnectSdk();
    // A non-empty Name is searched at once and the row Index (or row 0) selected.
    void SetInfo(const Norikae::TSelectStInfo& info);
    const Norikae::TSelectStInfo& Info() const { return m_info; }
    void SearchCandidates();

    QLineEdit* SearchBox() const { return m_search; }
    QTreeWidget* List() const { return m_list; }
    QPushButton* OkButton() const { return m_ok; }
    QPushButton* CancelButton() const { return m_cancel; }
    void accept() override;

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    Norikae::TSelectStInfo m_info;
    std::shared_ptr<TAutomationObject> m_sdk;
    std::shared_ptr<TAutomationObject> m_candidates;
    QLineEdit* m_search = nullptr;
    QTreeWidget* m_list = nullptr;
    QPushButton* m_ok = nullptr;
    QPushButton* m_cancel = nullptr;
};

class TNorikaeMain : public QDialog
{
    Q_OBJECT
public:
    explicit TNorikaeMain(QWidget* owner);
    ~TNorikaeMain() override;

    // Creates the route server and the node detector; false (with the message shown) when the route program
    // is not installed.
    bool ConnectRouteServer();
    void SetProgramFolder(const QString& folder) { m_programFolder = folder; }
    // Picker, and the two map windows that show help.
    void SetHelpContexts(const std::array<int, 3>& contexts) { m_helpContexts = contexts; }
    // Milliseconds of arc as the record stores them; 0 for none.
    void SetPosition(uint32_t latitude, uint32_t longitude);

    // Detects the nearest stations and reads the departure (done when shown).
    void Prepare();
    void TakeNearPick(const Norikae::TSelectStInfo& info);
    void TakeStartStation(const Norikae::TSelectStInfo& info);
    // Hands departure and destination to the route search; true when it ran.
    bool Launch();

    const std::vector<Norikae::TNearStationRec>& NearStations() const { return m_near; }
    QTreeWidget* NearList() const { return m_nearList; }
    QTreeWidget* StartList() const { return m_startList; }
    QPushButton* NearPickButton() const { return m_nearPickButton; }
    QPushButton* StartPickButton() const { return m_startPickButton; }
    QPushButton* MapButton() const { return m_mapButton; }
    QPushButton* StartButton() const { return m_startButton; }
    QPushButton* CancelButton() const { return m_cancelButton; }

protected:
    void showEvent(QShowEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void searchNearStations();
    int selectedNearRow() const;
    void pickStation(bool near);
    void showMap();

    QString m_programFolder;
    std::array<int, 3> m_helpContexts{};
    uint32_t m_latitude = 0, m_longitude = 0;
    std::vector<Norikae::TNearStationRec> m_near;
    Norikae::TSelectStInfo m_nearPick, m_start;
    std::shared_ptr<TAutomationObject> m_server;
    std::shared_ptr<TAutomationObject> m_detector;
    bool m_prepared = false;
    QTreeWidget* m_nearList = nullptr;
    QTreeWidget* m_startList = nullptr;
    QPushButton* m_nearPickButton = nullptr;
    QPushButton* m_startPickButton = nullptr;
    QPushButton* m_mapButton = nullptr;
    QPushButton* m_startButton = nullptr;
    QPushButton* m_cancelButton = nullptr;
};
