// The system-time record handed to the outside libraries: eight 16-bit fields, as the system's clock reports
// them.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)
struct TSystemTime
{
    uint16_t wYear;
    uint16_t wMonth;     // 1 to 12
    uint16_t wDayOfWeek; // 0 Sunday to 6 Saturday
    uint16_t wDay;
    uint16_t wHour;
    uint16_t wMinute;
    uint16_t wSecond;
    uint16_t wMilliseconds;
};
#pragma pack(pop)

static_assert(sizeof(TSystemTime) == 16);
static_assert(offsetof(TSystemTime, wYear) == 0);
static_assert(offsetof(TSystemTime, wMonth) == 2);
static_assert(offsetof(TSystemTime, wDayOfWeek) == 4);
static_assert(offsetof(TSystemTime, wDay) == 6);
static_assert(offsetof(TSystemTime, wHour) == 8);
static_assert(offsetof(TSystemTime, wMinute) == 10);
static_assert(offsetof(TSystemTime, wSecond) == 12);
static_assert(offsetof(TSystemTime, wMilliseconds) == 14);
