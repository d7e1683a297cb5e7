#include "links/AtlasMateView.h"

#include "core/MsgBoxPos.h"
#include "core/ShellSub.h"

#include <QFile>

#include <cstring>

namespace {

const QString Atm95 = QStringLiteral("Atm95.dll");
const QString DTMap32 = QStringLiteral("DTMap32.dll");
const QString MarkDll = QStringLiteral("MarkDll.dll");

template <typename F> void** slot(F& f)
{
    return reinterpret_cast<void**>(&f);
}

bool isEmpty(const TAtlasMeshPos& m)
{
    return m.mesh == 0 && m.sub1 == 0 && m.sub2 == 0 && m.value1 == 0 && m.value2 == 0;
}

// A field of hexadecimal or decimal digits; 0 when it holds anything else.
qint64 fieldNumber(const char* buffer, int from, int length, int base)
{
    bool ok = false;
    const qint64 v = QByteArray(buffer + from, length).trimmed().toLongLong(&ok, base);
    return ok ? v : 0;
}

} // namespace

TAtlasMateView::TAtlasMateView(QWidget* owner) : m_owner(owner) {}

int TAtlasMateView::SetSearchParams(const TMapSearchParams& params)
{
    TMapSearchParams p = params;
    const int decision = DecideAdaptorSearch(msAtlasMate, 0, p);
    m_searchKind = p.SearchKind;
    m_latitude = m_latitudeBack = p.Latitude;
    m_longitude = m_longitudeBack = p.Longitude;
    m_tel = p.Tel;
    return decision;
}

std::optional<std::pair<quint32, quint32>> TAtlasMateView::Position() const
{
    return std::make_pair(m_latitudeBack, m_longitudeBack);
}

void TAtlasMateView::Show()
{
    RunMap();
    if (m_owner)
        ForceForegroundWindow(m_owner->window());
}

int TAtlasMateView::LoadAtm95()
{
    return m_atm95.Load(m_owner, m_programFolder, Atm95,
                        {{"AtlasCreateWindow2", slot(m_createWindow)},
                         {"AtlasMeshToBearings", slot(m_meshToBearings)},
                         {"AtlasBearingsToMesh", slot(m_bearingsToMesh)}});
}

int TAtlasMateView::LoadDTMap32()
{
    return m_dtMap32.Load(m_owner, m_programFolder, DTMap32, {{"DTMapAdrs", slot(m_dtMapAdrs)}});
}

int TAtlasMateView::LoadMarkDll()
{
    return m_markDll.Load(m_owner, m_programFolder, MarkDll, {{"AtlasSaveMarkFile", slot(m_saveMarkFile)}});
}

int TAtlasMateView::MeshFromCoordinates(TAtlasMeshPos& mesh)
{
    std::memset(&mesh, 0, sizeof mesh);
    if (!m_bearingsToMesh)
        return -1;
    const TDmsWords lat = MillisecondsToDms(m_latitude);
    const TDmsWords lon = MillisecondsToDms(m_longitude);
    const TAtlasBearings b{lon.degrees, lon.minutes, lon.seconds, lon.milliseconds,
                           lat.degrees, lat.minutes, lat.seconds, lat.milliseconds};
    m_bearingsToMesh(&mesh, &b, 1);
    return isEmpty(mesh) ? -1 : 0;
}

TAtlasMeshPos TAtlasMateView::MeshFromAddressBuffer(const char* buffer)
{
    TAtlasMeshPos m{};
    m.mesh = quint16(fieldNumber(buffer, 0, 4, 16));
    m.sub1 = quint8(fieldNumber(buffer, 4, 2, 16));
    m.sub2 = quint8(fieldNumber(buffer, 6, 2, 16));
    m.value1 = qint32(fieldNumber(buffer, 10, 8, 10));
    m.value2 = qint32(fieldNumber(buffer, 18, 8, 10));
    return m;
}

