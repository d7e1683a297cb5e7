// The enciphered self-restoring export.
#include "dataexchange/CryptSfx.h"

#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "platform/LibraryLoader.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QSaveFile>

#include <sys/stat.h>

#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

struct TCryptSfxLibrary
{
    LibraryLoader::Handle handle = nullptr;
    TDCSXCreate create = nullptr;
    TDCSXCreateTC createTC = nullptr;
    int references = 0;
};

TCryptSfxLibrary& Library()
{
    static TCryptSfxLibrary library;
    return library;
}

void LoaderMessage(const QString& text)
{
    ApplicationMessageBox(text, MsgSeam::MbOk | MsgSeam::MbIconStop);
}

// Copies text into a zero-terminated field; false when it does not fit with its terminator.
bool CopyField(char* field, size_t size, const QByteArray& text)
{
    if (size_t(text.size()) >= size || text.contains('\0'))
        return false;
    std::memcpy(field, text.constData(), size_t(text.size()));
    return true;
}

// Scrubs a password out of memory that is about to be freed.
void Scrub(void* data, size_t size)
{
    volatile auto* p = static_cast<volatile unsigned char*>(data);
    while (size--)
        *p++ = 0;
}

} // namespace

int LoadCryptSfxLibrary(const QString& folder)
{
    TCryptSfxLibrary& lib = Library();
    ++lib.references;
    if (lib.handle)
        return 0;
    lib.handle = LibraryLoader::Load(folder.isEmpty() ? ProgramFolder : folder, CryptSfxLibraryFile);
    if (!lib.handle) {
        LoaderMessage(QStringLiteral("DrcCryptSFX.dll LoadLibrary Error\r\nDLLのロードに失敗しました"));
        return 101;
    }
    lib.create = reinterpret_cast<TDCSXCreate>(LibraryLoader::Symbol(lib.handle, DCSXCreateName));
    if (!lib.create) {
        LoaderMessage(QStringLiteral(
            "DCSXCreate (DrcCryptSFX.dll) GetProcAddress Error\r\n関数の割り当てに失敗しました"));
        UnloadCryptSfxLibrary();
        return 102;
    }
    lib.createTC = reinterpret_cast<TDCSXCreateTC>(LibraryLoader::Symbol(lib.handle, DCSXCreateTCName));
    if (!lib.createTC) {
        LoaderMessage(QStringLiteral(
            "DCSXCreate_TC (DrcCryptSFX.dll) GetProcAddress Error\r\n関数の割り当てに失敗しました"));
        UnloadCryptSfxLibrary();
        return 102;
    }
    return 0;
}

void UnloadCryptSfxLibrary()
{
    TCryptSfxLibrary& lib = Library();
    if (lib.references > 0)
        --lib.references;
    if (lib.references == 0 && lib.handle) {
        LibraryLoader::Free(lib.handle);
        lib.handle = nullptr;
        lib.create = nullptr;
        lib.createTC = nullptr;
    }
}

int CallDCSXCreate(const TCryptSfxOptions& options, const TCryptSfxFileName& fileName, QWidget* owner)
{
    const TCryptSfxLibrary& lib = Library();
    if (!lib.handle || !lib.create)
        return 103;
    return lib.create(&options, &fileName, owner);
}

QString CreateWorkFolder(const QString& targetFolder, QString* error)
{
    QString folder = targetFolder;
    if (!folder.endsWith(QLatin1Char('/')))
        folder += QLatin1Char('/');
    QByteArray path = QFile::encodeName(folder + WorkFolderName);
    if (::mkdir(path.constData(), 0700) == 0)
        return QFile::decodeName(path) + QLatin1Char('/');
    if (errno == EEXIST) {
        // Someone's folder of that name stays untouched: take a fresh one beside it.
        path += ".XXXXXX";
        if (::mkdtemp(path.data()))
            return QFile::decodeName(path) + QLatin1Char('/');
    }
    if (error)
        *error = QString::fromLocal8Bit(std::strerror(errno));
    return {};
}

bool MakeSelfRestoringFile(QWidget* owner, const QString& password, const QString& workFile,
                           const QString& target)
{
    const QFileInfo work(workFile);
    TCryptSfxOptions options{};
    TCryptSfxFileName fileName{};
    QByteArray secret = password.toLatin1();
    const bool fits = CopyField(options.Password, sizeof(options.Password), secret) &&
                      CopyField(options.WorkFolder, sizeof(options.WorkFolder),
                                QFile::encodeName(work.absolutePath() + '/')) &&
                      CopyField(fileName.Name, sizeof(fileName.Name), QFile::encodeName(work.fileName()));
    Scrub(secret.data(), size_t(secret.size()));
    options.Mode = 1;

    int result = DCSX_BAD_ARGUMENT;
    if (fits) {
        LoadCryptSfxLibrary(QString());
        try {
            result = CallDCSXCreate(options, fileName, owner);
        } catch (...) {
            UnloadCryptSfxLibrary();
            Scrub(&options, sizeof(options));
            throw;
        }
        UnloadCryptSfxLibrary();
    }
    Scrub(&options, sizeof(options));

    if (result == DCSX_DISK_FULL) {
        MessageBoxPos(owner, QStringLiteral("空き容量が足りなかったため出力できませんでした  "), ProductTitle,
                      MsgSeam::MbIconStop);
        return false;
    }
    if (result != DCSX_OK) {
        MessageBoxPos(owner,
                      QStringLiteral("暗号化出力に失敗しました  \r\nRC = ") + QString::number(result) +
                          QStringLiteral("  "),
                      ProductTitle, MsgSeam::MbIconStop);
        return false;
    }

    // The program file replaces the target only once it is whole.
    const QString product = work.absolutePath() + QLatin1Char('/') + work.completeBaseName() + ".exe";
    QFile source(product);
    QSaveFile out(target);
    out.setDirectWriteFallback(false);
    bool copied = source.open(QIODevice::ReadOnly) && out.open(QIODevice::WriteOnly);
    while (copied && !source.atEnd()) {
        const QByteArray chunk = source.read(1 << 20);
        copied = !chunk.isEmpty() && out.write(chunk) == chunk.size();
    }
    copied = copied && out.commit();
    if (copied)
        QFile::setPermissions(target, QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner |
                                          QFile::ReadGroup | QFile::ExeGroup | QFile::ReadOther |
                                          QFile::ExeOther);
    else
        out.cancelWriting();
    if (!copied) {
        MessageBoxPos(owner,
                      QStringLiteral("出力先のファイルが作成できませんでした  \r\n") +
                          QDir::toNativeSeparators(target) + QStringLiteral("  "),
                      ProductTitle, MsgSeam::MbIconStop);
        return false;
    }
    return true;
}
