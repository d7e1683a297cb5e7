// "Dlkelvor17.dll": the directory search library. Searches the memory-mapped data file of the data folder
// by area range, category posting list and name (memmem over the normalised names), a page at a time.
#include "KelvorData.h"

#include "AddressMaster.h"
#include "DirRecords.h"

#include <fcntl.h>
#include <sys/mman.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cstring>
#include <map>
#include <mutex>

using namespace Kelvor;

#define KELVOR_EXPORT extern "C" __attribute__((visibility("default")))

namespace {

// ---- the data file, mapped once per path and mapped again when it changes

struct Mapped
{
    const char* base = nullptr;
    size_t size = 0;
    View view;
    ~Mapped()
    {
        if (base)
            ::munmap(const_cast<char*>(base), size);
    }
};

int32_t LoadData(const std::string& folder, std::shared_ptr<const Mapped>& out)
{
    struct Slot
    {
        timespec mtime{};
        off_t size = -1;
        std::shared_ptr<const Mapped> data;
    };
    static std::mutex mutex;
    static std::map<std::string, Slot> cache;

    const std::string path = folder + DataFileName;
    struct stat st;
    if (::stat(path.c_str(), &st) != 0 || !S_ISREG(st.st_mode))
        return KELVOR_NO_DATA;
    std::lock_guard lock(mutex);
    Slot& slot = cache[path];
    if (slot.size == st.st_size && slot.mtime.tv_sec == st.st_mtim.tv_sec &&
        slot.mtime.tv_nsec == st.st_mtim.tv_nsec) {
        out = slot.data;
        return out ? KELVOR_OK : KELVOR_DAMAGED;
    }
    slot = Slot();
    slot.mtime = st.st_mtim;
    slot.size = st.st_size;
    const int fd = ::open(path.c_str(), O_RDONLY | O_CLOEXEC);
    if (fd < 0) {
        slot.size = -1;
        return KELVOR_NO_DATA;
    }
    auto m = std::make_shared<Mapped>();
    if (st.st_size > 0) {
        void* p = ::mmap(nullptr, size_t(st.st_size), PROT_READ, MAP_PRIVATE, fd, 0);
        if (p != MAP_FAILED) {
            m->base = static_cast<const char*>(p);
            m->size = size_t(st.st_size);
        }
    }
    ::close(fd);
    if (m->base && m->view.open(m->base, m->size))
        slot.data = std::move(m);
    out = slot.data;
    return out ? KELVOR_OK : KELVOR_DAMAGED;
}

// The data folder of a record: CP932 bytes to a file system path ending in "/"; false when it is not text.
bool FolderPath(const char* field, std::string& out)
{
    std::u32string wide;
    const std::string_view text = AddressMaster::FieldText(field, 256);
    if (!DecodeCp932(text, wide))
        return false;
    out = ToUtf8(wide);
    while (!out.empty() && out.front() == ' ')
        out.erase(0, 1);
    while (!out.empty() && out.back() == ' ')
        out.pop_back();
    if (out.empty())
        return false;
    if (out.back() != '/')
        out += '/';
    return true;
}

// ---- the name-list pairs of the conditions

struct NameLists
{
    std::vector<std::string> include, exclude; // matching forms, none empty
};

AddressMaster::HandleTable<NameLists>& nameLists()
{
    static AddressMaster::HandleTable<NameLists> table;
    return table;
}

constexpr size_t MaxListBytes = 1 << 20;

bool SplitNames(const char* text, std::vector<std::string>& out)
{
    if (!text)
        return true;
    const size_t n = strnlen(text, MaxListBytes);
    if (n == MaxListBytes)
        return false;
    std::string_view rest(text, n);
    while (!rest.empty()) {
        const size_t comma = rest.find(',');
        const std::string_view name = rest.substr(0, comma);
        if (!name.empty()) {
            std::u32string wide;
            if (!DecodeCp932(name, wide))
                return false;
            std::string form = ToUtf8(NormaliseName(wide));
            if (!form.empty() && std::find(out.begin(), out.end(), form) == out.end())
                out.push_back(std::move(form));
        }
        if (comma == std::string_view::npos)
            break;
        rest.remove_prefix(comma + 1);
    }
    return true;
}

// ---- one condition, parsed

struct Query
{
    std::shared_ptr<const Mapped> data;
    std::shared_ptr<NameLists> names;
    uint32_t first = 0, last = 0; // area range
    bool byCategory = false;
    uint32_t postFirst = 0, postCount = 0;
    int kinds = 0, legalForm = 0, matchKind = 0, pageSize = 0;
    uint32_t periodFrom = 0, periodTo = 0xFFFFFFFF;
    uint32_t hash = 0;
};

bool Digits(std::string_view s)
{
    return s.find_first_not_of("0123456789") == std::string_view::npos;
}

uint32_t Fnv(uint32_t h, const void* p, size_t n)
{
    for (size_t i = 0; i < n; ++i)
        h = (h ^ static_cast<const uint8_t*>(p)[i]) * 16777619u;
    return h;
}

int32_t ParseCondition(const TDirSearchCondRec* in, bool paged, Query& q)
{
    TDirSearchCondRec c;
    std::memcpy(&c, in, sizeof c);
    q.matchKind = c.MatchKind;
    q.pageSize = c.PageSize;
    q.kinds = c.PhoneKinds & 15;
    q.legalForm = c.LegalForm;
    if (q.matchKind < 0 || q.matchKind > 3 || (paged && (q.pageSize < 1 || q.pageSize > DirMaxPageSize)) ||
        q.legalForm < 0 || q.legalForm > 7)
        return KELVOR_BAD_ARGUMENT;
    const std::string_view area = AddressMaster::FieldText(c.AreaCode, sizeof c.AreaCode);
    const std::string_view category = AddressMaster::FieldText(c.Category, sizeof c.Category);
    const std::string_view from = AddressMaster::FieldText(c.PeriodFrom, sizeof c.PeriodFrom);
    const std::string_view to = AddressMaster::FieldText(c.PeriodTo, sizeof c.PeriodTo);
    if (area.size() > sizeof(Entry::area) || !Digits(area) || !Digits(category) ||
        (category.size() != 0 && category.size() != 2 && category.size() != 4) ||
        (!from.empty() && (from.size() != 6 || !Digits(from))) ||
        (!to.empty() && (to.size() != 6 || !Digits(to))))
        return KELVOR_BAD_ARGUMENT;
    if (!from.empty())
        q.periodFrom = uint32_t(std::stoul(std::string(from)));
    if (!to.empty())
        q.periodTo = uint32_t(std::stoul(std::string(to)));
    if (c.NameLists != 0 && !(q.names = nameLists().get(c.NameLists)))
        return KELVOR_BAD_ARGUMENT;

    std::string folder;
    if (!FolderPath(c.DataFolder, folder))
        return KELVOR_BAD_ARGUMENT;
    if (const int32_t rc = LoadData(folder, q.data); rc != KELVOR_OK)
        return rc;
    const View& v = q.data->view;
    v.areaRange(area, q.first, q.last);
    if (!category.empty()) {
        q.byCategory = true;
        if (!v.postings(uint32_t(std::stoul(std::string(category))), q.postFirst, q.postCount))
            q.postCount = 0;
    }
    // What identifies the condition to its cursor: everything but the handle, the flag and the page size.
    uint32_t h = 2166136261u;
    h = Fnv(h, c.Category, sizeof c.Category);
    h = Fnv(h, c.AreaCode, offsetof(TDirSearchCondRec, Continuation) - offsetof(TDirSearchCondRec, AreaCode));
    h = Fnv(h, &c.MatchKind, 4);
    if (q.names)
        for (const auto* list : {&q.names->include, &q.names->exclude})
            for (const std::string& s : *list)
                h = Fnv(h, s.data(), s.size() + 1);
    q.hash = h;
    return KELVOR_OK;
}

bool Contains(std::string_view hay, const std::string& needle)
{
    return memmem(hay.data(), hay.size(), needle.data(), needle.size()) != nullptr;
}

bool NameMatches(const Query& q, std::string_view name)
{
    if (q.names) {
        if (!q.names->include.empty()) {
            bool any = false;
            for (const std::string& s : q.names->include) {
                switch (q.matchKind) {
                case 0:
                    any = name.starts_with(s);
                    break;
                case 1:
                    any = Contains(name, s);
                    break;
                case 2:
                    any = name.ends_with(s);
                    break;
                default:
                    any = name == s;
                    break;
                }
                if (any)
                    break;
            }
            if (!any)
                return false;
        }
        for (const std::string& s : q.names->exclude)
            if (Contains(name, s))
                return false;
    }
    return true;
}

bool Matches(const Query& q, uint32_t i)
{
    const View& v = q.data->view;
    const Entry e = v.entry(i);
    if ((e.flags & FlagNotShown) || !(q.kinds & (1 << e.kind)))
        return false;
    if (q.legalForm && e.legalForm != q.legalForm)
        return false;
    if ((q.periodFrom || q.periodTo != 0xFFFFFFFF) &&
        (e.firstListing < q.periodFrom || e.firstListing > q.periodTo))
        return false;
    return NameMatches(q, v.name(i));
}

// Candidates of [from, to) in entry order, to be checked with Matches.
void Candidates(const Query& q, uint32_t from, uint32_t to, std::vector<uint32_t>& out)
{
    out.clear();
    const View& v = q.data->view;
    if (q.byCategory) {
        uint32_t lo = 0, hi = q.postCount;
        while (lo < hi) {
            const uint32_t mid = lo + (hi - lo) / 2;
            if (v.posting(q.postFirst + mid) < from)
                lo = mid + 1;
            else
                hi = mid;
        }
        for (uint32_t k = lo; k < q.postCount; ++k) {
            const uint32_t e = v.posting(q.postFirst + k);
            if (e >= to)
                break;
            out.push_back(e);
        }
    } else if (q.names && !q.names->include.empty()) {
        // One memmem pass per name over the chunk's names; an entry holding the name is a candidate.
        const std::string_view names = v.names();
        const uint32_t end = v.nameStart(to);
        for (const std::string& s : q.names->include) {
            uint32_t pos = v.nameStart(from);
            while (pos < end) {
                const void* hit = memmem(names.data() + pos, end - pos, s.data(), s.size());
                if (!hit)
                    break;
                const uint32_t e =
                    v.entryAtNameOffset(uint32_t(static_cast<const char*>(hit) - names.data()));
                out.push_back(e);
                pos = v.nameStart(e + 1);
            }
        }
        if (q.names->include.size() > 1) {
            std::sort(out.begin(), out.end());
            out.erase(std::unique(out.begin(), out.end()), out.end());
        }
    } else {
        out.resize(to - from);
        for (uint32_t i = from; i < to; ++i)
            out[i - from] = i;
    }
}

enum class ScanEnd { Finished, PageFull, Stopped };

// Visits the matching entries from entry start on, in chunks of interval entries with a callback after
// each; onHit answers false when it wants no more (next then holds the entry it refused).
template <typename OnHit>
ScanEnd Scan(const Query& q, uint32_t start, int32_t interval, TSearchProgressCallback callback,
             int32_t& found, uint32_t& next, OnHit onHit)
{
    const uint32_t chunk = uint32_t(std::clamp<int32_t>(interval, 1, 1 << 24));
    std::vector<uint32_t> candidates;
    int32_t examined = 0;
    for (uint32_t i = std::max(start, q.first); i < q.last;) {
        const uint32_t to = uint32_t(std::min<uint64_t>(uint64_t(i) + chunk, q.last));
        Candidates(q, i, to, candidates);
        for (uint32_t e : candidates) {
            if (!Matches(q, e))
                continue;
            if (!onHit(e)) {
                next = e;
                return ScanEnd::PageFull;
            }
            ++found;
        }
        examined += int32_t(to - i);
        i = to;
        if (callback && callback(examined, found) == 0)
            return ScanEnd::Stopped;
    }
    return ScanEnd::Finished;
}

// ---- records

void PutTrimmed(char* field, size_t width, std::string_view text)
{
    AddressMaster::Put(field, width, text);
}

void FillHit(const View& v, uint32_t i, TDirHitRec& out)
{
    const Entry e = v.entry(i);
    std::string_view t[HeapTextCount];
    v.texts(i, t);
    TDirHitRec r;
    std::memset(&r, 0, sizeof r);
    PutTrimmed(r.Tel, sizeof r.Tel, AddressMaster::FieldText(e.tel, sizeof e.tel));
    r.PhoneKind = e.kind;
    r.DetailKey = int32_t(i);
    PutTrimmed(r.Name, sizeof r.Name, t[TxtName]);
    std::string address;
    for (int k : {TxtPref, TxtCity, TxtAddr3, TxtAddr4, TxtAddr5})
        address += t[k];
    PutTrimmed(r.Address, sizeof r.Address, address);
    char text[16];
    if (e.firstListing) {
        std::snprintf(text, sizeof text, "%06u", e.firstListing % 1000000);
        PutTrimmed(r.FirstListing, sizeof r.FirstListing, text);
    }
    std::snprintf(text, sizeof text, "%04u", e.category % 10000u);
    PutTrimmed(r.Category, sizeof r.Category, text);
    std::memcpy(&out, &r, sizeof r);
}

void FillDetail(const View& v, uint32_t i, TDirDetailRec& out)
{
    const Entry e = v.entry(i);
    std::string_view t[HeapTextCount];
    v.texts(i, t);
    TDirDetailRec r;
    std::memset(&r, 0, sizeof r);
    PutTrimmed(r.Tel, sizeof r.Tel, AddressMaster::FieldText(e.tel, sizeof e.tel));
    r.PhoneKind = e.kind;
    AddressMaster::Put(r.PostalCode, t[TxtPostal]);
    AddressMaster::Put(r.Name, t[TxtName]);
    AddressMaster::Put(r.NameKana, t[TxtNameKana]);
    AddressMaster::Put(r.Tdfkn, t[TxtPref]);
    AddressMaster::Put(r.City, t[TxtCity]);
    AddressMaster::Put(r.Address3, t[TxtAddr3]);
    AddressMaster::Put(r.Address4, t[TxtAddr4]);
    AddressMaster::Put(r.Address5, t[TxtAddr5]);
    AddressMaster::Put(r.TdfknKana, t[TxtPrefKana]);
    AddressMaster::Put(r.CityKana, t[TxtCityKana]);
    AddressMaster::Put(r.Address3Kana, t[TxtAddr3Kana]);
    AddressMaster::Put(r.Address4Kana, t[TxtAddr4Kana]);
    AddressMaster::Put(r.Address5Kana, t[TxtAddr5Kana]);
    AddressMaster::Put(r.AreaCode, std::string_view(e.area, sizeof e.area));
    r.PersonFlag = (e.flags & FlagPerson) ? 99 : 0;
    char text[16];
    if (e.firstListing) {
        std::snprintf(text, sizeof text, "%06u", e.firstListing % 1000000);
        AddressMaster::Put(r.FirstListing, text);
    }
    r.Latitude = e.lat;
    r.Longitude = e.lon;
    std::snprintf(text, sizeof text, "%04u", e.category % 10000u);
    AddressMaster::Put(r.Category, text);
    std::memcpy(&out, &r, sizeof r);
}

// ---- the cursor: tag, condition hash, next entry; bytes 12..39 zero

constexpr uint32_t CursorTag = 0x31564C4B; // "KLV1"

struct CursorState
{
    uint32_t tag, hash, next;
};

template <typename F> int32_t Guard(F body)
{
    try {
        return body();
    } catch (...) {
        return KELVOR_DAMAGED;
    }
}

std::string TelDigits(const char* field, size_t n)
{
    std::string digits;
    for (char c : AddressMaster::FieldText(field, n))
        if (c >= '0' && c <= '9')
            digits += c;
    return digits;
}

int32_t TelData(const TDirTelRequestRec* request, std::shared_ptr<const Mapped>& data, std::string& digits)
{
    TDirTelRequestRec r;
    std::memcpy(&r, request, sizeof r);
    std::string folder;
    if (!FolderPath(r.DataFolder, folder))
        return KELVOR_BAD_ARGUMENT;
    digits = TelDigits(r.Tel, sizeof r.Tel);
    if (digits.empty() || digits.size() >= sizeof(Entry::digits))
        return KELVOR_NONE;
    return LoadData(folder, data);
}

} // namespace

