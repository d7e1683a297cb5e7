// Boundary of the dictionary libraries (postal codes, addresses, coordinates, area lists, address
// conversion, exchange areas): their fixed-layout records, entry points and result codes.
#pragma once

#include <cstddef>
#include <cstdint>

// Texts are CP932, zero-padded inside their field (a text may fill its field without a zero).
#pragma pack(push, 1)

// "Dlzplst.dll": one municipality of a postal-code answer.
struct TPosCityRec
{
    char JisCode[6];
    char Reading[40]; // prefecture and municipality, half-width katakana
    char Name[40];    // prefecture and municipality
    int16_t TownCount;
    int16_t OfficeCount;
};

// "Dlzplst.dll": one town (or the town of one large office).
struct TPosTownRec
{
    char PostalCode[8];
    char Reading[102];
    char Name[102];
    char BlockCode[7];
    char Reserved[3];
};

// "Dlzs.dll": one municipality of an address answer.
struct TAdrsCityRec
{
    char JisCode[6];
    char PrefReading[10];
    char PrefName[10];
    char CityReading[26];
    char CityName[26];
    char Reserved[2];
};

// "Dlzs.dll": one town (or the town of one large office).
struct TAdrsTownRec
{
    char PostalCode[10];
    char Reading[102];
    char Name[102];
    char BlockCode[7];
    char Reserved[3];
};

// Both libraries: one large office, beside the town record of the same index.
struct TLargeOfficeRec
{
    char Reading[62];
    char Name[62];
};

// "Dlmtad.dll": the details and position of one area code.
struct TMtAdrsAnswerRec
{
    uint32_t Latitude; // 1/256 arc-second, Tokyo datum
    uint32_t Longitude;
    char PostalCode[8];
    char PrefReading[10];
    char PrefName[10];
    char CityReading[26];
    char CityName[26];
    char OazaReading[38];
    char OazaName[38];
    char AzaReading[34];
    char AzaName[38];
};

// "Dlk1ad.dll": one prefecture.
struct TKanaPrefRec
{
    int16_t Code;
    char Reserved[2];
    char Name[10];
    uint16_t CityCount;
};

// "Dlk1ad.dll": one municipality.
struct TKanaCityRec
{
    char Code[6]; // 5 digits and a zero
    char Head[2]; // first half-width kana of the reading
    char Name[40];
    uint16_t OazaCount;
};

// "Dlk1ad.dll": one oaza or 丁目.
struct TKanaOazaRec
{
    char AreaCode[8];
    char Reserved[4];
    char Head[2];
    char Name[40];
    uint16_t AreaCount; // 丁目 below an oaza of the plain list
};

// "DLZsCnv.dll": one converted address.
struct TAdrsConvAnswerRec
{
    char JisCode[6];
    char PostalCode[10];
    char PrefReading[10];
    char PrefName[10];
    char CityReading[26];
    char CityName[26];
    char RestReading[102];
    char Rest[102];
    char BlockCode[7];
    char Reserved[3];
};

// "Dltel.dll": one exchange area.
struct TKykbnCityRec
{
    char JisCode[6];
    char Name[40]; // prefecture and municipality
    char Reserved[2];
    int32_t TownCount;
};

// "Dltel.dll": one town of an exchange area.
struct TKykbnTownRec
{
    char Head[2];
    char PostalCode[8];
    char AreaCode[12]; // municipality code and block code
    char Name[74];
};

#pragma pack(pop)

