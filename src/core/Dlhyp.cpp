// Hyphenation library wrapper: reference-counted loading, the entry point call and the load failure messages.
#include "core/Dlhyp.h"

#include "core/AppSub.h"

#include "DlhypApi.h"
#include "platform/LibraryLoader.h"
#include "platform/MessageSeam.h"

#include <QDateTime>
#include <QFile>
#include <QReadWriteLock>

#include <array>
#include <cstring>

namespace {

const QString LibraryFileName = QStringLiteral("Dlhyp.dll");

// Calls share the lock for reading, so worker threads hyphenate side by side while a free waits for them.
struct HyphenState
{
    QReadWriteLock lock;
    LibraryLoader::Handle handle = nullptr;
    GetHyphenProc getHyphen = nullptr;
    int refCount = 0;
    QString dataFolder;
};

HyphenState& state()
{
    static HyphenState s;
    return s;
}

void ShowLoadError(const QString& text, const QString& caption)
{
    MsgSeam::Request request;
    request.source = MsgSeam::Source::Application;
    request.text = text;
    request.caption = caption;
    request.flags = MsgSeam::MbIconStop;
    MsgSeam::Show(request);
}

TSystemTime UtcNow()
{
    const QDateTime now = QDateTime::currentDateTimeUtc();
    const QDate d = now.date();
    const QTime t = now.time();
    TSystemTime st{};
    st.wYear = uint16_t(d.year());
    st.wMonth = uint16_t(d.month());
    st.wDayOfWeek = uint16_t(d.dayOfWeek() % 7); // Qt counts Monday 1 to Sunday 7
    st.wDay = uint16_t(d.day());
    st.wHour = uint16_t(t.hour());
    st.wMinute = uint16_t(t.minute());
    st.wSecond = uint16_t(t.second());
    st.wMilliseconds = uint16_t(t.msec());
    return st;
}


} // namespace

int LoadHyphenLibrary(const QString& libraryFolder, const QString& dataFolder)
{
    HyphenState& s = state();
    int code = HyphenOk;
    {
        QWriteLocker lock(&s.lock);
        ++s.refCount;
        if (s.refCount > 1)
            return HyphenOk;
        s.handle = LibraryLoader::Load(libraryFolder, LibraryFileName);
        if (!s.handle) {
            // The reference stays counted, so the paired frees balance; hyphenation quietly does nothing.
            code = HyphenLoadError;
        } else {
            s.getHyphen = reinterpret_cast<GetHyphenProc>(LibraryLoader::Symbol(s.handle, "GetHyphen"));
            if (s.getHyphen) {
                s.dataFolder = dataFolder;
                return HyphenOk;
            }
            // Released at once, as the last free would.
            LibraryLoader::Free(s.handle);
            s.handle = nullptr;
            s.refCount = 0;
            code = HyphenEntryPointError;
        }
    }
    // The boxes are shown without the lock: a modal box runs the event loop, which may paint hyphenated
    // numbers.
    if (code == HyphenLoadError)
        ShowLoadError(QStringLiteral("Dlhyp.dll\r\nDLLのロードに失敗しました"),
                      QStringLiteral("Dlhyp.dll LoadLibrary Error"));
    else
        ShowLoadError(QStringLiteral("GetHyphen\r\n関数の割り当てに失敗しました"),
                      QStringLiteral("Dlhyp.dll GetProcAddress Error"));
    return code;
}

void FreeHyphenLibrary()
{
    HyphenState& s = state();
    QWriteLocker lock(&s.lock);
    if (s.refCount <= 0)
        return;
    --s.refCount;
    if (s.refCount == 0 && s.handle) {
        LibraryLoader::Free(s.handle);
        s.handle = nullptr;
        s.getHyphen = nullptr;
    }
}

int HyphenatePhone(AnsiString& number, const QString& dataFolder)
{
    HyphenState& s = state();
    QReadLocker lock(&s.lock);
    if (!s.getHyphen)
        return HyphenNotLoaded;
    const QByteArray folder = QFile::encodeName(dataFolder.isEmpty() ? s.dataFolder : dataFolder);
    const TSystemTime now = UtcNow();
    std::array<char, HyphenResultSize> result{};
    const int code = s.getHyphen(number.constData(), result.data(), folder.constData(), &now);
    if (code == HyphenOk)
        number = AnsiString(result.data(), int(strnlen(result.data(), result.size())));
    return code;
}

AnsiString HyphenatePhoneText(const AnsiString& text, const QString& dataFolder)
{
    AnsiString number = TrimAnsiText(text);
    if (number.isEmpty())
        return number;
    const AnsiString original = number;
    if (HyphenatePhone(number, dataFolder) != HyphenOk)
        return original;
    return TrimAnsiText(number);
}