KELVOR_EXPORT int32_t kelvor_name_lists_open(const char* include, const char* exclude, int32_t* rc)
{
    int32_t code = KELVOR_OK;
    const int32_t handle = [&]() -> int32_t {
        try {
            auto lists = std::make_shared<NameLists>();
            if (!SplitNames(include, lists->include) || !SplitNames(exclude, lists->exclude)) {
                code = KELVOR_BAD_ARGUMENT;
                return 0;
            }
            if (lists->include.empty() && lists->exclude.empty())
                return 0;
            return nameLists().add(std::move(lists));
        } catch (...) {
            code = KELVOR_DAMAGED;
            return 0;
        }
    }();
    if (rc)
        *rc = code;
    return handle;
}

KELVOR_EXPORT int32_t kelvor_name_lists_close(int32_t handle)
{
    return nameLists().remove(handle) ? KELVOR_OK : KELVOR_BAD_ARGUMENT;
}

KELVOR_EXPORT int32_t kelvor_search_area(TDirSearchCondRec* cond, TDirHitRec* hits, int32_t* count,
                                         TDirCursorRec* cursor, int32_t interval,
                                         TSearchProgressCallback callback)
{
    if (!cond || !hits || !count || !cursor)
        return KELVOR_BAD_ARGUMENT;
    return Guard([&] {
        Query q;
        if (const int32_t rc = ParseCondition(cond, true, q); rc != KELVOR_OK)
            return rc;
        TDirCursorRec cur;
        std::memcpy(&cur, cursor, sizeof cur);
        CursorState st;
        std::memcpy(&st, cur.State, sizeof st);
        uint32_t start = 0;
        if (st.tag == CursorTag) {
            if (st.hash != q.hash)
                return KELVOR_BAD_ARGUMENT;
            start = st.next;
        } else if (st.tag != 0 || st.hash != 0 || st.next != 0) {
            return KELVOR_BAD_ARGUMENT;
        }
        int32_t found = 0;
        uint32_t next = 0;
        const View& v = q.data->view;
        const ScanEnd end = Scan(q, start, interval, callback, found, next, [&](uint32_t e) {
            if (found >= q.pageSize)
                return false;
            TDirHitRec h;
            FillHit(v, e, h);
            std::memcpy(hits + found, &h, sizeof h);
            return true;
        });
        *count = found;
        if (end == ScanEnd::Stopped)
            return KELVOR_STOPPED;
        std::memset(&cur, 0, sizeof cur);
        st = {CursorTag, q.hash, end == ScanEnd::PageFull ? next : q.last};
        std::memcpy(cur.State, &st, sizeof st);
        cur.Finished = end == ScanEnd::Finished ? 1 : 0;
        std::memcpy(cursor, &cur, sizeof cur);
        return found > 0 ? KELVOR_OK : KELVOR_NONE;
    });
}

