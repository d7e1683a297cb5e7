// The route front end over the station library and the route launcher.
#include "links/ExpertRoute.h"

#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"
#include "links/AddExtURL.h"
#include "links/MapSearch.h"
#include "links/RouteWidgets.h"
#include "platform/Cp932.h"
#include "platform/IniFile.h"

#include <QApplication>
#include <QComboBox>
#include <QDateEdit>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QRadioButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <cstring>

namespace ExpertSettings {

const std::array<QString, 7>& ConditionKeys()
{
    static const std::array<QString, 7> keys = {
        QStringLiteral("FirstTrainSt"), QStringLiteral("LeavingStRide"),  QStringLiteral("Transfers"),
        QStringLiteral("WalkingAmongSt"), QStringLiteral("JRRailway"), QStringLiteral("LimitedExpress"),
        QStringLiteral("Airway")};
    return keys;
}

const std::array<QStringList, 7>& ConditionCaptions()
{
    static const std::array<QStringList, 7> captions = {
        QStringList{QStringLiteral("なるべく利用"), QStringLiteral("普通に利用")},
        QStringList{QStringLiteral("待ち時間なし"), QStringLiteral("平均待ち時間")},
        QStringList{QStringLiteral("気にならない"), QStringLiteral("少し気になる"), QStringLiteral("大いに気になる")},
        QStringList{QStringLiteral("気にならない"), QStringLiteral("少し気になる"), QStringLiteral("利用しない")},
        QStringList{QStringLiteral("やや優先する"), QStringLiteral("普通に利用"), QStringLiteral("極力利用しない")},
        QStringList{QStringLiteral("気軽に利用"), QStringLiteral("普通に利用"), QStringLiteral("極力利用しない")},
        QStringList{QStringLiteral("気軽に利用"), QStringLiteral("普通に利用"), QStringLiteral("極力利用しない")}};
    return captions;
}

void PutField(char* field, int size, const QString& text)
{
    std::memset(field, 0, size_t(size));
    const QByteArray bytes = Cp932::cutAtBoundary(Cp932::fromUnicode(text), size);
    std::memcpy(field, bytes.constData(), size_t(bytes.size()));
}

TSelectStInfo LoadStartStation(const TMemIniFile& ini)
{
    TSelectStInfo info;
    TStationRec& s = info.station;
    s.Latitude = uint32_t(ini.ReadInteger(StartSection, QStringLiteral("Latitude"), 0));
    s.Longitude = uint32_t(ini.ReadInteger(StartSection, QStringLiteral("Longitude"), 0));
    PutField(s.Code, sizeof s.Code, ini.ReadString(StartSection, QStringLiteral("KickCode"), QString()));
    PutField(s.Name, sizeof s.Name, ini.ReadString(StartSection, QStringLiteral("StNameKj"), QString()));
    PutField(s.Kana, sizeof s.Kana, ini.ReadString(StartSection, QStringLiteral("StNameKn"), QString()));
    s.Serial = ini.ReadInteger(StartSection, QStringLiteral("Through"), 0);
    info.KanaIndex = ini.ReadInteger(StartSection, QStringLiteral("KanaIndex"), -1);
    info.ListIndex = ini.ReadInteger(StartSection, QStringLiteral("ListIndex"), 0);
    info.Kana = ini.ReadString(StartSection, QStringLiteral("Kana"), QString());
    return info;
}

void SaveStartStation(TMemIniFile& ini, const TSelectStInfo& info)
{
    const TStationRec& s = info.station;
    ini.WriteInteger(StartSection, QStringLiteral("Latitude"), int(s.Latitude));
    ini.WriteInteger(StartSection, QStringLiteral("Longitude"), int(s.Longitude));
    ini.WriteString(StartSection, QStringLiteral("KickCode"), StationText(s.Code));
    ini.WriteString(StartSection, QStringLiteral("StNameKj"), StationText(s.Name));
    ini.WriteString(StartSection, QStringLiteral("StNameKn"), StationText(s.Kana));
    ini.WriteInteger(StartSection, QStringLiteral("Through"), s.Serial);
    ini.WriteInteger(StartSection, QStringLiteral("KanaIndex"), info.KanaIndex);
    ini.WriteInteger(StartSection, QStringLiteral("ListIndex"), info.ListIndex);
    ini.WriteString(StartSection, QStringLiteral("Kana"), info.Kana.trimmed());
}

TExpertConditions LoadConditions(const TMemIniFile& ini, const QDateTime& now)
{
    TExpertConditions c;
    for (size_t i = 0; i < c.values.size(); ++i) {
        const int value = ini.ReadInteger(SearchSection, ConditionKeys()[i], 0);
        const int last = int(ConditionCaptions()[i].size()) - 1;
        c.values[i] = value >= 0 && value <= last ? value : 0;
    }
    // Only a real date still to come is kept; today, a past day or no date at all mean today.
    const QString date = ini.ReadString(SearchSection, QStringLiteral("RideDate"), QString()).trimmed();
    const QDate day = QDate::fromString(date, QStringLiteral("yyyyMMdd"));
    if (date.size() == 8 && day.isValid() && day.startOfDay() > now)
        c.rideDate = date;
    return c;
}

void SaveConditions(TMemIniFile& ini, const TExpertConditions& c)
{
    for (size_t i = 0; i < c.values.size(); ++i)
        ini.WriteInteger(SearchSection, ConditionKeys()[i], c.values[i]);
    ini.WriteString(SearchSection, QStringLiteral("RideDate"), c.rideDate);
}

QStringList StartArguments(const TExpertConditions& c, const QDate& today, const TStationRec& from,
                           const TStationRec& to)
{
    QString digits;
    for (int v : c.values)
        digits += QString::number(v);
    const QString date = c.rideDate.isEmpty() ? today.toString(QStringLiteral("yyyyMMdd")) : c.rideDate;
    return {QStringLiteral("-d") + date, QStringLiteral("-c") + digits, StationText(from.Code),
            StationText(to.Code)};
}

} // namespace ExpertSettings

