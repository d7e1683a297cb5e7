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

void SetDicAdrsTown(TDicAdrsResultRec& r, const AnsiString& postal, const AnsiString& kana,
                    const AnsiString& name, const AnsiString& block)
{
    SetField(r.PostalCode, FormatPostalCode(postal));
    SetField(r.TownKana, kana);
    SetField(r.TownName, name);
    SetField(r.BlockCode, block);
}

void LookupDicAdrsCoordinates(TDicAdrsResultRec& r, int kind, const QString& dllFolder,
                              const QString& dicFolder)
{
    TMtAdrsFields f;
    if (!LookupMtAdrsFields(dllFolder, FieldText(r.JisCode), FieldText(r.BlockCode), dicFolder, f))
        return;
    if (kind == 0) {
        SetField(r.PostalCode, f.postalCode);
        SetField(r.PrefKana, f.prefKana);
        SetField(r.PrefName, f.prefName);
        SetField(r.CityKana, f.cityKana);
        SetField(r.CityName, f.cityName);
        SetField(r.TownKana, f.townKana);
        SetField(r.TownName, f.townName);
    }
    r.Latitude = f.latitude;
    r.Longitude = f.longitude;
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
    std::memset(&m_result, 0, sizeof m_result);
    if (townIndex >= 0) {
        const TPosTownRec town = GetTown(townIndex);
        SetDicAdrsTown(m_result, FieldText(town.PostalCode), FieldText(town.Reading), FieldText(town.Name),
                       FieldText(town.BlockCode));
    }
    if (m_cityIndex >= 0 && m_cityIndex < m_cities.size()) {
        const TPosCityRec& city = m_cities[m_cityIndex];
        AnsiString pref, rest;
        SplitPrefectureKana(FieldText(city.Reading), pref, rest);
        SetField(m_result.PrefKana, pref);
        SetField(m_result.CityKana, rest);
        SplitPrefecture(FieldText(city.Name), pref, rest);
        SetField(m_result.PrefName, pref);
        SetField(m_result.CityName, rest);
        SetField(m_result.JisCode, FieldText(city.JisCode));
    }
    if (m_kind == 1 && townIndex >= 0) {
        const TLargeOfficeRec office = GetOffice(townIndex);
        SetField(m_result.OfficeKana, FieldText(office.Reading));
        SetField(m_result.OfficeName, FieldText(office.Name));
    }
    if (townIndex >= 0 && withCoordinates)
        LookupDicAdrsCoordinates(m_result, m_kind, m_dllFolder, m_dicFolder);
    return m_result;
}
