// Loads one frame record as the frame stream fuzz targets do: a record either loads (and then saves and loads
// back the same) or throws the stream error and leaves the frame as it was.
#pragma once

#include "layoutobjects/DrawRect.h"

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
