// Exchange-code dictionary wrapper.
#include "search/KykbnDicClass.h"

#include "core/AppSub.h"
#include "core/Dlhyp.h"
#include "search/Dlmtad.h"

#include <QFile>

#include <array>
#include <cstring>

namespace {

// More towns than any municipality has; a count past it is the library's fault.
constexpr int MaxTowns = 100000;

} // namespace

TKykbnSearch::TKykbnSearch(const QString& dllFolder, const QString& dicFolder)
    : m_dllFolder(DicFolder(dllFolder)), m_dicFolder(DicFolder(dicFolder)),
      m_dicFolderBytes(QFile::encodeName(m_dicFolder))
{
    const QString error = m_library.Open(m_dllFolder, QStringLiteral("Dltel.dll"),
                                         {{"DLTLPrefix", reinterpret_cast<void**>(&m_prefix)},
                                          {"DLTLCity2", reinterpret_cast<void**>(&m_city2)},
                                          {"DLTLTown2First", reinterpret_cast<void**>(&m_townFirst)},
                                          {"DLTLTown2Close", reinterpret_cast<void**>(&m_townClose)},
                                          {"DLTLTown2Next", reinterpret_cast<void**>(&m_townNext)},
                                          {"DLTLTown2Prev", reinterpret_cast<void**>(&m_townPrev)}});
    if (!error.isEmpty())
        throw EDLTelError(error);
}

AnsiString TKykbnSearch::Hyphenated() const
{
    LoadHyphenLibrary(m_dllFolder, m_dicFolder);
    const AnsiString tel = HyphenatePhoneText(m_digits, m_dicFolder);
    FreeHyphenLibrary();
    return tel;
}

int TKykbnSearch::Search(const AnsiString& tel, AnsiString* hyphenated)
{
    m_digits = KeepNumberChars(tel, KeepDigits);
    if (m_digits.isEmpty())
        throw EKykbnSearchError(QStringLiteral("検索電話番号が未入力です"));
    std::array<char, 14> areaCode{};
    qint16 count = 0;
    int rc = m_prefix(m_digits.constData(), areaCode.data(), &count, m_dicFolderBytes.constData());
    if (rc == 4 || rc == 8)
        return rc;
    if (rc != 0)
        throw EDLTelError(m_library.CallError("DLTLPrefix", rc));
    if (hyphenated)
        *hyphenated = Hyphenated();
    m_cityIndex = -1;
    m_towns.clear();
    m_cities = ZeroedRecords<TKykbnCityRec>(KykbnBlockSize);
    rc = m_city2(m_digits.constData(), m_cities.data(), m_dicFolderBytes.constData());
    if (rc != 0)
        throw EDLTelError(m_library.CallError("DLTLCity2", rc));
    // The areas past the 20 records of the answer cannot be shown; a negative count is none.
    const int n = ClampCount(count, KykbnBlockSize);
    m_cities.resize(n);
    return n == 0 ? 8 : 0;
}

int TKykbnSearch::ListTowns(int cityIndex)
{
    if (cityIndex == m_cityIndex)
        return 0;
    const TKykbnCityRec city = RecordAt<EKykbnSearchError>(m_cities, cityIndex, NoCityResultText);
    m_cityIndex = cityIndex;
    m_towns.clear();
    const int n = ClampCount(city.TownCount, MaxTowns);
    if (n == 0)
        return 8;
    m_towns.reserve(n);
    QList<TKykbnTownRec> block = ZeroedRecords<TKykbnTownRec>(KykbnBlockSize);
    qint32 status = 0;
    const qint32 handle =
        m_townFirst(m_digits.constData(), &city, block.data(), &status, m_dicFolderBytes.constData());
    const char* entry = "DLTLTown2First";
    int rc = 0;
    for (bool first = true;; first = false) {
        if (status == 8 && first) {
            rc = 8;
            break;
        }
        if (status != DLTL_LAST_BLOCK && status != DLTL_MORE_BLOCKS) {
            if (handle != 0)
                m_townClose(handle);
            throw EDLTelError(m_library.CallError(entry, status));
        }
        // A full block when more follow, else what remains of the count; never past the block or the count.
        const int take =
            status == DLTL_MORE_BLOCKS ? KykbnBlockSize : qBound(0, n - int(m_towns.size()), KykbnBlockSize);
        for (int i = 0; i < take && m_towns.size() < n; ++i)
            m_towns.append(block[i]);
        if (status == DLTL_LAST_BLOCK || m_towns.size() >= n)
            break;
        block = ZeroedRecords<TKykbnTownRec>(KykbnBlockSize);
        status = m_townNext(handle, block.data());
        entry = "DLTLTown2Next";
    }
    if (handle != 0)
        m_townClose(handle);
    return rc;
}

TKykbnCityRec TKykbnSearch::GetCity(int index) const
{
    return RecordAt<EKykbnSearchError>(m_cities, index, NoCityResultText);
}

TKykbnTownRec TKykbnSearch::GetTown(int index) const
{
    return RecordAt<EKykbnSearchError>(m_towns, index, NoTownResultText);
}

const TKykbnResultRec& TKykbnSearch::GetResult(int townIndex, bool withCoordinates)
{
    std::memset(&m_result, 0, sizeof m_result);
    SetField(m_result.Tel, Hyphenated());
    if (townIndex >= 0) {
        const TKykbnTownRec town = GetTown(townIndex);
        SetField(m_result.PostalCode, FormatPostalCode(FieldText(town.PostalCode)));
        SetField(m_result.TownName, FieldText(town.Name));
        SetField(m_result.BlockCode, FieldText(town.AreaCode).mid(5, 6));
    }
    if (m_cityIndex >= 0 && m_cityIndex < m_cities.size()) {
        const TKykbnCityRec& city = m_cities[m_cityIndex];
        AnsiString pref, rest;
        SplitPrefecture(FieldText(city.Name), pref, rest);
        SetField(m_result.PrefName, pref);
        SetField(m_result.CityName, rest);
        SetField(m_result.JisCode, FieldText(city.JisCode));
    }
    TMtAdrsFields f;
    if (townIndex >= 0 && withCoordinates &&
        LookupMtAdrsFields(m_dllFolder, FieldText(m_result.JisCode), FieldText(m_result.BlockCode),
                           m_dicFolder, f)) {
        ApplyMtAdrsFields(m_result, m_result.TownKana, m_result.TownName, f, true);
    }
    return m_result;
}