namespace {

constexpr int PickedBearing = 99;

void PaintCaption(QWidget* button, const QColor& color)
{
    QPalette palette = button->palette();
    palette.setColor(QPalette::WindowText, color);
    palette.setColor(QPalette::ButtonText, color);
    button->setPalette(palette);
}

void ShowInfo(QWidget* owner, const QString& text)
{
    MessageBoxPos(owner, text, ProductTitle, MsgSeam::MbIconInformation);
}

const QString NoStationNear = QStringLiteral("半径 10km 以内に駅は見つかりませんでした  ");

} // namespace

// ---- Search conditions ----

TExpertSearchCondition::TExpertSearchCondition(QWidget* owner, const TExpertConditions& conditions,
                                               const QColor& highlight, const QColor& normal)
    : QDialog(owner), m_conditions(conditions), m_highlight(highlight), m_normal(normal)
{
    setWindowTitle(QStringLiteral("探索条件"));
    static const QStringList groups = {QStringLiteral(" 特急始発駅： "), QStringLiteral(" 出発駅乗車： "),
                                       QStringLiteral(" 乗り換え： "),   QStringLiteral(" 駅間徒歩： "),
                                       QStringLiteral(" ＪＲ路線： "),   QStringLiteral(" 特急列車： "),
                                       QStringLiteral(" 空路： ")};
    auto* grid = new QGridLayout;
    for (int i = 0; i < 7; ++i) {
        auto* group = new QGroupBox(groups[i]);
        auto* row = new QHBoxLayout(group);
        const QStringList& captions = ExpertSettings::ConditionCaptions()[size_t(i)];
        for (int v = 0; v < captions.size(); ++v) {
            auto* button = new QRadioButton(captions[v]);
            row->addWidget(button);
            m_buttons[size_t(i)] << button;
            connect(button, &QRadioButton::clicked, this, [this, i] { paintGroup(i); });
        }
        const int value = m_conditions.values[size_t(i)];
        m_buttons[size_t(i)].value(value >= 0 && value < captions.size() ? value : 0)->setChecked(true);
        paintGroup(i);
        grid->addWidget(group, i / 2, i % 2);
    }
    auto* dateGroup = new QGroupBox(QStringLiteral(" 乗車日付： "));
    m_date = new QDateEdit;
    m_date->setCalendarPopup(true);
    m_date->setDisplayFormat(QStringLiteral("yyyy/MM/dd"));
    const QDate stored = QDate::fromString(m_conditions.rideDate, QStringLiteral("yyyyMMdd"));
    m_date->setDate(m_conditions.rideDate.size() == 8 && stored.isValid() ? stored : QDate::currentDate());
    (new QHBoxLayout(dateGroup))->addWidget(m_date);
    grid->addWidget(dateGroup, 3, 1);
    auto* ok = new QPushButton(QStringLiteral("OK"));
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(grid);
    layout->addLayout(buttons);
}

