// Calls of the station library.
#include "links/StationLibrary.h"

#include "platform/Cp932.h"
#include "platform/MessageSeam.h"

#include <QFile>

namespace {

std::vector<const char*> EntryNames(TStationLibrary::Use use)
{
    if (use == TStationLibrary::Use::Picker)
        return {"StationListEx"};
    return {"StationSearchFromPoint", "LineList"};
}

} // namespace

TStationLibrary::TStationLibrary(Use use)
    : m_library(QStringLiteral("Dlstinf.dll"), EntryNames(use), TSharedLibrary::Boxes::FileCaption)
{
}

TStationLibrary::~TStationLibrary()
{
    if (m_loaded)
        m_library.Free();
}

int TStationLibrary::Load(const QString& folder)
{
    if (m_loaded)
        return Loaded;
    const int code = m_library.Load(folder);
    if (code == TSharedLibrary::Loaded) {
        m_loaded = true;
        return Loaded;
    }
    if (code == TSharedLibrary::LoadFailed) {
        m_library.Free();
        return LoadFailed;
    }
    return EntryPointMissing;
}

int TStationLibrary::SearchFromPoint(uint32_t latitude, uint32_t longitude, const QString& dicFolder,
                                     std::array<TStationRec, StationSearchBufferCount>& out)
{
    out = {};
    QReadLocker lock(&m_library.Lock());
    const auto call = reinterpret_cast<StationSearchFromPointProc>(m_library.Entry(0));
    return call(latitude, longitude, out.data(), QFile::encodeName(dicFolder).constData());
}

int TStationLibrary::ListByKana(const QByteArray& kana, const QString& dicFolder, std::vector<TStationRec>& out)
{
    QReadLocker lock(&m_library.Lock());
    const auto call = reinterpret_cast<StationListExProc>(m_library.Entry(0));
    const QByteArray folder = QFile::encodeName(dicFolder);
    int32_t count = 0;
    int code = call(kana.constData(), &count, nullptr, folder.constData());
    if (code != DlstinfOk || count <= 0)
        return code;
    std::vector<TStationRec> rows{size_t(count), TStationRec{}};
    code = call(kana.constData(), &count, rows.data(), folder.constData());
    if (code == DlstinfOk)
        out.insert(out.end(), rows.begin(), rows.begin() + std::min<ptrdiff_t>(count, ptrdiff_t(rows.size())));
    return code;
}

int TStationLibrary::Lines(int32_t serial, const QString& dicFolder, QStringList& out)
{
    QReadLocker lock(&m_library.Lock());
    const auto call = reinterpret_cast<LineListProc>(m_library.Entry(1));
    const QByteArray folder = QFile::encodeName(dicFolder);
    int32_t count = 0;
    int code = call(serial, &count, nullptr, folder.constData());
    if (code != DlstinfOk || count <= 0)
        return code;
    QByteArray names(qsizetype(count) * StationLineNameSize, '\0');
    code = call(serial, &count, names.data(), folder.constData());
    if (code != DlstinfOk)
        return code;
    out.clear();
    for (int32_t i = 0; i < count && qsizetype(i + 1) * StationLineNameSize <= names.size(); ++i)
        out << StationText(names.constData() + qsizetype(i) * StationLineNameSize, StationLineNameSize);
    return code;
}

void TStationLibrary::ShowCallError(const char* function, int code)
{
    MsgSeam::Request request;
    request.source = MsgSeam::Source::Application;
    request.text = QLatin1String(function) + QStringLiteral(" (Dlstinf.dll) Call Error\r\nRC = ") +
                   QString::number(code);
    request.caption = QStringLiteral("Tovarel");
    request.flags = MsgSeam::MbIconStop;
    MsgSeam::Show(request);
}

QString StationText(const char* field, int size)
{
    const QByteArray bytes(field, qstrnlen(field, uint(size)));
    return Cp932::toUnicode(bytes).trimmed();
}
