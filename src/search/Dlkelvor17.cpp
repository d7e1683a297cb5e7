// Directory search library: loading, wrappers, name-list handles and folder fields.
#include "search/Dlkelvor17.h"

#include "core/AppSub.h"
#include "core/Dlhyp.h"
#include "core/SharedLibrary.h"
#include "search/DicWrapper.h"

#include <cstring>

namespace {

enum Entry : size_t {
    EpTel,
    EpTelOne,
    EpArea,
    EpAreaCount,
    EpAreaFax,
    EpAreaCountFax,
    EpTelMask,
    EpListsOpen,
    EpListsClose
};

TSharedLibrary& library()
{
    static TSharedLibrary l(QStringLiteral("Dlkelvor17.dll"),
                            {"kelvor_search_tel", "kelvor_search_tel_one", "kelvor_search_area",
                             "kelvor_search_area_count", "kelvor_search_area_fax",
                             "kelvor_search_area_count_fax", "qem_tel_mask", "kelvor_name_lists_open",
                             "kelvor_name_lists_close"},
                            TSharedLibrary::Boxes::ProgramCaption);
    return l;
}

template <typename F> F entry(Entry e)
{
    return reinterpret_cast<F>(library().Entry(e));
}

template <typename Rec> bool NormaliseFolders(Rec* rec)
{
    Rec r;
    std::memcpy(&r, rec, sizeof r);
    const bool ok = NormaliseDirFolderField(r.DataFolder) && NormaliseDirFolderField(r.DicFolder);
    std::memcpy(rec->DataFolder, r.DataFolder, sizeof r.DataFolder);
    std::memcpy(rec->DicFolder, r.DicFolder, sizeof r.DicFolder);
    return ok;
}

} // namespace

int LoadDirSearchLibrary(const QString& folder)
{
    switch (library().Load(DicFolder(folder))) {
    case TSharedLibrary::Loaded:
        return KELVOR_OK;
    case TSharedLibrary::LoadFailed:
        return DirSearchLoadError;
    default:
        return DirSearchEntryPointError;
    }
}

void FreeDirSearchLibrary()
{
    library().Free();
}

int DirSearchArea(TDirSearchCondRec* cond, TDirHitRec* hits, int32_t* count, TDirCursorRec* cursor,
                  int32_t interval, TSearchProgressCallback callback)
{
    QReadLocker lock(&library().Lock());
    const auto call = entry<TKelvorSearchArea>(EpArea);
    if (!call)
        return DirSearchNotLoaded;
    if (!cond || !hits || !count || !cursor || !NormaliseFolders(cond))
        return KELVOR_BAD_ARGUMENT;
    const int32_t pageSize = cond->PageSize;
    if (pageSize < 1 || pageSize > DirMaxPageSize)
        return KELVOR_BAD_ARGUMENT;
    std::memset(static_cast<void*>(hits), 0, size_t(pageSize) * sizeof(TDirHitRec));
    *count = 0;
    return call(cond, hits, count, cursor, interval, callback);
}

int DirSearchAreaCount(TDirSearchCondRec* cond, int32_t* count, int32_t interval,
                       TSearchProgressCallback callback)
{
    QReadLocker lock(&library().Lock());
    const auto call = entry<TKelvorSearchAreaCount>(EpAreaCount);
    if (!call)
        return DirSearchNotLoaded;
    if (!cond || !count || !NormaliseFolders(cond))
        return KELVOR_BAD_ARGUMENT;
    *count = 0;
    return call(cond, count, interval, callback);
}

int DirSearchTel(TDirTelRequestRec* request, TDirDetailRec* details, int32_t* count)
{
    QReadLocker lock(&library().Lock());
    const auto call = entry<TKelvorSearchTel>(EpTel);
    if (!call)
        return DirSearchNotLoaded;
    if (!request || !details || !count || !NormaliseFolders(request))
        return KELVOR_BAD_ARGUMENT;
    std::memset(static_cast<void*>(details), 0, sizeof(TDirDetailRec) * DirTelBlockSize);
    *count = 0;
    return call(request, details, count);
}

int DirSearchTelOne(TDirTelRequestRec* request, TDirDetailRec* detail, int32_t key)
{
    QReadLocker lock(&library().Lock());
    const auto call = entry<TKelvorSearchTelOne>(EpTelOne);
    if (!call)
        return DirSearchNotLoaded;
    if (!request || !detail || !NormaliseFolders(request))
        return KELVOR_BAD_ARGUMENT;
    std::memset(static_cast<void*>(detail), 0, sizeof *detail);
    return call(request, detail, key);
}

int32_t OpenDirNameLists(const AnsiString& include, const AnsiString& exclude, int* rc)
{
    QReadLocker lock(&library().Lock());
    const auto call = entry<TKelvorNameListsOpen>(EpListsOpen);
    int32_t code = DirSearchNotLoaded;
    int32_t handle = 0;
    if (call)
        handle = call(include.constData(), exclude.constData(), &code);
    if (rc)
        *rc = code;
    return handle;
}

void CloseDirNameLists(int32_t handle)
{
    QReadLocker lock(&library().Lock());
    if (const auto call = entry<TKelvorNameListsClose>(EpListsClose); call && handle != 0)
        call(handle);
}

bool SetDirFolderField(char (&field)[256], const QString& folder)
{
    std::memset(field, 0, sizeof field);
    if (!Cp932::canEncode(folder))
        return false;
    AnsiString text = ToAnsi(folder).trimmed();
    if (!text.endsWith('/'))
        text += '/';
    if (text.size() >= int(sizeof field))
        return false;
    std::memcpy(field, text.constData(), size_t(text.size()));
    return true;
}

bool NormaliseDirFolderField(char (&field)[256])
{
    AnsiString text = FieldText(field).trimmed();
    if (!text.isEmpty() && !text.endsWith('/'))
        text += '/';
    if (text.size() >= int(sizeof field))
        return false;
    std::memset(field, 0, sizeof field);
    std::memcpy(field, text.constData(), size_t(text.size()));
    return true;
}

QString DirDataFolder(bool hddInstalled, const QString& hddInstallFolder, const QString& discFolder)
{
    QString folder = hddInstalled ? hddInstallFolder : discFolder;
    if (!folder.endsWith(u'/'))
        folder += u'/';
    return folder + (hddInstalled ? QStringLiteral("Dt00/") : QStringLiteral("Quenrid215/"));
}

int ReadDirHitDetail(const TDirSearchCondRec& folders, const AnsiString& number, int32_t key,
                     TDirDetailRec& detail)
{
    TDirTelRequestRec request;
    std::memset(&request, 0, sizeof request);
    SetField(request.Tel, number.trimmed());
    request.Fixed1 = 1;
    std::memcpy(request.DataFolder, folders.DataFolder, sizeof request.DataFolder);
    std::memcpy(request.DicFolder, folders.DicFolder, sizeof request.DicFolder);
    const int rc = DirSearchTelOne(&request, &detail, key);
    if (rc == KELVOR_OK) {
        const AnsiString digits = HyphenatePhoneText(KeepNumberChars(FieldText(detail.Tel), KeepDigits));
        SetField(detail.Tel,
                 digits.size() < int(sizeof detail.Tel) ? digits : KeepNumberChars(digits, KeepDigits));
    }
    return rc;
}
