#include "links/MapLibrary.h"

#include "core/MsgBoxPos.h"

#include <QFileInfo>

int TMapLibrary::Load(QWidget* owner, const QString& folder, const QString& fileName,
                      std::initializer_list<DicLibrary::Entry> entries)
{
    if (m_library)
        return mlOk;
    if (!QFileInfo(folder + fileName).isFile())
        return mlMissing;
    auto library = std::make_unique<DicLibrary>();
    const QString error = library->Open(folder, fileName, entries);
    if (!error.isEmpty()) {
        MessageBoxPos(owner, error, ProductTitle, MsgSeam::MbIconStop);
        return error.contains(QLatin1String("LoadLibrary")) ? mlNotLoaded : mlNoEntry;
    }
    m_library = std::move(library);
    return mlOk;
}
