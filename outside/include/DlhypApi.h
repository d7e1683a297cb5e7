// Boundary of the hyphenation library "Dlhyp.dll": its entry point and the size of its result buffer.
#pragma once

#include "SystemTimeRec.h"

// The result buffer of GetHyphen; a result of exactly this length carries no terminating zero.
constexpr int HyphenResultSize = 14;

// Result codes of the stand-in library (0 is success; the wrapper passes any other code on).
enum DlhypCode : int {
    DlhypOk = 0,
    DlhypBadArgument = 1,  // a null pointer or a number that is not all digits
    DlhypNotParsed = 2,    // the number is not a telephone number
    DlhypNotValid = 3,     // not a number of the Japanese numbering plan
    DlhypNotFormatted = 4, // no hyphenated form that keeps the digits and fits the buffer
    DlhypInternal = 9,     // an unexpected failure inside the library
};

extern "C" {
// number: zero-terminated digits; result: HyphenResultSize bytes, zero-filled by the caller; dataFolder:
// zero-terminated folder with a final separator; time: the current time in UTC.
using GetHyphenProc = int (*)(const char* number, char* result, const char* dataFolder,
                              const TSystemTime* time);
}
