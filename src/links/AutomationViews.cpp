#include "links/AutomationViews.h"

#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"

#include <QCoreApplication>
#include <QEventLoop>
#include <QTimer>

int TAutomationView::StartWait = 10000;

namespace {

template <typename F> void** slot(F& f)
{
    return reinterpret_cast<void**>(&f);
}

// Runs a local event loop in which tick runs every interval milliseconds until it answers false.
void PollWhile(const std::function<bool()>& tick, int interval)
{
    QEventLoop loop;
    QTimer timer;
    timer.setInterval(interval);
    QObject::connect(&timer, &QTimer::timeout, &loop, [&] {
        if (!tick()) {
            timer.stop();
            loop.quit();
        }
    });
    timer.start();
    loop.exec();
}

const QString ProAtlasNotShown = QStringLiteral(
    "プロアトラスＷ または プロアトラスSV が表示できませんでした\r\nプロアトラスＷ または プロアトラスSV "
    "のインストール状況を確認してください");
const QString MappleNotShown = QStringLiteral(
    "スーパーマップル・デジタルが表示できませんでした\r\nスーパーマップル・デジタルのインストール状況を確認して"
    "ください");

} // namespace

QString ProAtlasWProgId(int version)
{
    static const char* const ids[] = {"ProAtlasW.Map", "ProAtlasW2.Map", "ProAtlasW3.Map", "ProAtlasSV.Map",
                                      "ProAtlasSV2.Map"};
    return version >= 1 && version <= 5 ? QLatin1String(ids[version - 1]) : QString();
}

quint32 ProAtlasTextToMs(const QString& text)
{
    const qsizetype first = text.indexOf(u'/');
    const qsizetype second = first < 0 ? -1 : text.indexOf(u'/', first + 1);
    if (second < 0)
        return 0;
    const quint64 value = text.left(first).toULongLong() * 3600000 +
                          text.mid(first + 1, second - first - 1).toULongLong() * 60000 +
                          text.mid(second + 1).toULongLong();
    return quint32(value);
}

bool CooperationAvailable(const QString& classId)
{
    const auto object = CreateAutomationObject(classId);
    if (!object)
        return false;
    try {
        const QVariantList answer = object->invoke(MapFanMember::Available).toList();
        return answer.size() == 2 && answer[0].toInt() == 0 && answer[1].toInt() != 0;
    } catch (const EAutomationError&) {
        return false;
    }
}

// ---- the base ----

void TAutomationView::Show()
{
    // The calling window stays painted but takes no input while the program runs.
    QPointer<QWidget> caller = m_owner ? m_owner->window() : nullptr;
    const bool wasEnabled = caller && caller->isEnabled();
    if (caller)
        caller->setEnabled(false);
    Run();
    if (caller && wasEnabled)
        caller->setEnabled(true);
}

