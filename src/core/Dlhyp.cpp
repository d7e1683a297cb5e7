// Hyphenation library wrapper: reference-counted loading, the entry point call and the load failure messages.
#include "core/Dlhyp.h"

#include "core/AppSub.h"

#include "DlhypApi.h"
#include "core/SharedLibrary.h"

#include <QDateTime>
#include <QFile>

#include <array>
#include <cstring>

namespace {

TSharedLibrary& library()
{
    static TSharedLibrary l(QStringLiteral("Dlhyp.dll"), "GetHyphen");
    return l;
}

// The data folder given with the first reference; written and read under the library's lock.
QString& defaultDataFolder()
{
    static QString folder;
    return folder;
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
    switch (library().Load(libraryFolder, [&] { defaultDataFolder() = dataFolder; })) {
    case TSharedLibrary::Loaded:
        return HyphenOk;
    case TSharedLibrary::LoadFailed:
        // The reference stays counted, so the paired frees balance; hyphenation quietly does nothing.
        return HyphenLoadError;
    default:
        return HyphenEntryPointError;
    }
}

void FreeHyphenLibrary()
{
    library().Free();
}

int HyphenatePhone(AnsiString& number, const QString& dataFolder)
{
    QReadLocker lock(&library().Lock());
    const auto getHyphen = reinterpret_cast<GetHyphenProc>(library().Entry());
    if (!getHyphen)
        return HyphenNotLoaded;
    const QByteArray folder = QFile::encodeName(dataFolder.isEmpty() ? defaultDataFolder() : dataFolder);
    const TSystemTime now = UtcNow();
    std::array<char, HyphenResultSize> result{};
    const int code = getHyphen(number.constData(), result.data(), folder.constData(), &now);
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