KELVOR_EXPORT int32_t kelvor_search_area_count(TDirSearchCondRec* cond, int32_t* count, int32_t interval,
                                               TSearchProgressCallback callback)
{
    if (!cond || !count)
        return KELVOR_BAD_ARGUMENT;
    return Guard([&] {
        Query q;
        if (const int32_t rc = ParseCondition(cond, false, q); rc != KELVOR_OK)
            return rc;
        int32_t found = 0;
        uint32_t next = 0;
        const ScanEnd end = Scan(q, 0, interval, callback, found, next, [](uint32_t) { return true; });
        *count = found;
        if (end == ScanEnd::Stopped)
            return KELVOR_STOPPED;
        return found > 0 ? KELVOR_OK : KELVOR_NONE;
    });
}

KELVOR_EXPORT int32_t kelvor_search_tel(TDirTelRequestRec* request, TDirDetailRec* details, int32_t* count)
{
    if (!request || !details || !count)
        return KELVOR_BAD_ARGUMENT;
    return Guard([&] {
        std::shared_ptr<const Mapped> data;
        std::string digits;
        if (const int32_t rc = TelData(request, data, digits); rc != KELVOR_OK)
            return rc;
        const View& v = data->view;
        uint32_t first = 0, last = 0;
        v.telRange(digits, first, last);
        int32_t n = 0;
        for (uint32_t k = first; k < last && n < DirTelBlockSize; ++k) {
            const uint32_t e = v.telEntry(k);
            if (v.entry(e).flags & FlagNotShown)
                continue;
            FillDetail(v, e, details[n++]);
        }
        *count = n;
        if (n > 0)
            return KELVOR_OK;
        return first < last ? KELVOR_NOT_SHOWN : KELVOR_NONE;
    });
}

