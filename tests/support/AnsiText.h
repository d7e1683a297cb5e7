// Shorthand for CP932 text in tests, written as UTF-8 literals.
#pragma once

#include "platform/Cp932.h"

inline AnsiString A(const char* utf8)
{
    return ToAnsi(QString::fromUtf8(utf8));
}
