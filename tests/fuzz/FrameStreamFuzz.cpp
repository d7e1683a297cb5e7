// Fuzz target: frame records of every format version. The first byte chooses the version and the frame
// class; a record either loads (and then saves and loads back the same) or throws the stream error and
// leaves the frame as it was.
#include "layoutobjects/PosRect.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

const int Versions[] = {103, 200, 201, 300, 400, 500, 600};

template <class Frame> void load(const QByteArray& record)
{
    Frame frame;
    QByteArray before;
    TFrameWriter beforeWriter(before);
    frame.SaveToStream(beforeWriter);
    TFrameReader reader(record);
    try {
        frame.LoadFromStream(reader);
    } catch (const EFrameStreamError&) {
        QByteArray after;
        TFrameWriter afterWriter(after);
        frame.SaveToStream(afterWriter);
        if (after != before)
            std::abort(); // a refused record changed the frame
        return;
    }
    QByteArray saved;
    TFrameWriter writer(saved);
    frame.SaveToStream(writer);
    const int version = LoadedFileVersion;
    LoadedFileVersion = CurrentFileVersion;
    Frame again;
    TFrameReader back(saved);
    again.LoadFromStream(back); // the newest form always reads back
    QByteArray resaved;
    TFrameWriter rewriter(resaved);
    again.SaveToStream(rewriter);
    if (resaved != saved || back.Remaining() != 0)
        std::abort();
    LoadedFileVersion = version;
}

} // namespace

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