QRadioButton* TExpertSearchCondition::Button(int condition, int value) const
{
    return m_buttons[size_t(condition)].value(value);
}

void TExpertSearchCondition::paintGroup(int condition)
{
    for (QRadioButton* b : m_buttons[size_t(condition)])
        PaintCaption(b, b->isChecked() ? m_highlight : m_normal);
}

void TExpertSearchCondition::accept()
{
    for (size_t i = 0; i < m_buttons.size(); ++i)
        for (int v = 0; v < m_buttons[i].size(); ++v)
            if (m_buttons[i][v]->isChecked())
                m_conditions.values[i] = v;
    m_conditions.rideDate = m_date->date().toString(QStringLiteral("yyyyMMdd"));
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ExpertSettings::SaveConditions(ini, m_conditions);
    ini.UpdateFile();
    QDialog::accept();
}

// ---- Station picker ----

TExpertSelectStation::TExpertSelectStation(QWidget* owner, const QString& libraryFolder, const QString& dicFolder,
                                           const TSelectStInfo& info, const QColor& highlight, const QColor& normal)
    : QDialog(owner), m_dicFolder(dicFolder), m_info(info), m_highlight(highlight), m_normal(normal)
{
    setWindowTitle(QStringLiteral("駅選択"));
    auto* group = new QGroupBox(QStringLiteral(" 駅検索： "));
    m_byName = new QRadioButton(QStringLiteral("駅名："));
    m_search = new QLineEdit;
    m_search->setMaxLength(22);
    m_byKana = new QRadioButton(QStringLiteral("カナ："));
    m_kana = new QComboBox;
    m_kana->addItems({QStringLiteral("あ行"), QStringLiteral("か行"), QStringLiteral("さ行"), QStringLiteral("た行"),
                      QStringLiteral("な行"), QStringLiteral("は行"), QStringLiteral("ま行"), QStringLiteral("や行"),
                      QStringLiteral("ら行"), QStringLiteral("わ行")});
    auto* grid = new QGridLayout(group);
    grid->addWidget(m_byName, 0, 0);
    grid->addWidget(m_search, 0, 1);
    grid->addWidget(m_byKana, 1, 0);
    grid->addWidget(m_kana, 1, 1);
    m_list = MakeRouteList({QStringLiteral("駅名"), QStringLiteral("カナ")}, {160, 140});
    auto* ok = new QPushButton(QStringLiteral("OK"));
    auto* cancel = new QPushButton(QStringLiteral("キャンセル"));
    connect(ok, &QPushButton::clicked, this, &QDialog::accept);
    connect(cancel, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_list, &QTreeWidget::itemDoubleClicked, this, &QDialog::accept);
    auto* buttons = new QHBoxLayout;
    buttons->addStretch();
    buttons->addWidget(ok);
    buttons->addWidget(cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(group);
    layout->addWidget(new QLabel(QStringLiteral("一覧：")));
    layout->addWidget(m_list);
    layout->addLayout(buttons);

    if (m_library.Load(libraryFolder) != TStationLibrary::Loaded)
        QApplication::restoreOverrideCursor();
    m_search->setText(m_info.Kana.trimmed());
    m_kana->setCurrentIndex(m_info.KanaIndex >= 0 && m_info.KanaIndex < m_kana->count() ? m_info.KanaIndex : 0);
    connect(m_byName, &QRadioButton::clicked, this, &TExpertSelectStation::SearchByName);
    connect(m_byKana, &QRadioButton::clicked, this, &TExpertSelectStation::SearchByKanaRow);
    connect(m_kana, &QComboBox::activated, this, [this](int row) {
        if (m_byKana->isChecked() && row == m_searchedKanaRow)
            return;
        m_byKana->setChecked(true);
        SearchByKanaRow();
    });
    m_search->installEventFilter(this);
    if (m_search->text().isEmpty()) {
        m_byKana->setChecked(true);
        SearchByKanaRow();
    } else {
        m_byName->setChecked(true);
        SearchByName();
    }
    if (m_info.ListIndex >= 0 && m_info.ListIndex < m_list->topLevelItemCount()) {
        QTreeWidgetItem* item = m_list->topLevelItem(m_info.ListIndex);
        m_list->setCurrentItem(item);
        m_list->scrollToItem(item);
    }
}

void TExpertSelectStation::paintButtons()
{
    PaintCaption(m_byName, m_byName->isChecked() ? m_highlight : m_normal);
    PaintCaption(m_byKana, m_byKana->isChecked() ? m_highlight : m_normal);
}

void TExpertSelectStation::showRows()
{
    m_list->clear();
    for (const TStationRec& r : m_rows)
        m_list->addTopLevelItem(new QTreeWidgetItem({StationText(r.Name), StationText(r.Kana)}));
    if (!m_rows.empty()) {
        m_list->setCurrentItem(m_list->topLevelItem(0));
        m_list->setFocus();
    }
}

void TExpertSelectStation::SearchByName()
{
    paintButtons();
    m_searchedKanaRow = -1;
    m_rows.clear();
    const QString text = m_search->text().trimmed();
    if (m_library.IsLoaded() && !text.isEmpty()) {
        const int code = m_library.ListByKana(Cp932::fromUnicode(text), m_dicFolder, m_rows);
        if (code != DlstinfOk && code != DlstinfNotFound) {
            m_rows.clear();
            TStationLibrary::ShowCallError("StationListEx", code);
        }
    }
    showRows();
}

void TExpertSelectStation::SearchByKanaRow()
{
    // First and last half-width katakana letter of each row of the kana box.
    static const std::array<std::pair<int, int>, 10> ranges = {{{0xB1, 0xB5}, {0xB6, 0xBA}, {0xBB, 0xBF},
                                                                {0xC0, 0xC4}, {0xC5, 0xC9}, {0xCA, 0xCE},
                                                                {0xCF, 0xD3}, {0xD4, 0xD6}, {0xD7, 0xDB},
                                                                {0xDC, 0xDC}}};
    paintButtons();
    const int row = qMax(0, m_kana->currentIndex());
    m_searchedKanaRow = row;
    m_rows.clear();
    if (m_library.IsLoaded()) {
        for (int letter = ranges[size_t(row)].first; letter <= ranges[size_t(row)].second; ++letter) {
            const int code = m_library.ListByKana(QByteArray(1, char(letter)), m_dicFolder, m_rows);
            if (code != DlstinfOk && code != DlstinfNotFound) {
                m_rows.clear();
                TStationLibrary::ShowCallError("StationListEx", code);
                break;
            }
        }
    }
    showRows();
}

bool TExpertSelectStation::eventFilter(QObject* watched, QEvent* event)
{
    if (watched == m_search && IsEnterKey(event)) {
        if (!m_search->text().trimmed().isEmpty()) {
            m_byName->setChecked(true);
            SearchByName();
            if (m_list->topLevelItemCount() > 0)
                m_list->setFocus();
        } else if (m_byKana->isChecked()) {
            m_byKana->setFocus();
        } else {
            m_kana->setFocus();
        }
        return true;
    }
    return QDialog::eventFilter(watched, event);
}

void TExpertSelectStation::accept()
{
    const int row = m_list->currentItem() ? m_list->indexOfTopLevelItem(m_list->currentItem()) : -1;
    if (row < 0 || size_t(row) >= m_rows.size()) {
        reject();
        return;
    }
    m_info.station = m_rows[size_t(row)];
    m_info.KanaIndex = m_kana->currentIndex();
    m_info.ListIndex = row;
    m_info.Kana = m_search->text().trimmed();
    QDialog::accept();
}

// ---- Main window ----

TExpertMain::TExpertMain(QWidget* owner, const TWindowDirectory* directory)
    : QDialog(owner), m_directory(directory), m_libraryFolder(ProgramFolder), m_dicFolder(ProgramFolder),
      m_highlight(QApplication::palette().color(QPalette::WindowText)),
      m_normal(QApplication::palette().color(QPalette::WindowText))
{
    setWindowTitle(QStringLiteral(" 駅すぱあと"));
    auto* nearGroup = new QGroupBox(QStringLiteral(" 最寄駅情報： "));
    m_nearList = MakeRouteList({QStringLiteral("駅名"), QStringLiteral("カナ"), QStringLiteral("距離（ｍ）"),
                           QStringLiteral("方角")},
                          {130, 120, 70, 50});
    m_lineList = MakeRouteList({}, {180});
    auto* nearPick = new QPushButton(QStringLiteral("駅選択"));
    m_mapButton = new QPushButton(QStringLiteral("地図"));
    auto* nearGrid = new QGridLayout(nearGroup);
    nearGrid->addWidget(new QLabel(QStringLiteral("最寄駅：")), 0, 0);
    nearGrid->addWidget(new QLabel(QStringLiteral("路線：")), 0, 1);
    nearGrid->addWidget(m_nearList, 1, 0);
    nearGrid->addWidget(m_lineList, 1, 1);
    auto* nearButtons = new QHBoxLayout;
    nearButtons->addWidget(nearPick);
    nearButtons->addWidget(m_mapButton);
    nearButtons->addStretch();
    nearGrid->addLayout(nearButtons, 2, 0, 1, 2);

    auto* startGroup = new QGroupBox(QStringLiteral(" 出発駅情報： "));
    m_startList = MakeRouteList({QStringLiteral("駅名"), QStringLiteral("カナ")}, {130, 120});
    m_startList->setMaximumHeight(60);
    auto* startPick = new QPushButton(QStringLiteral("駅選択"));
    auto* startRow = new QHBoxLayout(startGroup);
    startRow->addWidget(m_startList);
    startRow->addWidget(startPick, 0, Qt::AlignTop);

    m_conditionButton = new QPushButton(QStringLiteral("探索条件設定"));
    m_startButton = new QPushButton(QStringLiteral("起動"));
    m_cancelButton = new QPushButton(QStringLiteral("キャンセル"));
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_conditionButton);
    buttons->addStretch();
    buttons->addWidget(m_startButton);
    buttons->addWidget(m_cancelButton);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(nearGroup);
    layout->addWidget(startGroup);
    layout->addLayout(buttons);

    connect(m_nearList, &QTreeWidget::currentItemChanged, this, [this] { fillLines(); });
    connect(nearPick, &QPushButton::clicked, this, [this] { pickStation(true); });
    connect(startPick, &QPushButton::clicked, this, [this] { pickStation(false); });
    connect(m_conditionButton, &QPushButton::clicked, this, &TExpertMain::editConditions);
    connect(m_startButton, &QPushButton::clicked, this, &TExpertMain::Launch);
    connect(m_cancelButton, &QPushButton::clicked, this, &QDialog::reject);
    connect(m_mapButton, &QPushButton::clicked, this, &TExpertMain::showMap);
    for (QWidget* w : {static_cast<QWidget*>(m_nearList), static_cast<QWidget*>(m_lineList),
                       static_cast<QWidget*>(m_startList)})
        w->installEventFilter(this);
    m_startPickButton = startPick;
    updateStartButton();
}

