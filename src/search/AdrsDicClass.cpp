// Address dictionary wrapper.
#include "search/AdrsDicClass.h"

#include "core/FontSub.h"
#include "core/AppSub.h"

#include <QFile>

#include <cstring>

namespace {

const QString LibraryFile = QStringLiteral("Dlzs.dll");
// More municipalities or towns than any answer holds; a count past it is the library's fault.
constexpr int MaxListed = 100000;

} // namespace

TAdrsSearch::TAdrsSearch(const QString& dllFolder, const QString& dicFolder)
    : m_dllFolder(DicFolder(dllFolder)), m_dicFolder(DicFolder(dicFolder))
{
    const QString error = m_library.Open(m_dllFolder, LibraryFile,
                                         {{"DLZsJisCount", reinterpret_cast<void**>(&m_jisCount)},
                                          {"DLZsJisList", reinterpret_cast<void**>(&m_jisList)},
                                          {"DLZsTownCount", reinterpret_cast<void**>(&m_townCount)},
                                          {"DLZsTownList", reinterpret_cast<void**>(&m_townList)},
                                          {"DLZsLargeCount", reinterpret_cast<void**>(&m_largeCount)},
                                          {"DLZsLargeList", reinterpret_cast<void**>(&m_largeList)}});
    if (!error.isEmpty())
        throw EDLZsError(error);
}

int TAdrsSearch::Search(const AnsiString& address)
{
    const AnsiString text = ToFullWidth(TrimAnsiText(address));
    if (text.isEmpty())
        throw EAdrsSearchError(QStringLiteral("検索住所が未入力です"));
    m_text = Cp932::cutAtBoundary(text, AdrsSearchTextMax);
    const QByteArray folder = QFile::encodeName(m_dicFolder);
    qint32 count = 0;
    int rc = m_jisCount(m_text.constData(), &count, folder.constData());
    if (rc == 4 || rc == 8)
        return rc;
    if (rc != 0)
        throw EDLZsError(m_library.CallError("DLZsJisCount", rc));
    m_cityIndex = m_kind = -1;
    m_towns.clear();
    m_offices.clear();
    const int n = ClampCount(count, MaxListed);
    m_cities = ZeroedRecords<TAdrsCityRec>(n);
    if (n == 0)
        return 8;
    rc = m_jisList(m_text.constData(), m_cities.data(), n, folder.constData());
    if (rc != 0)
        throw EDLZsError(m_library.CallError("DLZsJisList", rc));
    return 0;
}

int TAdrsSearch::ListTowns(int cityIndex, int kind)
{
    if (cityIndex == m_cityIndex && kind == m_kind)
        return 0;
    const TAdrsCityRec city = RecordAt<EAdrsSearchError>(m_cities, cityIndex, NoCityResultText);
    m_cityIndex = cityIndex;
    m_kind = kind;
    m_towns.clear();
    m_offices.clear();
    const QByteArray folder = QFile::encodeName(m_dicFolder);
    const char* countName = kind == 0 ? "DLZsTownCount" : "DLZsLargeCount";
    qint32 count = 0;
    int rc = (kind == 0 ? m_townCount : m_largeCount)(m_text.constData(), &city, &count, folder.constData());
    if (rc == 4 || rc == 8)
        return rc;
    if (rc != 0)
        throw EDLZsError(m_library.CallError(countName, rc));
    const int n = ClampCount(count, MaxListed);
    if (n == 0)
        return 8;
    m_towns = ZeroedRecords<TAdrsTownRec>(n);
    if (kind == 0) {
        rc = m_townList(m_text.constData(), &city, m_towns.data(), n, folder.constData());
    } else {
        m_offices = ZeroedRecords<TLargeOfficeRec>(n);
        rc = m_largeList(m_text.constData(), &city, m_towns.data(), m_offices.data(), n, folder.constData());
    }
    if (rc == 0)
        return 0;
    throw EDLZsError(m_library.CallError(kind == 0 ? "DLZsTownList" : "DLZsLargeList", rc));
}

TAdrsCityRec TAdrsSearch::GetCity(int index) const
{
    return RecordAt<EAdrsSearchError>(m_cities, index, NoCityResultText);
}

TAdrsTownRec TAdrsSearch::GetTown(int index) const
{
    return RecordAt<EAdrsSearchError>(m_towns, index, NoTownResultText);
}

TLargeOfficeRec TAdrsSearch::GetOffice(int index) const
{
    return RecordAt<EAdrsSearchError>(m_offices, index, NoOfficeResultText);
}

const TDicAdrsResultRec& TAdrsSearch::GetResult(int townIndex, bool withCoordinates)
{
    const TAdrsTownRec town = townIndex >= 0 ? GetTown(townIndex) : TAdrsTownRec{};
    const TLargeOfficeRec office = m_kind == 1 && townIndex >= 0 ? GetOffice(townIndex) : TLargeOfficeRec{};
    AnsiString city[5];
    const bool hasCity = m_cityIndex >= 0 && m_cityIndex < m_cities.size();
    if (hasCity) {
        const TAdrsCityRec& c = m_cities[m_cityIndex];
        city[0] = FieldText(c.PrefReading);
        city[1] = FieldText(c.PrefName);
        city[2] = FieldText(c.CityReading);
        city[3] = FieldText(c.CityName);
        city[4] = FieldText(c.JisCode);
    }
    BuildDicAdrsResult(m_result, townIndex >= 0 ? &town : nullptr, hasCity ? city : nullptr,
                       m_kind == 1 && townIndex >= 0 ? &office : nullptr, m_kind, withCoordinates,
                       m_dllFolder, m_dicFolder);
    return m_result;
}