int TAtlasMateView::MeshFromPhone(TAtlasMeshPos& mesh)
{
    std::memset(&mesh, 0, sizeof mesh);
    if (!m_dtMapAdrs)
        return -1;
    char buffer[AtlasAddressBufferSize] = {};
    const QByteArray tel = m_tel.toLatin1();
    const QByteArray work = QFile::encodeName(MapPresence.atlasMateWorkFolder);
    const int rc = m_dtMapAdrs(tel.constData(), buffer, work.constData());
    const auto info = [this](const QString& text, unsigned icon) {
        MessageBoxPos(m_owner, text, ProductTitle, MsgSeam::MbOk | icon);
    };
    switch (rc) {
    case DTMapNearby:
        info(QStringLiteral("電話番号で該当する座標が求められませんでした\r\n付近の地図を表示します"),
             MsgSeam::MbIconInformation);
        [[fallthrough]];
    case DTMapFound:
        mesh = MeshFromAddressBuffer(buffer);
        break;
    case DTMapWrongDisc:
        info(QStringLiteral("CD-ROMが違います"), MsgSeam::MbIconInformation);
        break;
    case DTMapBadNumber:
        info(QStringLiteral("電話番号に誤りがあります"), MsgSeam::MbIconInformation);
        break;
    case DTMapNoData:
        info(QStringLiteral("該当するデータが見つかりません"), MsgSeam::MbIconExclamation);
        break;
    default:
        info(QStringLiteral("DTMapAdrs (DTMap32.dll) Call Error\r\nRC = ") + QString::number(rc),
             MsgSeam::MbIconStop);
        break;
    }
    return rc;
}

void TAtlasMateView::RunMap()
{
    if (LoadAtm95() != mlOk || LoadDTMap32() != mlOk)
        return;
    TAtlasMeshPos mesh{};
    const int rc = m_searchKind == 1 ? MeshFromPhone(mesh) : MeshFromCoordinates(mesh);
    if (rc != 0 && rc != 1)
        return;
    TAtlasWindowRec rec{mesh, 10, 0};
    if (m_createWindow(m_owner.data(), 400, &rec, 1) != 0) {
        MessageBoxPos(m_owner,
                      QStringLiteral("AtlasMateがインストールされていないか\r\nまたは、AtlasMateのCD-ROMが入って"
                                     "いません"),
                      ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
        return;
    }
    TAtlasBearings b{};
    m_meshToBearings(&rec.pos, &b, 1);
    if (b.lonDegrees > 0) {
        m_latitudeBack = DmsToMilliseconds({b.latDegrees, b.latMinutes, b.latSeconds, b.latMilliseconds});
        m_longitudeBack = DmsToMilliseconds({b.lonDegrees, b.lonMinutes, b.lonSeconds, b.lonMilliseconds});
    }
}

TAtlasMarkRec TAtlasMateView::MarkRecord(const TAtlasMeshPos& mesh, const AnsiString& name)
{
    TAtlasMarkRec rec;
    std::memset(&rec, 0, sizeof rec);
    rec.head1 = 1;
    rec.pos = mesh;
    // Longer names are cut at a character boundary so the terminating zero always fits.
    const AnsiString cut = Cp932::cutAtBoundary(name, AtlasMarkNameSize - 1);
    std::memcpy(rec.name, cut.constData(), size_t(cut.size()));
    rec.tail2 = 1;
    return rec;
}

int TAtlasMateView::LoadMarkLibraries()
{
    const int rc = LoadAtm95();
    return rc != mlOk ? rc : LoadMarkDll();
}

bool TAtlasMateView::SaveMark(const QString& file, quint32 latitude, quint32 longitude, const AnsiString& name)
{
    if (latitude == 0 || longitude == 0)
        return false;
    if (LoadMarkLibraries() != mlOk)
        return false;
    m_latitude = latitude;
    m_longitude = longitude;
    TAtlasMeshPos mesh{};
    if (MeshFromCoordinates(mesh) != 0)
        return false;
    const TAtlasMarkRec rec = MarkRecord(mesh, name);
    const QByteArray path = QFile::encodeName(file);
    return m_saveMarkFile(path.constData(), 1, &rec, 1, 2) == 0;
}
