// Coordinate lookup through "Dlmtad.dll".
#include "search/Dlmtad.h"

#include "search/DicWrapper.h"

#include "core/SharedLibrary.h"

#include <QFile>

#include <cstring>

namespace {

TSharedLibrary& library()
{
    static TSharedLibrary l(QStringLiteral("Dlmtad.dll"), "DLMTAdrs");
    return l;
}

} // namespace

int LoadMtAdrsLibrary(const QString& folder)
{
    switch (library().Load(DicFolder(folder))) {
    case TSharedLibrary::Loaded:
        return MtAdrsOk;
    case TSharedLibrary::LoadFailed:
        return MtAdrsLoadError;
    default:
        return MtAdrsEntryPointError;
    }
}

void FreeMtAdrsLibrary()
{
    library().Free();
}

int MtAdrsLookup(const AnsiString& code, TMtAdrsAnswerRec& answer, const QString& dicFolder)
{
    QReadLocker lock(&library().Lock());
    const auto lookup = reinterpret_cast<TDLMTAdrs>(library().Entry());
    if (!lookup)
        return MtAdrsNotLoaded;
    std::memset(&answer, 0, sizeof answer);
    return lookup(code.constData(), &answer, QFile::encodeName(dicFolder).constData());
}

AnsiString MtAdrsCode(const AnsiString& jisCode, const AnsiString& blockCode)
{
    return (jisCode.left(6) + blockCode.left(7) + AnsiString(11, '0')).left(11);
}

TMtAdrsFields MtAnswerFields(const TMtAdrsAnswerRec& a)
{
    TMtAdrsFields out;
    out.postalCode = FormatPostalCode(FieldText(a.PostalCode));
    out.prefKana = FieldText(a.PrefReading);
    out.prefName = FieldText(a.PrefName);
    out.cityKana = FieldText(a.CityReading);
    out.cityName = FieldText(a.CityName);
    out.townKana = FieldText(a.OazaReading) + FieldText(a.AzaReading);
    out.townName = FieldText(a.OazaName) + FieldText(a.AzaName);
    out.latitude = ToMilliseconds(a.Latitude);
    out.longitude = ToMilliseconds(a.Longitude);
    return out;
}

bool MtAdrsFields(const AnsiString& jisCode, const AnsiString& blockCode, const QString& dicFolder,
                  TMtAdrsFields& out)
{
    TMtAdrsAnswerRec a;
    if (MtAdrsLookup(MtAdrsCode(jisCode, blockCode), a, dicFolder) != 0)
        return false;
    out = MtAnswerFields(a);
    return true;
}

bool LookupMtAdrsFields(const QString& dllFolder, const AnsiString& jisCode, const AnsiString& blockCode,
                        const QString& dicFolder, TMtAdrsFields& out)
{
    bool found = false;
    if (LoadMtAdrsLibrary(dllFolder) == MtAdrsOk)
        found = MtAdrsFields(jisCode, blockCode, dicFolder, out);
    FreeMtAdrsLibrary();
    return found;
}
