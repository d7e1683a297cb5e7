// Fuzz target: the records of the name, company-line, additional-item, free text and sender-block frames at
// every format version. The first byte chooses the version (low half) and the class (high half); a record
// either loads (and then saves and loads back the same) or throws the stream error and leaves the frame as it
// was.
#include "layoutobjects/SenderRect.h"

#include <cstddef>
#include <cstdint>
#include <cstdlib>

namespace {

const int Versions[] = {103, 200, 201, 300, 400, 500, 600};

QByteArray saved(const TDrawRect& frame)
{
    QByteArray bytes;
    TFrameWriter writer(bytes);
    frame.SaveToStream(writer);
    return bytes;
}

template <class Frame> void load(const QByteArray& record)
{
    Frame frame;
    const QByteArray before = saved(frame);
    TFrameReader reader(record);
    try {
        frame.LoadFromStream(reader);
    } catch (const EFrameStreamError&) {
        if (saved(frame) != before)
            std::abort(); // a refused record changed the frame
        return;
    }
    const QByteArray written = saved(frame);
    const int version = LoadedFileVersion;
    LoadedFileVersion = CurrentFileVersion;
    Frame again;
    TFrameReader back(written);
    again.LoadFromStream(back); // the newest form always reads back
    if (saved(again) != written || back.Remaining() != 0)
        std::abort();
    LoadedFileVersion = version;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    if (size < 1)
        return 0;
    LoadedFileVersion = Versions[(data[0] & 0x0F) % std::size(Versions)];
    const QByteArray record(reinterpret_cast<const char*>(data + 1), qsizetype(size - 1));
    switch ((data[0] >> 4) % 5) {
    case 0:
        load<TNameRect>(record);
        break;
    case 1:
        load<TCorpRect>(record);
        break;
    case 2:
        load<TAdditionRect>(record);
        break;
    case 3:
        load<TWordRect>(record);
        break;
    default:
        load<TSenderRect>(record);
        break;
    }
    LoadedFileVersion = CurrentFileVersion;
    return 0;
}
