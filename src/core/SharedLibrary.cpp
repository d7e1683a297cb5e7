// Reference-counted run-time library with its load-failure boxes.
#include "core/SharedLibrary.h"

#include "platform/MessageSeam.h"

namespace {

void ShowLoadError(const QString& text, const QString& caption)
{
    MsgSeam::Request request;
    request.source = MsgSeam::Source::Application;
    request.text = text;
    request.caption = caption;
    request.flags = MsgSeam::MbIconStop;
    MsgSeam::Show(request);
}

} // namespace

int TSharedLibrary::Load(const QString& folder, const std::function<void()>& onLoaded)
{
    int code = Loaded;
    {
        QWriteLocker lock(&m_lock);
        ++m_refCount;
        if (m_refCount > 1)
            return Loaded;
        m_handle = LibraryLoader::Load(folder, m_fileName);
        if (!m_handle) {
            code = LoadFailed;
        } else {
            m_entry = LibraryLoader::Symbol(m_handle, m_entryName);
            if (m_entry) {
                if (onLoaded)
                    onLoaded();
                return Loaded;
            }
            // Released at once, as the last free would.
            LibraryLoader::Free(m_handle);
            m_handle = nullptr;
            m_refCount = 0;
            code = EntryPointMissing;
        }
    }
    // The boxes are shown without the lock: a modal box runs the event loop, where other calls may come.
    if (code == LoadFailed)
        ShowLoadError(m_fileName + QStringLiteral("\r\nDLLのロードに失敗しました"),
                      m_fileName + QStringLiteral(" LoadLibrary Error"));
    else
        ShowLoadError(QLatin1String(m_entryName) + QStringLiteral("\r\n関数の割り当てに失敗しました"),
                      m_fileName + QStringLiteral(" GetProcAddress Error"));
    return code;
}

void TSharedLibrary::Free()
{
    QWriteLocker lock(&m_lock);
    if (m_refCount <= 0)
        return;
    --m_refCount;
    if (m_refCount == 0 && m_handle) {
        LibraryLoader::Free(m_handle);
        m_handle = nullptr;
        m_entry = nullptr;
    }
}
