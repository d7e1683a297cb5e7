// Fixed-layout records exchanged with the directory search library: the details of one directory entry.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
// Texts are CP932, zero-terminated inside their field unless they fill it; readers trim blanks.
struct TDirDetailRec
{
    char Tel[14];
    char Unused1[6];
    int32_t PhoneKind; // 0 normal, 1 fax, 2 shared phone and fax, 3 main line
    char PostalCode[8];
    char Name[120];
    char NameKana[62];
    char Tdfkn[10];
    char City[26];
    char Address3[38];
    char Address4[38];
    char Address5[82];
    char TdfknKana[10];
    char CityKana[26];
    char Address3Kana[38];
    char Address4Kana[34];
    char Address5Kana[34];
    char AreaCode[16]; // characters 1-5 municipality code, 6-11 block code
    char Unused2[2];
    int32_t PersonFlag;   // 99 a private person
    char FirstListing[8]; // "yyyymm"
    int32_t Latitude;     // library units; the card stores value * 1000 / 256
    int32_t Longitude;
    char Category[6]; // 2-digit major then 2-digit minor code
    char Unused3[2];
};
#pragma pack(pop)

static_assert(sizeof(TDirDetailRec) == 596);
static_assert(offsetof(TDirDetailRec, Tel) == 0);
static_assert(offsetof(TDirDetailRec, Unused1) == 14);
static_assert(offsetof(TDirDetailRec, PhoneKind) == 20);
static_assert(offsetof(TDirDetailRec, PostalCode) == 24);
static_assert(offsetof(TDirDetailRec, Name) == 32);
static_assert(offsetof(TDirDetailRec, NameKana) == 152);
static_assert(offsetof(TDirDetailRec, Tdfkn) == 214);
static_assert(offsetof(TDirDetailRec, City) == 224);
static_assert(offsetof(TDirDetailRec, Address3) == 250);
static_assert(offsetof(TDirDetailRec, Address4) == 288);
static_assert(offsetof(TDirDetailRec, Address5) == 326);
static_assert(offsetof(TDirDetailRec, TdfknKana) == 408);
static_assert(offsetof(TDirDetailRec, CityKana) == 418);
static_assert(offsetof(TDirDetailRec, Address3Kana) == 444);
static_assert(offsetof(TDirDetailRec, Address4Kana) == 482);
static_assert(offsetof(TDirDetailRec, Address5Kana) == 516);
static_assert(offsetof(TDirDetailRec, AreaCode) == 550);
static_assert(offsetof(TDirDetailRec, Unused2) == 566);
static_assert(offsetof(TDirDetailRec, PersonFlag) == 568);
static_assert(offsetof(TDirDetailRec, FirstListing) == 572);
static_assert(offsetof(TDirDetailRec, Latitude) == 580);
static_assert(offsetof(TDirDetailRec, Longitude) == 584);
static_assert(offsetof(TDirDetailRec, Category) == 588);
static_assert(offsetof(TDirDetailRec, Unused3) == 594);