void TAutomationView::Inform(const QString& text) const
{
    MessageBoxPos(m_owner, text, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
}

// ---- program 2 ----

TProAtlasWView::TProAtlasWView(QWidget* owner) : TAutomationView(owner) {}

TProAtlasWView::~TProAtlasWView()
{
    EndHook();
}

int TProAtlasWView::SetSearchParams(const TMapSearchParams& params)
{
    m_version = MapPresence.proAtlasWVersion;
    TMapSearchParams p = params;
    const int decision = DecideAdaptorSearch(msProAtlasW, m_version, p);
    m_searchKind = p.SearchKind;
    m_latitudeText = m_markLatitude = MillisecondsToDmText(p.Latitude);
    m_longitudeText = m_markLongitude = MillisecondsToDmText(p.Longitude);
    m_polledLatitude = p.Latitude;
    m_polledLongitude = p.Longitude;
    m_address = p.Address;
    m_exitHook = m_version >= 2 && p.ExitHook != 0;
    return decision;
}

std::pair<quint32, quint32> TProAtlasWView::GetLocation() const
{
    if (m_version <= 2)
        return {ProAtlasTextToMs(m_markLatitude), ProAtlasTextToMs(m_markLongitude)};
    return {m_polledLatitude, m_polledLongitude};
}

void TProAtlasWView::EndHook()
{
    if (m_hookResult != 0 && m_endHook) {
        m_endHook();
        m_hookResult = 0;
    }
    m_hookLibrary.Free();
    m_beginHook = nullptr;
    m_endHook = nullptr;
}

void TProAtlasWView::LayerStep()
{
    if (m_version == 1) {
        for (int i = m_object->invoke(QStringLiteral("NumLayer")).toInt() - 1; i >= 0; --i) {
            const QVariant name = m_object->invoke(QStringLiteral("LayerName"), {i});
            if (m_object->invoke(QStringLiteral("ChangeLayer"), {name}).toBool())
                break;
        }
        return;
    }
    m_object->invoke(QStringLiteral("ChangeLayer"), {m_object->invoke(QStringLiteral("LayerName"), {6})});
}

void TProAtlasWView::Run()
{
    if (m_exitHook &&
        m_hookLibrary.Load(m_owner, m_programFolder, QStringLiteral("PAExtMsg.dll"),
                           {{"BeginExitMsgHook", slot(m_beginHook)}, {"EndExitMsgHook", slot(m_endHook)}}) ==
            mlOk)
        m_hookResult = m_beginHook();
    const auto finish = qScopeGuard([this] {
        if (m_exitHook)
            EndHook();
    });

    m_object = CreateAutomationObject(ProAtlasWProgId(m_version));
    if (!m_object) {
        Inform(QStringLiteral("プロアトラスＷ または プロアトラスSV のクラスが生成できませんでした\r\n一度 "
                              "プロアトラスＷ または プロアトラスSV を単体起動させてください"));
        return;
    }
    // The program raises while it starts; it gets a while to answer.
    const bool started = WaitWhilePumping(
        [this] {
            try {
                m_hwndMain = m_object->invoke(QStringLiteral("hwndMain")).toLongLong();
                return true;
            } catch (const EAutomationError&) {
                return false;
            }
        },
        10, StartWait);
    if (!started) {
        Inform(ProAtlasNotShown);
        return;
    }
    OutsideWindows().BringToFront(m_hwndMain);

    try {
        const bool hasCoordinates = !m_latitudeText.isEmpty() || !m_longitudeText.isEmpty();
        const auto moveTo = [&] {
            m_object->invoke(QStringLiteral("MoveTo"), {m_latitudeText, m_longitudeText});
            LayerStep();
        };
        if (m_searchKind == 0) {
            if (hasCoordinates)
                moveTo();
            else if (!m_address.isEmpty())
                m_object->invoke(QStringLiteral("AddressSearch"), {m_address});
        } else {
            const bool found =
                !m_address.isEmpty() && m_object->invoke(QStringLiteral("AddressSearch"), {m_address}).toBool();
            if (!found && hasCoordinates)
                moveTo();
        }
        m_hwndMain = m_object->invoke(QStringLiteral("hwndMain")).toLongLong();
        OutsideWindows().BringToFront(m_hwndMain);
        m_object->put(QStringLiteral("EnableAddedText"), false);
        m_object->put(QStringLiteral("EnableMark"), true);
        m_object->invoke(QStringLiteral("SetEventWindow"),
                         {QVariant::fromValue(static_cast<QObject*>(this)), MsgProAtlasMark});
    } catch (const EAutomationError&) {
        Inform(ProAtlasNotShown);
        return;
    }

    m_polling = true;
    PollWhile(
        [this] {
            PollMap();
            return m_polling;
        },
        100);
}

void TProAtlasWView::PollMap()
{
    if (!OutsideWindows().Exists(m_hwndMain)) {
        m_polling = false;
        return;
    }
    if (m_version < 3)
        return;
    try {
        const quint32 lat = m_object->invoke(QStringLiteral("LatitudeOfMap")).toUInt();
        const quint32 lon = m_object->invoke(QStringLiteral("LongitudeOfMap")).toUInt();
        m_polledLatitude = lat;
        m_polledLongitude = lon;
    } catch (const EAutomationError&) {
        m_polling = false;
    }
}

bool TProAtlasWView::event(QEvent* e)
{
    if (e->type() == TWindowMessageEvent::eventType() &&
        static_cast<TWindowMessageEvent*>(e)->message() == MsgProAtlasMark) {
        if (m_object) {
            try {
                const QString lat = m_object->invoke(QStringLiteral("MarkLatitude")).toString();
                const QString lon = m_object->invoke(QStringLiteral("MarkLongitude")).toString();
                m_markLatitude = lat;
                m_markLongitude = lon;
            } catch (const EAutomationError&) {
            }
        }
        return true;
    }
    return QObject::event(e);
}

// ---- programs 6 and 7 ----

TMapFanNetView::TMapFanNetView(QWidget* owner, TMapSoft soft)
    : TAutomationView(owner),
      m_classId(soft == msMapFanPlanner ? MapFanPlannerClassId : MapFanNetClassId),
      m_name(soft == msMapFanPlanner ? QStringLiteral("MapFan PLANNER") : QStringLiteral("MapFan.net"))
{
}

int TMapFanNetView::SetSearchParams(const TMapSearchParams& params)
{
    TMapSearchParams p = params;
    const int decision = DecideAdaptorSearch(msMapFanNet, 0, p);
    m_searchKind = p.SearchKind;
    m_latitude = p.Latitude;
    m_longitude = p.Longitude;
    m_address = p.Address;
    m_latitude256 = MillisecondsTo256ths(p.Latitude);
    m_longitude256 = MillisecondsTo256ths(p.Longitude);
    return decision;
}

void TMapFanNetView::Run()
{
    const auto object = CreateAutomationObject(m_classId);
    if (!object) {
        Inform(m_name + QStringLiteral(" の連携オブジェクトが生成できませんでした\r\n一度 ") + m_name +
               QStringLiteral(" を単体起動させてください"));
        return;
    }
    const bool hasCoordinates = m_latitude != 0 && m_longitude != 0;
    const auto showMap = [&] {
        return object->invoke(MapFanMember::ShowMap, {m_longitude256, m_latitude256, 1562}).toInt() == 0;
    };
    const auto search = [&] { return object->invoke(MapFanMember::SearchAddress, {m_address}).toInt() == 0; };
    try {
        if (m_searchKind == 1) {
            if ((m_address.isEmpty() || !search()) && hasCoordinates)
                showMap();
        } else if ((!hasCoordinates || !showMap()) && !m_address.isEmpty()) {
            search();
        }
    } catch (const EAutomationError&) {
        Inform(m_name + QStringLiteral(" が表示できませんでした\r\n") + m_name +
               QStringLiteral(" のインストール状況を確認してください"));
    }
}

// ---- program 8 ----

TMappleView::TMappleView(QWidget* owner) : TAutomationView(owner) {}

int TMappleView::SetSearchParams(const TMapSearchParams& params)
{
    TMapSearchParams p = params;
    const int decision = DecideAdaptorSearch(msMapple, MapPresence.mappleVersion, p);
    m_searchKind = p.SearchKind;
    m_latitude = m_latitudeBack = p.Latitude;
    m_longitude = m_longitudeBack = p.Longitude;
    m_address = p.Address;
    m_mapClass = p.MapClass;
    m_zoom = p.Zoom;
    m_callerRect = QRect(QPoint(p.Left, p.Top), QPoint(p.Right - 1, p.Bottom - 1));
    return decision;
}

void TMappleView::Run()
{
    if (MapPresence.mappleVersion < 2)
        RunDocument();
    else
        RunKick();
}

QStringList TMappleView::KickArguments() const
{
    const bool hasCoordinates = m_latitude != 0 && m_longitude != 0;
    const QStringList byAddress = {QStringLiteral("/ADDRESS=") + m_address};
    const QStringList byCoordinates = {QStringLiteral("/LAT=") + QString::number(m_latitude),
                                       QStringLiteral("/LON=") + QString::number(m_longitude)};
    if (m_searchKind == 1) {
        if (!m_address.isEmpty())
            return byAddress;
        return hasCoordinates ? byCoordinates : QStringList();
    }
    if (hasCoordinates)
        return byCoordinates;
    return m_address.isEmpty() ? QStringList() : byAddress;
}

void TMappleView::RunKick()
{
    const QString folder = m_programFolder.isEmpty() ? ProgramFolder : m_programFolder;
    // The address goes as one argument, whatever blanks or quotes it holds.
    if (RunProgram(folder + QStringLiteral("MappleKick.exe"), KickArguments(), folder, false, 10) != 0)
        Inform(MappleNotShown);
}

void TMappleView::RunDocument()
{
    m_object = CreateAutomationObject(QStringLiteral("Mapple.Document"));
    if (!m_object) {
        Inform(QStringLiteral("スーパーマップル・デジタルのクラスが生成できませんでした\r\n一度スーパーマップル・"
                              "デジタルを単体起動させてください"));
        return;
    }
    try {
        m_object->put(QStringLiteral("Visible"), 1);
        if (const qint64 window = OutsideWindows().FindByTitle(QStringLiteral("Super Mapple Digital")))
            OutsideWindows().BringToFront(window);
        const bool hasCoordinates = m_latitude != 0 && m_longitude != 0;
        const auto moveAddress = [&] {
            return m_object->invoke(QStringLiteral("MoveAddress"), {m_address}).toInt() > 0;
        };
        const auto move = [&] { return m_object->invoke(QStringLiteral("Move"), {m_longitude, m_latitude}).toBool(); };
        if (m_searchKind == 1) {
            if ((m_address.isEmpty() || !moveAddress()) && hasCoordinates)
                move();
        } else if ((!hasCoordinates || !move()) && !m_address.isEmpty()) {
            moveAddress();
        }
        m_object->invoke(QStringLiteral("SetMapClass"), {m_mapClass});
        m_object->invoke(QStringLiteral("SetZoom"), {m_zoom});
    } catch (const EAutomationError&) {
        Inform(MappleNotShown);
        return;
    }
    // The position follows the program until its document is gone.
    PollWhile(
        [this] {
            try {
                const quint32 lat = m_object->invoke(QStringLiteral("GetLat")).toUInt();
                const quint32 lon = m_object->invoke(QStringLiteral("GetLon")).toUInt();
                m_latitudeBack = lat;
                m_longitudeBack = lon;
                return true;
            } catch (const EAutomationError&) {
                return false;
            }
        },
        100);
}