TExpertMain::~TExpertMain() = default;

void TExpertMain::SetFolders(const QString& libraryFolder, const QString& dicFolder)
{
    m_libraryFolder = libraryFolder;
    m_dicFolder = dicFolder;
}

void TExpertMain::SetPosition(uint32_t latitude, uint32_t longitude)
{
    m_latitude = latitude;
    m_longitude = longitude;
}

void TExpertMain::SetColors(const QColor& highlight, const QColor& normal)
{
    m_highlight = highlight;
    m_normal = normal;
}

void TExpertMain::Prepare()
{
    if (m_prepared)
        return;
    m_prepared = true;
    if (m_library.Load(m_libraryFolder) != TStationLibrary::Loaded)
        QApplication::restoreOverrideCursor();
    if (m_library.IsLoaded() && m_latitude != 0 && m_longitude != 0) {
        const int code = m_library.SearchFromPoint(m_latitude, m_longitude, m_dicFolder, m_near);
        if (code == DlstinfOk) {
            for (int i = 0; i < StationNearestCount && m_near[size_t(i)].Latitude != 0; ++i) {
                const TStationRec& s = m_near[size_t(i)];
                m_nearList->addTopLevelItem(new QTreeWidgetItem(
                    {StationText(s.Name), StationText(s.Kana), QString::asprintf("%-8d", s.Distance),
                     BearingWord(s.Bearing)}));
            }
            if (m_nearList->topLevelItemCount() > 0)
                m_nearList->setCurrentItem(m_nearList->topLevelItem(0));
        } else if (code == DlstinfNotFound) {
            ShowInfo(this, NoStationNear);
        } else {
            TStationLibrary::ShowCallError("StationSearchFromPoint", code);
        }
    }
    m_nearPick = {};
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    m_start = ExpertSettings::LoadStartStation(ini);
    m_conditions = ExpertSettings::LoadConditions(ini, QDateTime::currentDateTime());
    TakeStartStation(m_start);
}