KELVOR_EXPORT int32_t kelvor_search_tel_one(TDirTelRequestRec* request, TDirDetailRec* detail, int32_t key)
{
    if (!request || !detail)
        return KELVOR_BAD_ARGUMENT;
    return Guard([&] {
        std::shared_ptr<const Mapped> data;
        std::string digits;
        if (const int32_t rc = TelData(request, data, digits); rc != KELVOR_OK)
            return rc;
        const View& v = data->view;
        if (key < 0 || uint32_t(key) >= v.count())
            return KELVOR_NONE;
        const Entry e = v.entry(uint32_t(key));
        if (TelDigits(e.digits, sizeof e.digits) != digits)
            return KELVOR_NONE;
        if (e.flags & FlagNotShown)
            return KELVOR_NOT_SHOWN;
        FillDetail(v, uint32_t(key), *detail);
        return KELVOR_OK;
    });
}

KELVOR_EXPORT int32_t kelvor_search_area_fax(void*, void*, void*, void*, int32_t, void*)
{
    return KELVOR_BOUND_ONLY;
}

KELVOR_EXPORT int32_t kelvor_search_area_count_fax(void*, void*, int32_t, void*)
{
    return KELVOR_BOUND_ONLY;
}

KELVOR_EXPORT int32_t qem_tel_mask(void*, void*)
{
    return KELVOR_BOUND_ONLY;
}