static_assert(sizeof(TPosCityRec) == 90);
static_assert(offsetof(TPosCityRec, Reading) == 6);
static_assert(offsetof(TPosCityRec, Name) == 46);
static_assert(offsetof(TPosCityRec, TownCount) == 86);
static_assert(offsetof(TPosCityRec, OfficeCount) == 88);
static_assert(sizeof(TPosTownRec) == 222);
static_assert(offsetof(TPosTownRec, Reading) == 8);
static_assert(offsetof(TPosTownRec, Name) == 110);
static_assert(offsetof(TPosTownRec, BlockCode) == 212);
static_assert(offsetof(TPosTownRec, Reserved) == 219);
static_assert(sizeof(TAdrsCityRec) == 80);
static_assert(offsetof(TAdrsCityRec, PrefReading) == 6);
static_assert(offsetof(TAdrsCityRec, PrefName) == 16);
static_assert(offsetof(TAdrsCityRec, CityReading) == 26);
static_assert(offsetof(TAdrsCityRec, CityName) == 52);
static_assert(offsetof(TAdrsCityRec, Reserved) == 78);
static_assert(sizeof(TAdrsTownRec) == 224);
static_assert(offsetof(TAdrsTownRec, Reading) == 10);
static_assert(offsetof(TAdrsTownRec, Name) == 112);
static_assert(offsetof(TAdrsTownRec, BlockCode) == 214);
static_assert(offsetof(TAdrsTownRec, Reserved) == 221);
static_assert(sizeof(TLargeOfficeRec) == 124);
static_assert(offsetof(TLargeOfficeRec, Name) == 62);
static_assert(sizeof(TMtAdrsAnswerRec) == 236);
static_assert(offsetof(TMtAdrsAnswerRec, Longitude) == 4);
static_assert(offsetof(TMtAdrsAnswerRec, PostalCode) == 8);
static_assert(offsetof(TMtAdrsAnswerRec, PrefReading) == 16);
static_assert(offsetof(TMtAdrsAnswerRec, PrefName) == 26);
static_assert(offsetof(TMtAdrsAnswerRec, CityReading) == 36);
static_assert(offsetof(TMtAdrsAnswerRec, CityName) == 62);
static_assert(offsetof(TMtAdrsAnswerRec, OazaReading) == 88);
static_assert(offsetof(TMtAdrsAnswerRec, OazaName) == 126);
static_assert(offsetof(TMtAdrsAnswerRec, AzaReading) == 164);
static_assert(offsetof(TMtAdrsAnswerRec, AzaName) == 198);
static_assert(sizeof(TKanaPrefRec) == 16);
static_assert(offsetof(TKanaPrefRec, Reserved) == 2);
static_assert(offsetof(TKanaPrefRec, Name) == 4);
static_assert(offsetof(TKanaPrefRec, CityCount) == 14);
static_assert(sizeof(TKanaCityRec) == 50);
static_assert(offsetof(TKanaCityRec, Head) == 6);
static_assert(offsetof(TKanaCityRec, Name) == 8);
static_assert(offsetof(TKanaCityRec, OazaCount) == 48);
static_assert(sizeof(TKanaOazaRec) == 56);
static_assert(offsetof(TKanaOazaRec, Reserved) == 8);
static_assert(offsetof(TKanaOazaRec, Head) == 12);
static_assert(offsetof(TKanaOazaRec, Name) == 14);
static_assert(offsetof(TKanaOazaRec, AreaCount) == 54);
static_assert(sizeof(TAdrsConvAnswerRec) == 302);
static_assert(offsetof(TAdrsConvAnswerRec, PostalCode) == 6);
static_assert(offsetof(TAdrsConvAnswerRec, PrefReading) == 16);
static_assert(offsetof(TAdrsConvAnswerRec, PrefName) == 26);
static_assert(offsetof(TAdrsConvAnswerRec, CityReading) == 36);
static_assert(offsetof(TAdrsConvAnswerRec, CityName) == 62);
static_assert(offsetof(TAdrsConvAnswerRec, RestReading) == 88);
static_assert(offsetof(TAdrsConvAnswerRec, Rest) == 190);
static_assert(offsetof(TAdrsConvAnswerRec, BlockCode) == 292);
static_assert(offsetof(TAdrsConvAnswerRec, Reserved) == 299);
static_assert(sizeof(TKykbnCityRec) == 52);
static_assert(offsetof(TKykbnCityRec, Name) == 6);
static_assert(offsetof(TKykbnCityRec, Reserved) == 46);
static_assert(offsetof(TKykbnCityRec, TownCount) == 48);
static_assert(sizeof(TKykbnTownRec) == 96);
static_assert(offsetof(TKykbnTownRec, PostalCode) == 2);
static_assert(offsetof(TKykbnTownRec, AreaCode) == 10);
static_assert(offsetof(TKykbnTownRec, Name) == 22);

// Result codes shared by the dictionary libraries. 0, 4 and 8 are answers; 1 is the converter's partial
// answer (the municipality without a town); Dltel's town fetch reports 0 (last block), 1 (more follow) and 8
// (no towns) through its status.
inline constexpr int32_t DIC_OK = 0;
inline constexpr int32_t DIC_PARTIAL = 1;
inline constexpr int32_t DIC_BAD_INPUT = 4;       // the input cannot be searched (too few digits, no text)
inline constexpr int32_t DIC_NOT_FOUND = 8;       // nothing matches
inline constexpr int32_t DIC_BAD_ARGUMENT = 12;   // a null pointer or a negative count
inline constexpr int32_t DIC_NO_DICTIONARY = 13;  // the dictionary file is missing or unreadable
inline constexpr int32_t DIC_BAD_DICTIONARY = 14; // the dictionary file is damaged
inline constexpr int32_t DIC_BAD_HANDLE = 15;     // a search or fetch handle that is not open
inline constexpr int32_t DIC_NOT_SUPPORTED = 16; // an entry point that this library only provides for binding
inline constexpr int32_t DIC_INTERNAL = 19;      // an unexpected failure inside the library

