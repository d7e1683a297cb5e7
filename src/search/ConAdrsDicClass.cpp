// Address conversion wrapper.
#include "search/ConAdrsDicClass.h"

#include "core/AppSub.h"
#include "search/Dlmtad.h"

#include <QFile>

#include <cstring>

TContinualAdrsSearch::TContinualAdrsSearch(const QString& dllFolder, const QString& dicFolder)
    : m_dllFolder(DicFolder(dllFolder)), m_dicFolder(DicFolder(dicFolder))
{
    const QString error = m_library.Open(m_dllFolder, QStringLiteral("DLZsCnv.dll"),
                                         {{"DLZSCAdrs", reinterpret_cast<void**>(&m_convert)}});
    if (!error.isEmpty())
        throw EDLZsCnvErro(error);
}

TContinualAdrsSearch::~TContinualAdrsSearch()
{
    if (m_holdsMtAdrs)
        FreeMtAdrsLibrary();
}

int TContinualAdrsSearch::Search(const AnsiString& address)
{
    m_built = m_builtWithCoordinates = false;
    m_text = TrimAnsiText(address);
    if (m_text.isEmpty())
        throw EContinualAdrsSearchError(QStringLiteral("検索住所が未入力です"));
    std::memset(&m_answer, 0, sizeof m_answer);
    const int rc = m_convert(m_text.constData(), &m_answer, QFile::encodeName(m_dicFolder).constData());
    if (rc == 0 || rc == 1 || rc == 4 || rc == 8)
        return rc;
    throw EDLZsCnvErro(m_library.CallError("DLZSCAdrs", rc));
}

const TAdrsConvResultRec& TContinualAdrsSearch::GetResult(bool withCoordinates)
{
    if (m_built && (!withCoordinates || m_builtWithCoordinates))
        return m_result;
    std::memset(&m_result, 0, sizeof m_result);
    SetField(m_result.PostalCode, FormatPostalCode(FieldText(m_answer.PostalCode)));
    SetField(m_result.PrefKana, FieldText(m_answer.PrefReading));
    SetField(m_result.PrefName, FieldText(m_answer.PrefName));
    SetField(m_result.CityKana, FieldText(m_answer.CityReading));
    SetField(m_result.CityName, FieldText(m_answer.CityName));
    SetField(m_result.RestKana, FieldText(m_answer.RestReading));
    SetField(m_result.Rest, FieldText(m_answer.Rest));
    SetField(m_result.JisCode, FieldText(m_answer.JisCode));
    SetField(m_result.BlockCode, FieldText(m_answer.BlockCode));
    if (withCoordinates) {
        m_builtWithCoordinates = true;
        if (!m_holdsMtAdrs) {
            m_holdsMtAdrs = LoadMtAdrsLibrary(m_dllFolder) == MtAdrsOk;
            // A failed load keeps no reference; the next request tries again.
            if (!m_holdsMtAdrs)
                FreeMtAdrsLibrary();
        }
        TMtAdrsFields f;
        if (m_holdsMtAdrs &&
            MtAdrsFields(FieldText(m_result.JisCode), FieldText(m_result.BlockCode), m_dicFolder, f)) {
            ApplyMtAdrsFields(m_result, m_result.RestKana, m_result.Rest, f, true);
        }
    }
    m_built = true;
    return m_result;
}
