// dlopen-based library loader.
#include "platform/LibraryLoader.h"

#include <QFile>
#include <QHash>
#include <QMutex>
#include <dlfcn.h>

namespace LibraryLoader {

namespace {

struct Failures
{
    QMutex mutex;
    QString load;
    QString symbolFile;
    QString symbol;
    QHash<Handle, QString> names; // handle -> file name, for symbol failures
};

Failures& failures()
{
    static Failures f;
    return f;
}

} // namespace

Handle Load(const QString& folder, const QString& fileName, QString* error)
{
    Failures& f = failures();
    {
        QMutexLocker lock(&f.mutex);
        if (!f.load.isEmpty() && f.load.compare(fileName, Qt::CaseInsensitive) == 0) {
            if (error)
                *error = QStringLiteral("load refused by test hook");
            return nullptr;
        }
    }
    QString path = folder;
    if (!path.isEmpty() && !path.endsWith(u'/'))
        path += u'/';
    path += fileName;
    Handle h = dlopen(QFile::encodeName(path).constData(), RTLD_NOW | RTLD_LOCAL);
    if (!h) {
        if (error)
            *error = QString::fromLocal8Bit(dlerror());
        return nullptr;
    }
    QMutexLocker lock(&f.mutex);
    f.names.insert(h, fileName);
    return h;
}

void* Symbol(Handle handle, const char* name)
{
    if (!handle)
        return nullptr;
    Failures& f = failures();
    {
        QMutexLocker lock(&f.mutex);
        if (!f.symbol.isEmpty() && f.symbol == QLatin1String(name) &&
            f.names.value(handle).compare(f.symbolFile, Qt::CaseInsensitive) == 0)
            return nullptr;
    }
    return dlsym(handle, name);
}

void Free(Handle handle)
{
    if (!handle)
        return;
    {
        Failures& f = failures();
        QMutexLocker lock(&f.mutex);
        f.names.remove(handle);
    }
    dlclose(handle);
}

void SetFailingLoad(const QString& fileName)
{
    QMutexLocker lock(&failures().mutex);
    failures().load = fileName;
}

void SetFailingSymbol(const QString& fileName, const QString& symbol)
{
    QMutexLocker lock(&failures().mutex);
    failures().symbolFile = fileName;
    failures().symbol = symbol;
}

void ClearFailures()
{
    SetFailingLoad(QString());
    SetFailingSymbol(QString(), QString());
}

} // namespace LibraryLoader
