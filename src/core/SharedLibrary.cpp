// Reference-counted run-time library with its load-failure boxes.
#include "core/SharedLibrary.h"

#include "platform/MessageSeam.h"

#include <algorithm>

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
    const char* missing = nullptr;
    {
        QWriteLocker lock(&m_lock);
        ++m_refCount;
        if (m_refCount > 1)
            return Loaded;
        m_handle = LibraryLoader::Load(folder, m_fileName);
        if (!m_handle) {
            code = LoadFailed;
        } else {
            for (size_t i = 0; i < m_entryNames.size() && !missing; ++i)
                if (!(m_entries[i] = LibraryLoader::Symbol(m_handle, m_entryNames[i])))
                    missing = m_entryNames[i];
            if (!missing) {
                if (onLoaded)
                    onLoaded();
                return Loaded;
            }
            // Released at once, as the last free would.
            std::fill(m_entries.begin(), m_entries.end(), nullptr);
            LibraryLoader::Free(m_handle);
            m_handle = nullptr;
            m_refCount = 0;
            code = EntryPointMissing;
        }
    }
    // The boxes are shown without the lock: a modal box runs the event loop, where other calls may come.
    if (m_boxes == Boxes::ProgramCaption) {
        const QString caption = QStringLiteral("Tovarel");
        if (code == LoadFailed)
            ShowLoadError(m_fileName + QStringLiteral(" LoadLibrary Error  \r\nDLLのロードに失敗しました  "),
                          caption);
        else
            ShowLoadError(QLatin1String(missing) + QStringLiteral(" (") + m_fileName +
                              QStringLiteral(") GetProcAddress Error  \r\n関数の割り当てに失敗しました  "),
                          caption);
    } else if (code == LoadFailed)
        ShowLoadError(m_fileName + QStringLiteral("\r\nDLLのロードに失敗しました"),
                      m_fileName + QStringLiteral(" LoadLibrary Error"));
    else
        ShowLoadError(QLatin1String(missing) + QStringLiteral("\r\n関数の割り当てに失敗しました"),
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
        std::fill(m_entries.begin(), m_entries.end(), nullptr);
    }
}
