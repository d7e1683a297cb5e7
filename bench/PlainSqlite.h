// Helpers of the benchmarks that compare the table engine with plain SQLite statements.
#pragma once

#include "platform/TableEngine.h"

#include <QElapsedTimer>

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>

inline double ms(const QElapsedTimer& t)
{
    return double(t.nsecsElapsed()) / 1e6;
}

// The engine's case-insensitive order, for the indexes of a table file opened with plain SQLite.
inline int collate(void*, int an, const void* a, int bn, const void* b)
{
    return TableEngine::compareIgnoringCase(static_cast<const char*>(a), an, static_cast<const char*>(b), bn);
}

inline void check(int rc, sqlite3* db)
{
    if (rc != SQLITE_OK && rc != SQLITE_DONE && rc != SQLITE_ROW) {
        std::fprintf(stderr, "sqlite: %s\n", sqlite3_errmsg(db));
        std::exit(1);
    }
}
