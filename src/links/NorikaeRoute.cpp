// The route front end over the automation objects of the route program 乗換案内.
#include "links/NorikaeRoute.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"
#include "links/Automation.h"
#include "links/MapSearch.h"
#include "links/RouteGeometry.h"
#include "links/RouteWidgets.h"
#include "platform/Cp932.h"
#include "platform/IniFile.h"

#include <QApplication>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

namespace Norikae {

TNearStationRec MakeNearStation(const QString& name, int32_t latitude, int32_t longitude,
                                uint32_t recordLatitude, uint32_t recordLongitude)
{
    TNearStationRec rec;
    rec.latitude = latitude;
    rec.longitude = longitude;
    rec.name = Cp932::cutAtBoundary(Cp932::fromUnicode(name), KeptNameBytes);
    rec.distance =
        RouteGeometry::DistanceMetres(int32_t(recordLatitude), int32_t(recordLongitude), latitude, longitude);
    rec.bearing =
        RouteGeometry::GetBearing(recordLatitude, recordLongitude, uint32_t(latitude), uint32_t(longitude));
    return rec;
}

QString ShownName(const QByteArray& name)
{
    return Cp932::toUnicode(Cp932::cutAtBoundary(name, ShownNameBytes)).trimmed();
}

TSelectStInfo LoadStartStation(const TMemIniFile& ini)
{
    TSelectStInfo info;
    info.Name = ini.ReadString(StartSection, QStringLiteral("Name"), QString());
    info.Index = ini.ReadInteger(StartSection, QStringLiteral("Index"), 0);
    info.Station = ini.ReadString(StartSection, QStringLiteral("Station"), QString());
    return info;
}

void SaveStartStation(TMemIniFile& ini, const TSelectStInfo& info)
{
    ini.WriteString(StartSection, QStringLiteral("Name"), info.Name.trimmed());
    ini.WriteInteger(StartSection, QStringLiteral("Index"), info.Index);
    ini.WriteString(StartSection, QStringLiteral("Station"), info.Station.trimmed());
}

} // namespace Norikae

using namespace Norikae;

namespace {

const QString NotStarted = QStringLiteral("乗換案内が起動できませんでした  ");

void ShowStop(QWidget* owner, const QString& text)
{
    MessageBoxPos(owner, text, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconStop);
}

int CurrentRow(const QTreeWidget* list)
{
    QTreeWidgetItem* item = list->currentItem();
    return item && item->isSelected() ? list->indexOfTopLevelItem(item) : -1;
}

void SelectOnly(QTreeWidget* list, QTreeWidgetItem* item)
{
    list->setCurrentItem(item);
    item->setSelected(true);
}

} // namespace

// ---- Candidate picker ----

