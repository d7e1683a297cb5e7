// The frame clipboard.
#include "designers/FrameClipboard.h"

#include "layoutobjects/FigureRect.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/QRCodeRect.h"
#include "layoutobjects/WordRect.h"

std::optional<QByteArray>& FrameClipboard()
{
    static std::optional<QByteArray> clipboard;
    return clipboard;
}

std::unique_ptr<TDrawRect> CreateFreeFrame(quint8 kind)
{
    switch (kind) {
    case KindIllust:
        return std::make_unique<TIllustRect>();
    case KindWord:
        return std::make_unique<TWordRect>();
    case KindFigure:
        return std::make_unique<TFigureRect>();
    case KindQRCode:
        return std::make_unique<TQRCodeRect>();
    default:
        return nullptr;
    }
}

void CopyFramesToClipboard(const std::vector<TDrawRect*>& frames)
{
    QByteArray bytes;
    TFrameWriter writer(bytes);
    for (const TDrawRect* frame : frames) {
        const quint8 kind = frame->GetKind();
        if (kind < KindIllust || kind > KindQRCode)
            continue;
        writer.WriteByte(kind);
        frame->SaveToStream(writer);
    }
    FrameClipboard() = bytes;
}

std::vector<std::unique_ptr<TDrawRect>> ReadClipboardFrames(const QByteArray& bytes)
{
    std::vector<std::unique_ptr<TDrawRect>> frames;
    const int version = LoadedFileVersion;
    LoadedFileVersion = CurrentFileVersion;
    TFrameReader reader(bytes);
    try {
        while (reader.Remaining() > 0) {
            std::unique_ptr<TDrawRect> frame = CreateFreeFrame(reader.ReadByte());
            if (!frame)
                break;
            frame->LoadFromStream(reader);
            frames.push_back(std::move(frame));
        }
    } catch (const EFrameStreamError&) {
    }
    LoadedFileVersion = version;
    return frames;
}
