// Area-list wrapper.
#include "search/KanaAdrsDic.h"

#include <QFile>

namespace {

const QString LibraryFile = QStringLiteral("Dlk1ad.dll");
// More municipalities or oazas than any list holds; the record counts are uint16.
constexpr int MaxSlots = 65535;

} // namespace

const QStringList& KanaRegionNames()
{
    static const QStringList names = {QStringLiteral("北海道・東北"), QStringLiteral("関東"),
                                      QStringLiteral("中部"),         QStringLiteral("近畿"),
                                      QStringLiteral("中国・四国"),   QStringLiteral("九州・沖縄")};
    return names;
}

TKanaAdrsSearch::TKanaAdrsSearch(const QString& dllFolder, const QString& dicFolder)
    : m_dllFolder(DicFolder(dllFolder)), m_dicFolder(DicFolder(dicFolder)),
      m_dicFolderBytes(QFile::encodeName(m_dicFolder))
{
    const QString error =
        m_library.Open(m_dllFolder, LibraryFile,
                       {{"DLK1ADTdfkn", reinterpret_cast<void**>(&m_tdfkn)},
                        {"DLK1ADTdfknPart", reinterpret_cast<void**>(&m_tdfknPart)},
                        {"DLK1ADCityAll", reinterpret_cast<void**>(&m_cityAll)},
                        {"DLK1ADOhazaAll", reinterpret_cast<void**>(&m_ohazaAll)},
                        {"DLK1ADOhazaAll_Chome", reinterpret_cast<void**>(&m_ohazaAllChome)},
                        {"DLK1ADAzaAll", reinterpret_cast<void**>(&m_azaAll)}});
    if (!error.isEmpty())
        throw EDLK1ADError(error);
}

int TKanaAdrsSearch::Call(const char* name, int rc)
{
    if (rc != 0 && rc != 8)
        throw EDLK1ADError(m_library.CallError(name, rc));
    return rc;
}

int TKanaAdrsSearch::ListPrefectures(int region)
{
    if (region != AllRegions && (region < 0 || region > 5))
        throw EKanaAdrsSearchError(QStringLiteral("検索地域が範囲外です"));
    m_cities.clear();
    m_oazas.clear();
    m_azas.clear();
    if (region == AllRegions) {
        m_prefectures = ZeroedRecords<TKanaPrefRec>(47);
        return Call("DLK1ADTdfkn", m_tdfkn(m_prefectures.data(), m_dicFolderBytes.constData()));
    }
    m_prefectures = ZeroedRecords<TKanaPrefRec>(KanaRegionSlots);
    const int rc =
        Call("DLK1ADTdfknPart", m_tdfknPart(region, m_prefectures.data(), m_dicFolderBytes.constData()));
    if (rc == 0) {
        qsizetype named = m_prefectures.size();
        while (named > 0 && FieldText(m_prefectures[named - 1].Name).isEmpty())
            --named;
        if (named > 0)
            m_prefectures.resize(named);
    }
    return rc;
}

int TKanaAdrsSearch::ListCities(int prefecture, int slotCount)
{
    if (prefecture < 1 || prefecture > 47)
        throw EKanaAdrsSearchError(QStringLiteral("検索都道府県が範囲外です"));
    m_oazas.clear();
    m_azas.clear();
    const int n = ClampCount(slotCount, MaxSlots);
    m_cities = ZeroedRecords<TKanaCityRec>(n);
    if (n == 0)
        return 8;
    return Call("DLK1ADCityAll", m_cityAll(prefecture, m_cities.data(), n, m_dicFolderBytes.constData()));
}

int TKanaAdrsSearch::ListOazas(const AnsiString& cityCode, int slotCount, bool chome)
{
    if (cityCode.size() != 5)
        throw EKanaAdrsSearchError(QStringLiteral("検索住所コードの桁数が違います"));
    m_azas.clear();
    const int n = ClampCount(slotCount, MaxSlots);
    m_oazas = ZeroedRecords<TKanaOazaRec>(n);
    if (n == 0)
        return 8;
    const char* name = chome ? "DLK1ADOhazaAll_Chome" : "DLK1ADOhazaAll";
    return Call(name, (chome ? m_ohazaAllChome : m_ohazaAll)(cityCode.constData(), m_oazas.data(), n,
                                                             m_dicFolderBytes.constData()));
}

TKanaPrefRec TKanaAdrsSearch::GetPrefecture(int index) const
{
    return RecordAt<EKanaAdrsSearchError>(m_prefectures, index,
                                          QStringLiteral("都道府県検索の結果がありません"));
}

TKanaCityRec TKanaAdrsSearch::GetCity(int index) const
{
    return RecordAt<EKanaAdrsSearchError>(m_cities, index, NoCityResultText);
}

TKanaOazaRec TKanaAdrsSearch::GetOaza(int index) const
{
    return RecordAt<EKanaAdrsSearchError>(m_oazas, index, QStringLiteral("大字検索の結果がありません"));
}
