// Fuzz target: frame records of every format version. The first byte chooses the version and the frame
// class; a record either loads (and then saves and loads back the same) or throws the stream error and
// leaves the frame as it was.
#include "FrameStreamLoad.h"
#include "layoutobjects/PosRect.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    LoadedFileVersion = Versions[(data[0] & 0x7F) % std::size(Versions)];
    const QByteArray record(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    if (data[0] & 0x80)
        load<TAddressRect>(record);
    else
        load<TPosRect>(record);
    LoadedFileVersion = CurrentFileVersion;
    return 0;
}
