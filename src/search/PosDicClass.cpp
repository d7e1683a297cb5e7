// Postal-code dictionary wrapper.
#include "search/PosDicClass.h"

#include "core/AppSub.h"
#include "search/Dlmtad.h"

#include <QFile>

#include <cstring>

namespace {

const QString LibraryFile = QStringLiteral("Dlzplst.dll");
// The municipality records carry int16 counts; no answer lists more.
constexpr int MaxListed = 32767;

} // namespace

void BuildDicAdrsResult(TDicAdrsResultRec& r, const AnsiString* town, const AnsiString* city,
                        const AnsiString* office, int kind, bool withCoordinates, const QString& dllFolder,
                        const QString& dicFolder)
{
    std::memset(&r, 0, sizeof r);
    if (const AnsiString* t = town) {
        SetField(r.PostalCode, FormatPostalCode(t[0]));
        SetField(r.TownKana, t[1]);
        SetField(r.TownName, t[2]);
        SetField(r.BlockCode, t[3]);
    }
    if (const AnsiString* c = city) {
        SetField(r.PrefKana, c[0]);
        SetField(r.PrefName, c[1]);
        SetField(r.CityKana, c[2]);
        SetField(r.CityName, c[3]);
        SetField(r.JisCode, c[4]);
    }
    if (const AnsiString* o = office) {
        SetField(r.OfficeKana, o[0]);
        SetField(r.OfficeName, o[1]);
    }
    TMtAdrsFields f;
    if (town && withCoordinates &&
        LookupMtAdrsFields(dllFolder, FieldText(r.JisCode), FieldText(r.BlockCode), dicFolder, f))
        ApplyMtAdrsFields(r, r.TownKana, r.TownName, f, kind == 0);
}

TPosSearch::TPosSearch(const QString& dllFolder, const QString& dicFolder)
    : m_dllFolder(DicFolder(dllFolder)), m_dicFolder(DicFolder(dicFolder))
{
    const QString error = m_library.Open(m_dllFolder, LibraryFile,
                                         {{"DLZPLSTFirst", reinterpret_cast<void**>(&m_first)},
                                          {"DLZPLSTCityList", reinterpret_cast<void**>(&m_cityList)},
                                          {"DLZPLSTTownList", reinterpret_cast<void**>(&m_townList)},
                                          {"DLZPLSTLgTownList", reinterpret_cast<void**>(&m_lgTownList)},
                                          {"DLZPLSTClose", reinterpret_cast<void**>(&m_close)},
                                          {"DLZPLSTPost", reinterpret_cast<void**>(&m_post)}});
    if (!error.isEmpty())
        throw EDlzplstError(error);
}

TPosSearch::~TPosSearch()
{
    CloseSearch();
}

void TPosSearch::CloseSearch()
{
    if (m_handle != 0)
        m_close(m_handle);
    m_handle = 0;
}

int TPosSearch::Search(const AnsiString& postalCode, AnsiString* formatted)
{
    const AnsiString digits = KeepNumberChars(postalCode, KeepDigits);
    if (digits.isEmpty())
        throw EPosSearchError(QStringLiteral("検索郵便番号が未入力です"));
    m_digits = digits;
    CloseSearch();
    qint32 count = 0;
    qint16 code = 0;
    m_handle = m_first(digits.constData(), &count, &code, QFile::encodeName(m_dicFolder).constData());
    if (code == 4 || code == 8)
        return code;
    if (code != 0)
        throw EDlzplstError(m_library.CallError("DLZPLSTFirst", code));
    if (formatted)
        *formatted = FormatPostalCode(digits);
    m_cityIndex = m_kind = -1;
    m_towns.clear();
    m_offices.clear();
    const int n = ClampCount(count, MaxListed);
    m_cities = ZeroedRecords<TPosCityRec>(n);
    if (n == 0)
        return 8;
    const int rc = m_cityList(m_handle, m_cities.data(), 0, n);
    if (rc != 0)
        throw EDlzplstError(m_library.CallError("DLZPLSTCityList", rc));
    return 0;
}

int TPosSearch::ListTowns(int cityIndex, int kind)
{
    if (cityIndex == m_cityIndex && kind == m_kind)
        return 0;
    const TPosCityRec city = RecordAt<EPosSearchError>(m_cities, cityIndex, NoCityResultText);
    m_cityIndex = cityIndex;
    m_kind = kind;
    m_towns.clear();
    m_offices.clear();
    const int n = ClampCount(kind == 0 ? city.TownCount : city.OfficeCount, MaxListed);
    if (n == 0)
        return 8;
    m_towns = ZeroedRecords<TPosTownRec>(n);
    int rc = 0;
    if (kind == 0) {
        rc = m_townList(m_handle, &city, m_towns.data(), 0, n);
    } else {
        m_offices = ZeroedRecords<TLargeOfficeRec>(n);
        rc = m_lgTownList(m_handle, &city, m_towns.data(), m_offices.data(), 0, n);
    }
    if (rc == 0 || rc == 8)
        return rc;
    throw EDlzplstError(m_library.CallError(kind == 0 ? "DLZPLSTTownList" : "DLZPLSTLgTownList", rc));
}

TPosCityRec TPosSearch::GetCity(int index) const
{
    return RecordAt<EPosSearchError>(m_cities, index, NoCityResultText);
}

TPosTownRec TPosSearch::GetTown(int index) const
{
    return RecordAt<EPosSearchError>(m_towns, index, NoTownResultText);
}

TLargeOfficeRec TPosSearch::GetOffice(int index) const
{
    return RecordAt<EPosSearchError>(m_offices, index, NoOfficeResultText);
}

const TDicAdrsResultRec& TPosSearch::GetResult(int townIndex, bool withCoordinates)
{
    const TPosTownRec town = townIndex >= 0 ? GetTown(townIndex) : TPosTownRec{};
    const TLargeOfficeRec office = m_kind == 1 && townIndex >= 0 ? GetOffice(townIndex) : TLargeOfficeRec{};
    AnsiString city[5];
    const bool hasCity = m_cityIndex >= 0 && m_cityIndex < m_cities.size();
    if (hasCity) {
        const TPosCityRec& c = m_cities[m_cityIndex];
        SplitPrefectureKana(FieldText(c.Reading), city[0], city[2]);
        SplitPrefecture(FieldText(c.Name), city[1], city[3]);
        city[4] = FieldText(c.JisCode);
    }
    BuildDicAdrsResult(m_result, townIndex >= 0 ? &town : nullptr, hasCity ? city : nullptr,
                       m_kind == 1 && townIndex >= 0 ? &office : nullptr, m_kind, withCoordinates,
                       m_dllFolder, m_dicFolder);
    return m_result;
}