void TExpertMain::showEvent(QShowEvent* event)
{
    Prepare();
    QDialog::showEvent(event);
    if (m_nearList->topLevelItemCount() > 0)
        m_nearList->setFocus();
    else
        m_cancelButton->setFocus();
}

void TExpertMain::fillLines()
{
    QTreeWidgetItem* item = m_nearList->currentItem();
    const int row = item ? m_nearList->indexOfTopLevelItem(item) : -1;
    if (row < 0 || row >= StationSearchBufferCount || !m_library.IsLoaded()) {
        updateStartButton();
        return;
    }
    QStringList lines;
    const int code = m_library.Lines(m_near[size_t(row)].Serial, m_dicFolder, lines);
    if (code == DlstinfOk) {
        m_lineList->clear();
        for (const QString& line : lines)
            m_lineList->addTopLevelItem(new QTreeWidgetItem({line}));
        if (m_lineList->topLevelItemCount() > 0)
            m_lineList->setCurrentItem(m_lineList->topLevelItem(0));
    } else if (code == DlstinfNotFound) {
        ShowInfo(this, NoStationNear);
    } else {
        TStationLibrary::ShowCallError("LineList", code);
    }
    updateStartButton();
}

void TExpertMain::updateStartButton()
{
    m_startButton->setEnabled(m_nearList->topLevelItemCount() > 0 && m_lineList->topLevelItemCount() > 0 &&
                              !StationText(m_start.station.Code).isEmpty());
}

