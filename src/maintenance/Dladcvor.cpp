// The wrappers of the two address conversion libraries.
#include "maintenance/Dladcvor.h"
#include "maintenance/Dlzpcvor.h"

#include "core/MainSettings.h"
#include "core/SharedLibrary.h"

#include <cstring>

namespace {

TSharedLibrary& dladcvor()
{
    static TSharedLibrary l(QStringLiteral("Dladcvor.dll"), "CvtAdrs");
    return l;
}

TSharedLibrary& dlzpcvor()
{
    static TSharedLibrary l(
        QStringLiteral("Dlzpcvor.dll"),
        {"YZipTo", "YAdrsTo", "YJis2To", "YJis5To", "YJgZipTo", "YJgNameTo", "YJgJis5To", "YJgZipToEx"},
        TSharedLibrary::Boxes::FileCaption);
    return l;
}

int load(TSharedLibrary& library)
{
    switch (library.Load(ProgramFolder)) {
    case TSharedLibrary::Loaded:
        return ConvLibOk;
    case TSharedLibrary::LoadFailed:
        library.Free(); // a failed load keeps no module
        return ConvLibLoadError;
    default:
        return ConvLibEntryPointError;
    }
}

template <typename Proc, typename Request, typename Result>
bool call(TSharedLibrary& library, size_t entry, const Request& request, Result& result, int& rc)
{
    QReadLocker lock(&library.Lock());
    const auto proc = reinterpret_cast<Proc>(library.Entry(entry));
    if (!proc) {
        rc = ConvLibNotLoaded;
        return false;
    }
    std::memset(&result, 0, sizeof result);
    int32_t code = 0;
    const bool answer = proc(&request, &result, &code) != 0;
    rc = code;
    return answer;
}

} // namespace

int LoadDladcvor()
{
    return load(dladcvor());
}

void FreeDladcvor()
{
    dladcvor().Free();
}

bool CallCvtAdrs(const TCvtAdrsRequest& request, TCvtAdrsResult& result, int& rc)
{
    return call<CvtAdrsProc>(dladcvor(), 0, request, result, rc);
}

int LoadDlzpcvor()
{
    return load(dlzpcvor());
}

void FreeDlzpcvor()
{
    dlzpcvor().Free();
}

bool CallYAdrsTo(const TYAdrsToRequest& request, TYAdrsToResult& result, int& rc)
{
    return call<YAdrsToProc>(dlzpcvor(), 1, request, result, rc);
}
