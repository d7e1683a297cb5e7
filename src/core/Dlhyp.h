// Hyphenation of telephone numbers through the run-time loaded library "Dlhyp.dll", counted by reference.
#pragma once

#include "platform/Cp932.h"

#include <QString>

// Codes of the wrapper; any other code is the library's own.
enum : int {
    HyphenOk = 0,
    HyphenLoadError = 11,
    HyphenEntryPointError = 12,
    HyphenNotLoaded = 13,
};

// Raises the reference count; the first reference loads folder + "Dlhyp.dll" and remembers dataFolder as the
// default. Answers 0, 11 (the reference stays counted) or 12 (the reference is dropped again).
int LoadHyphenLibrary(const QString& libraryFolder, const QString& dataFolder);
// Drops one reference; the last one frees the library.
void FreeHyphenLibrary();
// Replaces number by its hyphenated form when the library answers 0; an empty dataFolder means the default.
// Answers 13 while the library is not loaded, else the library's code. Safe from any thread.
int HyphenatePhone(AnsiString& number, const QString& dataFolder = QString());
// The trimmed text, hyphenated when the library is loaded and succeeds.
AnsiString HyphenatePhoneText(const AnsiString& text, const QString& dataFolder = QString());