void TExpertMain::TakeStartStation(const TSelectStInfo& info)
{
    m_start = info;
    m_start.station.Distance = 0;
    m_start.station.Bearing = 0;
    const QString name = StationText(m_start.station.Name);
    if (!name.isEmpty()) {
        m_startList->clear();
        m_startList->addTopLevelItem(new QTreeWidgetItem({name, StationText(m_start.station.Kana)}));
        m_startList->setCurrentItem(m_startList->topLevelItem(0));
    }
    updateStartButton();
}

void TExpertMain::TakeNearPick(const TSelectStInfo& info)
{
    m_nearPick = info;
    int rows = m_nearList->topLevelItemCount();
    // One picked row at most, always the last.
    if (rows > 0 && m_near[size_t(rows - 1)].Bearing == PickedBearing) {
        delete m_nearList->takeTopLevelItem(rows - 1);
        m_near[size_t(rows - 1)] = {};
        --rows;
    }
    if (rows >= StationSearchBufferCount)
        return;
    m_near[size_t(rows)] = info.station;
    m_near[size_t(rows)].Bearing = PickedBearing;
    auto* item = new QTreeWidgetItem({StationText(info.station.Name), StationText(info.station.Kana), QString(),
                                      QString()});
    m_nearList->addTopLevelItem(item);
    m_nearList->setCurrentItem(item);
    m_nearList->setFocus();
    updateStartButton();
}

