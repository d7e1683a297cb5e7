// Run-time loading of the outside libraries (dlopen/dlsym), with a test hook that makes a load or lookup fail.
#pragma once

#include <QString>

namespace LibraryLoader {

using Handle = void*;

// Loads folder + fileName; null on failure (reason in *error).
Handle Load(const QString& folder, const QString& fileName, QString* error = nullptr);
// The entry point name of a loaded library; null when missing.
void* Symbol(Handle handle, const char* name);
void Free(Handle handle);

// Test hooks: loads of fileName fail; lookups of symbol in fileName fail. Empty names clear the hook.
void SetFailingLoad(const QString& fileName);
void SetFailingSymbol(const QString& fileName, const QString& symbol);
void ClearFailures();

} // namespace LibraryLoader
