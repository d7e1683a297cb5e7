// An outside library of the map adaptors, loaded from a folder with the results and messages of the wrapper
// convention: 0 loaded, 100 file missing (no message), 101 not loadable, 102 an entry point missing.
#pragma once

#include "search/DicWrapper.h"

#include <QString>

#include <initializer_list>
#include <memory>

class QWidget;

enum TMapLibraryResult { mlOk = 0, mlMissing = 100, mlNotLoaded = 101, mlNoEntry = 102 };

class TMapLibrary
{
public:
    // Loads folder + fileName and binds entries (in order); a failure shows its message over owner with
    // the stop icon. A library already loaded answers 0 at once.
    int Load(QWidget* owner, const QString& folder, const QString& fileName,
             std::initializer_list<DicLibrary::Entry> entries);
    bool Loaded() const { return bool(m_library); }
    void Free() { m_library.reset(); }

private:
    std::unique_ptr<DicLibrary> m_library;
};
