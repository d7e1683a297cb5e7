// Boundary of the name-reading dictionary "DlName99a.dll": its candidate record, entry points and result
// codes.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// One candidate of a list answer. Both texts are CP932 and end at the first zero byte or at the end of
// the field; the library always leaves room for the zero, so a text never takes more than 11 bytes.
struct TNameCandidateRec
{
    char Reading[12]; // half-width katakana
    char Word[12];    // written form
};

#pragma pack(pop)

static_assert(sizeof(TNameCandidateRec) == 24);
static_assert(offsetof(TNameCandidateRec, Reading) == 0);
static_assert(offsetof(TNameCandidateRec, Word) == 12);

// Longest text a candidate field carries.
constexpr int NameCandidateTextMax = 11;

// Results of the four entry points.
enum : int32_t {
    DLNM_OK = 0,             // found / filled
    DLNM_BAD_ARGUMENT = 1,   // null pointer, negative count or a reserved argument other than 0
    DLNM_NO_DICTIONARY = 2,  // the dictionary file is missing or unreadable
    DLNM_BAD_DICTIONARY = 3, // the dictionary file is damaged
    DLNM_NOT_FOUND = 8,      // no candidate for the reading
};

extern "C" {

// The reading (zero-terminated CP932 half-width katakana) is a prefix: every entry whose reading starts with
// it is a candidate, in the dictionary's order (readings ascending, a reading's written forms by frequency).
// reserved is 0. dicFolder is the folder of the dictionary files, with or without a final "/".
typedef int32_t (*TDLNMCount)(const char* reading, int32_t reserved, int32_t* count, const char* dicFolder);
// Fills at most n records of list (which the caller has zeroed) with the first candidates.
typedef int32_t (*TDLNMList)(const char* reading, int32_t reserved, TNameCandidateRec* list, int32_t n,
                             const char* dicFolder);

} // extern "C"

// Entry point names, as looked up at run time.
inline constexpr const char* DLNMSeiCountName = "DLNMSeiCount";
inline constexpr const char* DLNMMeiCountName = "DLNMMeiCount";
inline constexpr const char* DLNMSeiListName = "DLNMSeiList";
inline constexpr const char* DLNMMeiListName = "DLNMMeiList";

// Files of the dictionary in its folder: one for surnames, one for given names.
inline constexpr const char* NameDicSeiFile = "NmSei.dic";
inline constexpr const char* NameDicMeiFile = "NmMei.dic";
