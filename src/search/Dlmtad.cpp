// Coordinate lookup through "Dlmtad.dll".
#include "search/Dlmtad.h"

#include "search/DicWrapper.h"

#include "platform/LibraryLoader.h"
#include "platform/MessageSeam.h"

#include <QFile>
#include <QReadWriteLock>

#include <cstring>

namespace {

// Lookups share the lock for reading, so worker threads look up side by side while a free waits.
struct MtAdrsState
{
    QReadWriteLock lock;
    LibraryLoader::Handle handle = nullptr;
    TDLMTAdrs lookup = nullptr;
    int refCount = 0;
};

MtAdrsState& state()
{
    static MtAdrsState s;
    return s;
}

void ShowError(const QString& text, const QString& caption)
{
    MsgSeam::Request request;
    request.source = MsgSeam::Source::Application;
    request.text = text;
    request.caption = caption;
    request.flags = MsgSeam::MbIconStop;
    MsgSeam::Show(request);
}

} // namespace

int LoadMtAdrsLibrary(const QString& folder)
{
    MtAdrsState& s = state();
    int code = MtAdrsOk;
    {
        QWriteLocker lock(&s.lock);
        ++s.refCount;
        if (s.refCount > 1)
            return MtAdrsOk;
        s.handle = LibraryLoader::Load(DicFolder(folder), QStringLiteral("Dlmtad.dll"));
        if (!s.handle) {
            code = MtAdrsLoadError;
        } else {
            s.lookup = reinterpret_cast<TDLMTAdrs>(LibraryLoader::Symbol(s.handle, "DLMTAdrs"));
            if (s.lookup)
                return MtAdrsOk;
            LibraryLoader::Free(s.handle);
            s.handle = nullptr;
            --s.refCount;
            code = MtAdrsEntryPointError;
        }
    }
    // Shown without the lock: a modal box runs the event loop, where other lookups may come.
    if (code == MtAdrsLoadError)
        ShowError(QStringLiteral("Dlmtad.dll\r\nDLLのロードに失敗しました"),
                  QStringLiteral("Dlmtad.dll LoadLibrary Error"));
    else
        ShowError(QStringLiteral("DLMTAdrs\r\n関数の割り当てに失敗しました"),
                  QStringLiteral("Dlmtad.dll GetProcAddress Error"));
    return code;
}

void FreeMtAdrsLibrary()
{
    MtAdrsState& s = state();
    QWriteLocker lock(&s.lock);
    if (s.refCount <= 0)
        return;
    --s.refCount;
    if (s.refCount == 0 && s.handle) {
        LibraryLoader::Free(s.handle);
        s.handle = nullptr;
        s.lookup = nullptr;
    }
}

int MtAdrsLookup(const AnsiString& code, TMtAdrsAnswerRec& answer, const QString& dicFolder)
{
    MtAdrsState& s = state();
    QReadLocker lock(&s.lock);
    if (!s.lookup)
        return MtAdrsNotLoaded;
    std::memset(&answer, 0, sizeof answer);
    return s.lookup(code.constData(), &answer, QFile::encodeName(dicFolder).constData());
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