// Dltel's town fetch statuses.
inline constexpr int32_t DLTL_LAST_BLOCK = 0;
inline constexpr int32_t DLTL_MORE_BLOCKS = 1;

// Records per block of Dltel's answers (exchange areas and towns).
constexpr int KykbnBlockSize = 20;
// Prefecture slots of the region list.
constexpr int KanaRegionSlots = 10;

// The dictionary file in the dictionary folder, shared by all six libraries.
inline constexpr const char* AddressDicFile = "Adrs.dic";

extern "C" {

// Every folder argument is the dictionary folder, zero-terminated, with or without a final "/".

// "Dlzplst.dll". The digits (3 to 7) are a prefix of the postal codes searched.
typedef int32_t (*TDLZPLSTFirst)(const char* digits, int32_t* cityCount, int16_t* code, const char* folder);
typedef int32_t (*TDLZPLSTCityList)(int32_t handle, TPosCityRec* cities, int32_t reserved, int32_t n);
typedef int32_t (*TDLZPLSTTownList)(int32_t handle, const TPosCityRec* city, TPosTownRec* towns,
                                    int32_t reserved, int32_t n);
typedef int32_t (*TDLZPLSTLgTownList)(int32_t handle, const TPosCityRec* city, TPosTownRec* towns,
                                      TLargeOfficeRec* offices, int32_t reserved, int32_t n);
typedef int32_t (*TDLZPLSTClose)(int32_t handle);
typedef int32_t (*TDLZPLSTPost)(int32_t handle);

// "Dlzs.dll".
typedef int32_t (*TDLZsJisCount)(const char* address, int32_t* n, const char* folder);
typedef int32_t (*TDLZsJisList)(const char* address, TAdrsCityRec* cities, int32_t n, const char* folder);
typedef int32_t (*TDLZsTownCount)(const char* address, const TAdrsCityRec* city, int32_t* n,
                                  const char* folder);
typedef int32_t (*TDLZsTownList)(const char* address, const TAdrsCityRec* city, TAdrsTownRec* towns,
                                 int32_t n, const char* folder);
typedef int32_t (*TDLZsLargeList)(const char* address, const TAdrsCityRec* city, TAdrsTownRec* towns,
                                  TLargeOfficeRec* offices, int32_t n, const char* folder);

// "Dlmtad.dll". The code is 11 characters: municipality (5), oaza (3), 丁目 (3).
typedef int32_t (*TDLMTAdrs)(const char* code, TMtAdrsAnswerRec* answer, const char* folder);

// "Dlk1ad.dll".
typedef int32_t (*TDLK1ADTdfkn)(TKanaPrefRec* prefectures, const char* folder);
typedef int32_t (*TDLK1ADTdfknPart)(int32_t region, TKanaPrefRec* prefectures, const char* folder);
typedef int32_t (*TDLK1ADCityAll)(int32_t prefecture, TKanaCityRec* cities, int32_t n, const char* folder);
typedef int32_t (*TDLK1ADOhazaAll)(const char* cityCode, TKanaOazaRec* oazas, int32_t n, const char* folder);
typedef int32_t (*TDLK1ADAzaAll)(const char* oazaCode, TKanaOazaRec* azas, int32_t n, const char* folder);

// "DLZsCnv.dll".
typedef int32_t (*TDLZSCAdrs)(const char* address, TAdrsConvAnswerRec* answer, const char* folder);

// "Dltel.dll".
typedef int32_t (*TDLTLPrefix)(const char* digits, char* areaCode, int16_t* n, const char* folder);
typedef int32_t (*TDLTLCity2)(const char* digits, TKykbnCityRec* areas, const char* folder);
typedef int32_t (*TDLTLTown2First)(const char* digits, const TKykbnCityRec* area, TKykbnTownRec* block,
                                   int32_t* status, const char* folder);
typedef int32_t (*TDLTLTown2Next)(int32_t handle, TKykbnTownRec* block);
typedef int32_t (*TDLTLTown2Close)(int32_t handle);
typedef int32_t (*TDLTLTown2Prev)(int32_t handle, TKykbnTownRec* block);

} // extern "C"
