// "Dladcvor.dll": turns an address written before a municipal merger into today's address, split into
// prefecture, municipality and the rest. The municipality is the longest name that starts the address, of
// today's municipalities ("Adrs.dic") or of the former ones ("Merger.dic"); a former one that went to
// several of today's takes the one of which a town starts the rest.
#include "AdrsConvApi.h"
#include "AddressMaster.h"
#include "MergerTable.h"

#include <algorithm>
#include <cstring>
#include <mutex>

using namespace AddressMaster;
using namespace AdrsConv;

namespace {

struct FormerKeys
{
    int pref = 0;
    std::vector<std::u32string> keys; // normalised, longest first
    std::vector<int> today;           // municipalities of the dictionary
};

// The mergers resolved against one dictionary.
struct Context
{
    std::shared_ptr<const Dictionary> dic;
    std::shared_ptr<const MergerTable> table;
    std::vector<FormerKeys> formers;
};

std::u32string normalised(std::string_view cp932)
{
    std::u32string wide;
    Decode(cp932, wide);
    return Normalise(wide);
}

std::shared_ptr<const Context> build(std::shared_ptr<const Dictionary> dic,
                                     std::shared_ptr<const MergerTable> table)
{
    auto ctx = std::make_shared<Context>();
    const MatchKeys& keys = dic->keys();
    for (const Merger& m : table->mergers) {
        FormerKeys f;
        const std::u32string pref = normalised(m.pref);
        const auto p = std::find(keys.prefNames.begin(), keys.prefNames.end(), pref);
        if (p == keys.prefNames.end())
            continue;
        f.pref = int(p - keys.prefNames.begin());
        for (std::string_view name : m.today) {
            const std::u32string wanted = normalised(name);
            for (int c : dic->prefectures[size_t(f.pref)].cities)
                if (keys.cityNames[size_t(c)] == wanted)
                    f.today.push_back(c);
        }
        if (f.today.empty())
            continue;
        const std::u32string former = normalised(m.former);
        f.keys = {pref + former, former};
        // The county is often left out: 庵原郡蒲原町 is also 蒲原町.
        const size_t gun = former.find(U'郡');
        if (gun != std::u32string::npos && gun >= 1 && gun + 1 < former.size()) {
            f.keys.push_back(pref + former.substr(gun + 1));
            f.keys.push_back(former.substr(gun + 1));
        }
        std::stable_sort(f.keys.begin(), f.keys.end(), [](const std::u32string& a, const std::u32string& b) {
            return a.size() > b.size();
        });
        ctx->formers.push_back(std::move(f));
    }
    ctx->dic = std::move(dic);
    ctx->table = std::move(table);
    return ctx;
}

int32_t load(const char* folder, std::shared_ptr<const Context>& out)
{
    std::shared_ptr<const Dictionary> dic;
    std::shared_ptr<const MergerTable> table;
    if (Load(folder, dic) != DIC_OK || !LoadMergers(folder, table))
        return AdrsConvNoData;
    static std::mutex mutex;
    static std::shared_ptr<const Context> cached;
    std::lock_guard lock(mutex);
    if (!cached || cached->dic != dic || cached->table != table)
        cached = build(std::move(dic), std::move(table));
    out = cached;
    return AdrsConvOk;
}

// The number of characters of text whose normalised form is the first n characters of norm.
size_t originalHead(const std::u32string& text, size_t n)
{
    for (size_t i = 1; i <= text.size(); ++i)
        if (Normalise(text.substr(0, i)).size() >= n)
            return i;
    return text.size();
}

std::u32string_view trimmed(std::u32string_view s)
{
    auto blank = [](char32_t c) { return c == U' ' || c == 0x3000 || c == U'\t'; };
    while (!s.empty() && blank(s.front()))
        s.remove_prefix(1);
    while (!s.empty() && blank(s.back()))
        s.remove_suffix(1);
    return s;
}

// Of several of today's municipalities, the one with the longest town name starting the rest; else the
// first.
int chooseToday(const Dictionary& dic, const std::vector<int>& today, std::u32string_view rest)
{
    if (rest.substr(0, 2) == U"大字")
        rest.remove_prefix(2);
    int best = today.front();
    size_t longest = 0;
    for (int c : today)
        if (const int t = BestTown(dic, c, rest);
            t >= 0 && dic.keys().townNames[size_t(t)].size() > longest) {
            longest = dic.keys().townNames[size_t(t)].size();
            best = c;
        }
    return best;
}

int32_t convert(const TCvtAdrsRequest* request, TCvtAdrsResult* result)
{
    if (!request || !result)
        return AdrsConvBadArgument;
    const std::string folder(FieldText(request->Folder, sizeof request->Folder));
    std::shared_ptr<const Context> ctx;
    if (const int32_t rc = load(folder.c_str(), ctx); rc != AdrsConvOk)
        return rc;
    const Dictionary& dic = *ctx->dic;
    std::u32string text;
    if (!Decode(FieldText(request->Address, CvtAdrsMaxAddress), text))
        return AdrsConvNotFound;
    text = std::u32string(trimmed(text));
    const std::u32string norm = Normalise(text);

    size_t head = 0;
    int city = BestCity(dic, norm, &head);
    // The same name in two prefectures without a prefecture to tell them apart.
    bool ambiguous = false;
    if (city >= 0)
        for (int other : CitiesStartingLike(dic, norm))
            ambiguous = ambiguous || (dic.cities[size_t(other)].pref != dic.cities[size_t(city)].pref &&
                                      CityHead(dic, other, norm) == head);
    for (const FormerKeys& f : ctx->formers)
        for (const std::u32string& key : f.keys)
            if (key.size() > head && std::u32string_view(norm).substr(0, key.size()) == key) {
                head = key.size();
                city = chooseToday(dic, f.today, std::u32string_view(norm).substr(head));
                ambiguous = false;
                break;
            }
    if (city < 0 || ambiguous)
        return AdrsConvNotFound;

    const City& c = dic.cities[size_t(city)];
    const std::string pref(dic.prefectures[size_t(c.pref)].name);
    const std::string rest =
        Encode(std::u32string(trimmed(std::u32string_view(text).substr(originalHead(text, head)))));
    if (pref.size() >= sizeof result->Prefecture || c.name.size() >= sizeof result->City ||
        rest.size() >= sizeof result->Rest)
        return AdrsConvTooLong;
    TCvtAdrsResult r;
    std::memset(&r, 0, sizeof r);
    Put(r.Address, pref + std::string(c.name) + rest);
    Put(r.Prefecture, pref);
    Put(r.City, c.name);
    Put(r.Rest, rest);
    std::memcpy(result, &r, sizeof r);
    return AdrsConvOk;
}

} // namespace

DIC_EXPORT uint8_t CvtAdrs(const TCvtAdrsRequest* request, TCvtAdrsResult* result, int32_t* rc)
{
    const int32_t code = Guard([&] { return convert(request, result); });
    if (rc)
        *rc = code == DIC_INTERNAL ? AdrsConvInternal : code;
    return code == AdrsConvOk;
}

static_assert(std::is_same_v<decltype(&CvtAdrs), CvtAdrsProc>);
