// The conditions of the name and address search as plain rules: control characters, the name check of
// each job, and the include and exclude name texts handed to the library.
#pragma once

#include "platform/Cp932.h"

#include <QString>
#include <QStringList>

// Drops single bytes below 0x20 and single bytes 0x80-0xA0 and 0xE0-0xFF that start no double-byte
// character; ASCII, half-width katakana and double-byte characters stay.
AnsiString StripControlChars(const AnsiString& text);
// The name without control characters and without any half-width or full-width blank is empty.
bool NameIsBlank(const AnsiString& name);

// What the name check needs of the window.
struct TNameCheckInput
{
    int job = 2; // 0 count, 1 whole-data export, 2 search
    int region = 0;
    int prefectureCount = 1; // selected prefectures
    int phoneKinds = 15;
    AnsiString name;
    bool citySpecific = false; // the first selected city is not "指定しない"
    bool oazaSpecific = false; // the first selected oaza is not "指定しない"
};
struct TNameCheckResult
{
    QString refusal; // "" when the job may run
    bool focusName = false;
};
TNameCheckResult CheckNameConditions(const TNameCheckInput& in);

// The name (when not empty) and each include name, each followed by ",", then one zero byte.
AnsiString IncludeNamesText(const AnsiString& name, const QStringList& names);
// Each exclude name followed by ",", then one zero byte.
AnsiString ExcludeNamesText(const QStringList& names);
