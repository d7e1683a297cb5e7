// A run-time loaded library with one entry point, shared by reference count across the program, whose load
// failures show the application's message boxes.
#pragma once

#include "platform/LibraryLoader.h"

#include <QReadWriteLock>
#include <QString>

#include <functional>

class TSharedLibrary
{
public:
    enum : int { Loaded = 0, LoadFailed = 1, EntryPointMissing = 2 };

    TSharedLibrary(const QString& fileName, const char* entryName)
        : m_fileName(fileName), m_entryName(entryName)
    {
    }

    // Takes one reference; the first loads folder + the file, binds the entry point and runs onLoaded under
    // the write lock. LoadFailed: a box says so and the reference stays counted (the caller frees it like
    // any other); EntryPointMissing: a box says so, the reference is dropped and the module freed.
    int Load(const QString& folder, const std::function<void()>& onLoaded = {});
    // Drops one reference; the last frees the module. Nothing when none is held.
    void Free();

    // Calls share the lock for reading, so threads call side by side while a free waits for them.
    QReadWriteLock& Lock() { return m_lock; }
    // The entry point, null while not loaded; read it under Lock().
    void* Entry() const { return m_entry; }

private:
    QString m_fileName;
    const char* m_entryName;
    QReadWriteLock m_lock;
    LibraryLoader::Handle m_handle = nullptr;
    void* m_entry = nullptr;
    int m_refCount = 0;
};
