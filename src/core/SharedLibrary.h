// A run-time loaded library with its entry points, shared by reference count across the program, whose load
// failures show the application's message boxes.
#pragma once

#include "platform/LibraryLoader.h"

#include <QReadWriteLock>
#include <QString>

#include <functional>
#include <vector>

class TSharedLibrary
{
public:
    enum : int { Loaded = 0, LoadFailed = 1, EntryPointMissing = 2 };

    // How the load-failure boxes read: the file's name in the caption, or the caption "Tovarel" with the
    // failure's name in the text.
    enum class Boxes { FileCaption, ProgramCaption };

    TSharedLibrary(const QString& fileName, const char* entryName)
        : m_fileName(fileName), m_entryNames{entryName}, m_entries(1, nullptr)
    {
    }
    // Every entry point is required; they are bound in the order given.
    TSharedLibrary(const QString& fileName, std::vector<const char*> entryNames, Boxes boxes)
        : m_fileName(fileName), m_entryNames(std::move(entryNames)), m_entries(m_entryNames.size(), nullptr),
          m_boxes(boxes)
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
    // Entry point i, null while not loaded; read it under Lock().
    void* Entry(size_t i = 0) const { return m_entries[i]; }

private:
    QString m_fileName;
    std::vector<const char*> m_entryNames;
    std::vector<void*> m_entries;
    Boxes m_boxes = Boxes::FileCaption;
    QReadWriteLock m_lock;
    LibraryLoader::Handle m_handle = nullptr;
    int m_refCount = 0;
};