TNorikaeSelectStation::TNorikaeSelectStation(QWidget* owner) : QDialog(owner)
{
    setWindowTitle(QStringLiteral("駅選択"));
    auto* group = new QGroupBox(QStringLiteral(" 駅検索： "));
    m_search = new QLineEdit;
    m_search->setMaxLength(22);
    SetImeMode(m_search, imHira);
    auto* row = new QHBoxLayout(group);
    row->addWidget(m_search);
    m_list = MakeRouteList({QStringLiteral("駅名")}, {220});
    m_ok = new QPushButton(QStringLiteral("OK"));
    m_cancel = new QPushButton(QStringLiteral("キャンセル"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_ok);
    buttons->addWidget(m_cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(new QLabel(QStringLiteral("一覧：")));
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    connect(m_ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(m_cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, m_ok, &QPushButton::click);
    m_search->installEventFilter(this);
    m_list->installEventFilter(this);
}

TNorikaeSelectStation::~TNorikaeSelectStation() = default;

bool TNorikaeSelectStation::ConnectSdk()
{
    try {
        m_sdk = CreateAutomationObject(SdkProgId);
        if (m_sdk &&
            m_sdk->invoke(QStringLiteral("Init"), {QString(), QStringLiteral("9.99"), QString()}).toInt() >=
                0) {
            if (const auto kouho = AutomationObjectOf(m_sdk->invoke(QStringLiteral("EkiKouho"))))
                m_candidates = AutomationObjectOf(kouho->invoke(QStringLiteral("EkiHenkan")));
        }
    } catch (const EAutomationError&) {
        m_candidates = nullptr;
    }
    if (m_candidates)
        return true;
    m_sdk = nullptr;
    MessageBoxPos(parentWidget(), NotStarted, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconStop);
    return false;
}

void TNorikaeSelectStation::SetInfo(const TSelectStInfo& info)
{
    m_info = info;
    if (info.Name.isEmpty())
        return;
    m_search->setText(info.Name);
    SearchCandidates();
    const int rows = m_list->topLevelItemCount();
    if (rows > 0)
        SelectOnly(m_list, m_list->topLevelItem(info.Index >= 0 && info.Index < rows ? info.Index : 0));
}

void TNorikaeSelectStation::SearchCandidates()
{
    m_list->clear();
    if (!m_candidates)
        return;
    try {
        m_candidates->invoke(QStringLiteral("GetEkiKouho"), {m_search->text()});
        const int count = m_candidates->invoke(QStringLiteral("EkiKouhoCount")).toInt();
        for (int i = 0; i < count; ++i) {
            const QString text =
                m_candidates->invoke(QStringLiteral("EkiKouhoList"), {i}).toString().trimmed();
            m_list->addTopLevelItem(new QTreeWidgetItem({text}));
        }
    } catch (const EAutomationError&) {
        m_list->clear();
        ShowStop(this, NotStarted);
        return;
    }
    if (m_list->topLevelItemCount() > 0) {
        SelectOnly(m_list, m_list->topLevelItem(0));
        m_list->setFocus();
    }
}

bool TNorikaeSelectStation::eventFilter(QObject* watched, QEvent* event)
{
    if (!IsEnterKey(event))
        return QDialog::eventFilter(watched, event);
    if (watched == m_search) {
        if (m_search->text().trimmed().isEmpty()) {
            m_cancel->setFocus();
        } else {
            SearchCandidates();
            if (m_list->topLevelItemCount() > 0)
                m_list->setFocus();
        }
        return true;
    }
    if (watched == m_list) {
        (CurrentRow(m_list) >= 0 ? m_ok : m_cancel)->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TNorikaeSelectStation::accept()
{
    const int row = CurrentRow(m_list);
    if (row < 0) {
        reject();
        return;
    }
    m_info.Name = m_search->text().trimmed();
    m_info.Index = row;
    m_info.Station = m_list->topLevelItem(row)->text(0).trimmed();
    QDialog::accept();
}

// ---- Main window ----

TNorikaeMain::TNorikaeMain(QWidget* owner) : QDialog(owner), m_programFolder(ProgramFolder)
{
    setWindowTitle(QStringLiteral("乗換案内"));
    auto* nearGroup = new QGroupBox(QStringLiteral(" 最寄駅情報： "));
    m_nearList = MakeRouteList({QStringLiteral("駅名"), QStringLiteral("距離（ｍ）"), QStringLiteral("方角")},
                               {220, 80, 50});
    m_nearPickButton = new QPushButton(QStringLiteral("駅選択"));
    m_mapButton = new QPushButton(QStringLiteral("地図"));
    auto* nearGrid = new QGridLayout(nearGroup);
    nearGrid->addWidget(new QLabel(QStringLiteral("最寄駅：")), 0, 0);
    nearGrid->addWidget(m_nearList, 1, 0, 3, 1);
    nearGrid->addWidget(m_nearPickButton, 1, 1);
    nearGrid->addWidget(m_mapButton, 2, 1);

    auto* startGroup = new QGroupBox(QStringLiteral(" 出発駅情報： "));
    m_startList = MakeRouteList({QStringLiteral("駅名")}, {350});
    m_startList->setMaximumHeight(60);
    m_startPickButton = new QPushButton(QStringLiteral("駅選択"));
    auto* startRow = new QHBoxLayout(startGroup);
    startRow->addWidget(m_startList);
    startRow->addWidget(m_startPickButton, 0, Qt::AlignTop);

    m_startButton = new QPushButton(QStringLiteral("起動"));
    m_cancelButton = new QPushButton(QStringLiteral("キャンセル"));
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(m_startButton);
    buttons->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nearGroup);
    layout->addWidget(startGroup);
    layout->addLayout(buttons);

    connect(m_nearPickButton, &QPushButton::clicked, this, [this] { pickStation(true); });
    connect(m_startPickButton, &QPushButton::clicked, this, [this] { pickStation(false); });
    connect(m_mapButton, &QPushButton::clicked, this, &TNorikaeMain::showMap);
    connect(m_startButton, &QPushButton::clicked, this, &TNorikaeMain::Launch);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    m_nearList->installEventFilter(this);
    m_startList->installEventFilter(this);
}

TNorikaeMain::~TNorikaeMain() = default;

bool TNorikaeMain::ConnectRouteServer()
{
    bool installed = false;
    try {
        m_server = CreateAutomationObject(RouteServerProgId);
        installed = m_server && !m_server->invoke(QStringLiteral("JrailPath")).toString().trimmed().isEmpty();
        if (installed) {
            m_detector = CreateAutomationObject(NodeDetectorProgId);
            installed = m_detector != nullptr;
        }
    } catch (const EAutomationError&) {
        installed = false;
    }
    if (installed)
        return true;
    m_server = m_detector = nullptr;
    ApplicationMessageBox(QStringLiteral("乗換案内がインストールされていません  "),
                          MsgSeam::MbOk | MsgSeam::MbIconInformation);
    return false;
}

void TNorikaeMain::SetPosition(uint32_t latitude, uint32_t longitude)
{
    m_latitude = latitude;
    m_longitude = longitude;
}

void TNorikaeMain::searchNearStations()
{
    m_near.clear();
    try {
        QVariantList detect{NearStationCount, int32_t(m_latitude), int32_t(m_longitude), NearRadiusMetres};
        m_detector->invokeByRef(QStringLiteral("DetectNearNodes"), detect);
        const int count = std::min(m_detector->invoke(QStringLiteral("NodeCount")).toInt(), NearStationCount);
        for (int i = 0; i < count; ++i) {
            QVariantList info{i, QString(), QString(), 0, 0};
            m_detector->invokeByRef(QStringLiteral("GetNodeInfo"), info);
            if (info.size() < 5)
                throw EAutomationError("GetNodeInfo answered too few values");
            m_near.push_back(MakeNearStation(info[1].toString(), info[3].toInt(), info[4].toInt(), m_latitude,
                                             m_longitude));
        }
    } catch (const EAutomationError&) {
        // A detector that fails leaves the list empty; a station can still be picked.
        m_near.clear();
        ShowStop(this, NotStarted);
        return;
    }
    for (const TNearStationRec& s : m_near)
        m_nearList->addTopLevelItem(new QTreeWidgetItem(
            {ShownName(s.name), QString::asprintf("%-8d", s.distance), BearingWord(s.bearing)}));
    if (m_near.empty()) {
        MessageBoxPos(this, QStringLiteral("半径10km以内に駅は見つかりませんでした  "), ProductTitle,
                      MsgSeam::MbOk | MsgSeam::MbIconInformation);
        return;
    }
    SelectOnly(m_nearList, m_nearList->topLevelItem(0));
    m_nearList->setFocus();
}

void TNorikaeMain::Prepare()
{
    if (m_prepared)
        return;
    m_prepared = true;
    if (m_detector && m_latitude != 0 && m_longitude != 0)
        searchNearStations();
    m_nearPick = {};
    m_start = {};
    TakeStartStation(LoadStartStation(TMemIniFile(DataRootFolder + MainSettingsFileName)));
}

void TNorikaeMain::showEvent(QShowEvent* event)
{
    Prepare();
    QDialog::showEvent(event);
    if (m_nearList->topLevelItemCount() > 0)
        m_nearList->setFocus();
    else
        m_cancelButton->setFocus();
}

void TNorikaeMain::TakeStartStation(const TSelectStInfo& info)
{
    m_start = info;
    const QString station = info.Station.trimmed();
    if (station.isEmpty())
        return;
    m_startList->clear();
    auto* item = new QTreeWidgetItem({station});
    m_startList->addTopLevelItem(item);
    SelectOnly(m_startList, item);
}

void TNorikaeMain::TakeNearPick(const TSelectStInfo& info)
{
    m_nearPick = info;
    const QString station = info.Station.trimmed();
    if (station.isEmpty())
        return;
    // One picked row at most, after the detected ones.
    const int detected = int(m_near.size());
    while (m_nearList->topLevelItemCount() > detected)
        delete m_nearList->takeTopLevelItem(detected);
    auto* item = new QTreeWidgetItem({station, QString(), QString()});
    m_nearList->addTopLevelItem(item);
    SelectOnly(m_nearList, item);
    m_nearList->setFocus();
}

int TNorikaeMain::selectedNearRow() const
{
    return CurrentRow(m_nearList);
}

void TNorikaeMain::pickStation(bool near)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TNorikaeSelectStation picker(this);
    if (!picker.ConnectSdk()) {
        QApplication::restoreOverrideCursor();
        return;
    }
    CenterForm(&picker, this);
    SetHelpContext(&picker, m_helpContexts[0]);
    picker.SetInfo(near ? m_nearPick : m_start);
    QApplication::restoreOverrideCursor();
    if (picker.exec() == QDialog::Accepted) {
        if (near)
            TakeNearPick(picker.Info());
        else
            TakeStartStation(picker.Info());
    }
    (near ? m_nearList : m_startList)->setFocus();
}

bool TNorikaeMain::Launch()
{
    const int row = selectedNearRow();
    if (row < 0 || CurrentRow(m_startList) < 0 || !m_server)
        return false;
    TBusyCursor busy;
    const QString destination =
        row < int(m_near.size()) ? ShownName(m_near[size_t(row)].name) : m_nearPick.Station.trimmed();
    try {
        for (int i = 0; i < 6; ++i) {
            m_server->putIndexed(QStringLiteral("KensakuEki"), i, QString());
            m_server->putIndexed(QStringLiteral("KensakuRosen"), i, QString());
        }
        m_server->putIndexed(QStringLiteral("KensakuEki"), 0, m_start.Station.trimmed());
        m_server->putIndexed(QStringLiteral("KensakuEki"), 1, destination);
        m_server->invoke(QStringLiteral("DoKensaku"));
    } catch (const EAutomationError&) {
        ShowStop(this, NotStarted);
        return false;
    }
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    SaveStartStation(ini, m_start);
    ini.UpdateFile();
    return true;
}

void TNorikaeMain::showMap()
{
    const int row = selectedNearRow();
    if (row < 0 || row >= int(m_near.size()))
        return;
    TMapSearchParams params;
    params.Latitude = uint32_t(m_near[size_t(row)].latitude);
    params.Longitude = uint32_t(m_near[size_t(row)].longitude);
    DispatchMap(MainSettings.Map, this, m_programFolder, m_helpContexts[1], params, TMapCaller::Route);
}

bool TNorikaeMain::eventFilter(QObject* watched, QEvent* event)
{
    if (IsEnterKey(event)) {
        if (watched == m_nearList)
            m_startList->setFocus();
        else
            (m_start.Station.trimmed().isEmpty() ? m_startPickButton : m_startButton)->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