void TExpertMain::pickStation(bool near)
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TExpertSelectStation picker(this, m_libraryFolder, m_dicFolder, near ? m_nearPick : m_start, m_highlight,
                                m_normal);
    SetHelpContext(&picker, m_helpContexts[0]);
    CenterForm(&picker, this);
    QApplication::restoreOverrideCursor();
    if (picker.exec() == QDialog::Accepted) {
        if (near)
            TakeNearPick(picker.Info());
        else
            TakeStartStation(picker.Info());
    }
    updateStartButton();
    (near ? m_nearList : m_startList)->setFocus();
}

void TExpertMain::editConditions()
{
    m_conditionButton->setEnabled(false);
    QApplication::setOverrideCursor(Qt::WaitCursor);
    {
        TExpertSearchCondition dialog(this, m_conditions, m_highlight, m_normal);
        SetHelpContext(&dialog, m_helpContexts[1]);
        CenterForm(&dialog, this);
        QApplication::restoreOverrideCursor();
        if (dialog.exec() == QDialog::Accepted)
            m_conditions = dialog.Conditions();
    }
    m_conditionButton->setEnabled(true);
    m_conditionButton->setFocus();
}

bool TExpertMain::Launch()
{
    QTreeWidgetItem* item = m_nearList->currentItem();
    const int row = item ? m_nearList->indexOfTopLevelItem(item) : -1;
    if (row < 0 || row >= StationSearchBufferCount)
        return false;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    const QStringList arguments =
        ExpertSettings::StartArguments(m_conditions, QDate::currentDate(), m_start.station, m_near[size_t(row)]);
    m_launched = false;
    const int code = ShellOpen(ProgramFolder + QStringLiteral("Exp_kick.exe"), arguments.join(u' '), QString(),
                               true);
    QApplication::restoreOverrideCursor();
    if (code != 0) {
        MessageBoxPos(this, QStringLiteral("駅すぱあとが起動できませんでした  "), ProductTitle,
                      MsgSeam::MbIconExclamation);
        return false;
    }
    m_launched = true;
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ExpertSettings::SaveStartStation(ini, m_start);
    ini.UpdateFile();
    return true;
}

void TExpertMain::quitRouteProgram()
{
    if (!m_launched || !m_directory)
        return;
    const QByteArray title = Cp932::fromUnicode(QStringLiteral("駅すぱあと"));
    for (const QString& window : m_directory->TopLevelTitles()) {
        if (Cp932::fromUnicode(window).left(255).startsWith(title)) {
            const QString program = ProgramFolder + QStringLiteral("Exp_kick.exe");
            ShellOpen(program, QStringLiteral("-q"), QStringLiteral("@"), true);
            break;
        }
    }
}

void TExpertMain::done(int result)
{
    quitRouteProgram();
    QDialog::done(result);
}

void TExpertMain::showMap()
{
    QTreeWidgetItem* item = m_nearList->currentItem();
    const int row = item ? m_nearList->indexOfTopLevelItem(item) : -1;
    if (row < 0 || row >= StationSearchBufferCount)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    TMapSearchParams params;
    params.Latitude = quint32(RoundHalfAway(double(int64_t(m_near[size_t(row)].Latitude) * 1000) / 256));
    params.Longitude = quint32(RoundHalfAway(double(int64_t(m_near[size_t(row)].Longitude) * 1000) / 256));
    const QRect bounds = frameGeometry();
    params.Left = bounds.left();
    params.Top = bounds.top();
    params.Right = bounds.right() + 1;
    params.Bottom = bounds.bottom() + 1;
    QApplication::restoreOverrideCursor();
    DispatchMap(MainSettings.Map, this, m_libraryFolder, m_helpContexts[2], params, TMapCaller::Route);
}

bool TExpertMain::eventFilter(QObject* watched, QEvent* event)
{
    if (IsEnterKey(event)) {
        const bool hasCode = !StationText(m_start.station.Code).isEmpty();
        if (watched == m_nearList)
            m_lineList->setFocus();
        else
            (hasCode ? static_cast<QWidget*>(m_startButton) : m_startPickButton)->setFocus();
        return true;
    }
    return QDialog::eventFilter(watched, event);
}
