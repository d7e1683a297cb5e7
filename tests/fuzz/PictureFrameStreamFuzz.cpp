// Fuzz target: illustration, figure and page background records of every format version. The first byte
// chooses the version (low bits) and the class (high bits).
#include "FrameStreamLoad.h"
#include "layoutobjects/BackImage.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/IllustRect.h"

#include <cstddef>
#include <cstdint>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    LoadedFileVersion = Versions[(data[0] & 0x0F) % std::size(Versions)];
    const QByteArray record(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    switch ((data[0] >> 4) % 3) {
    case 0:
        load<TIllustRect>(record);
        break;
    case 1:
        load<TFigureRect>(record);
        break;
    default:
        load<TBackImage>(record);
        break;
    }
    LoadedFileVersion = CurrentFileVersion;
    return 0;
}
