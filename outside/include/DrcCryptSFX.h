// Boundary of the self-restoring archive library "DrcCryptSFX.dll": its option record, the file-name block,
// the entry points and the result codes.
#pragma once

#include <cstddef>
#include <cstdint>

#pragma pack(push, 1)

// All zero except the three fields below.
struct TCryptSfxOptions
{
    char Reserved1[40];
    char Password[44];    // single-byte characters, zero-terminated
    int32_t Mode;         // always 1
    char WorkFolder[256]; // full path with a final "/", zero-terminated
};

// The name (no folder) of the work text file at offset 0, zero-terminated; the rest zero.
struct TCryptSfxFileName
{
    char Name[256];
};

#pragma pack(pop)

static_assert(sizeof(TCryptSfxOptions) == 344);
static_assert(offsetof(TCryptSfxOptions, Password) == 40);
static_assert(offsetof(TCryptSfxOptions, Mode) == 84);
static_assert(offsetof(TCryptSfxOptions, WorkFolder) == 88);
static_assert(sizeof(TCryptSfxFileName) == 256);

// Results of DCSXCreate.
enum : int32_t {
    DCSX_OK = 0,
    DCSX_BAD_ARGUMENT = 1, // a null pointer, an empty or unterminated field, a name with a folder in it
    DCSX_NO_INPUT = 2,     // the work text file cannot be read
    DCSX_NO_RESTORER = 3,  // the restorer program beside the library is missing
    DCSX_CIPHER_ERROR = 4, // the cipher library failed
    DCSX_WRITE_ERROR = 5,  // the program file cannot be written
    DCSX_DISK_FULL = 11,   // not enough free space for the program file
};

extern "C" {
// options and fileName as above; owner is the caller's window (unused here). On DCSX_OK the program file
// lies in the work folder under the work file's name with the extension ".exe".
typedef int32_t (*TDCSXCreate)(const TCryptSfxOptions* options, const TCryptSfxFileName* fileName,
                               void* owner);
// Present for the library to count as complete; the program never calls it.
typedef int32_t (*TDCSXCreateTC)(const TCryptSfxOptions* options, const TCryptSfxFileName* fileName,
                                 void* owner);
}

inline constexpr const char* DCSXCreateName = "DCSXCreate";
inline constexpr const char* DCSXCreateTCName = "DCSXCreate_TC";
// The restorer program the library puts in front of every archive; it lies beside the library.
inline constexpr const char* CryptSfxRestorerFile = "SfxRestore";
// Test switch: when set to a number, DCSXCreate answers it without doing anything.
inline constexpr const char* CryptSfxForceResultVariable = "TOVAREL_DCSX_RESULT";
