// The ".gpd" reader and writer.
#include "designers/DesignFile.h"

#include "layoutobjects/FigureRect.h"
#include "layoutobjects/FrameClasses.h"

#include <set>

QByteArray TDesignFileHeader::Bytes() const
{
    QByteArray bytes;
    TFrameWriter writer(bytes);
    writer.WriteInt32(PaperIndex);
    writer.WriteByte(HasBackground ? 1 : 0);
    writer.WriteBytes(QByteArray(3, '\0'));
    for (qint32 n : Counts)
        writer.WriteInt32(n);
    writer.WriteByte(HasSender ? 1 : 0);
    writer.WriteBytes(QByteArray(7, '\0'));
    return bytes;
}

TDesignFileHeader TDesignFileHeader::FromBytes(const QByteArray& bytes)
{
    TFrameReader reader(bytes);
    TDesignFileHeader header;
    header.PaperIndex = reader.ReadInt32();
    header.HasBackground = reader.ReadByte() == 1;
    reader.ReadBytes(3);
    for (qint32& n : header.Counts)
        n = reader.ReadInt32();
    header.HasSender = reader.ReadByte() == 1;
    return header;
}

QByteArray TDesignFile::Encode(const TDesignFileSource& design, const QByteArray& preview)
{
    TDesignFileHeader header;
    header.PaperIndex = design.PaperIndex;
    header.HasBackground = design.Background && design.Background->Mode() != BackNone;
    for (int kind = 0; kind < FreeKindCount; ++kind)
        header.Counts[size_t(kind)] = qint32(design.Frames[size_t(kind)].size());
    header.HasSender = design.Sender != nullptr;

    TPrintFilePreamble preamble;
    preamble.Header = header.Bytes();
    preamble.Preview = preview;
    preamble.Settings = design.Settings;
    QByteArray bytes = WritePrintFilePreamble(DesignFileSignature, preamble);
    TFrameWriter body(bytes);
    if (header.HasBackground)
        design.Background->SaveToStream(body);
    auto zOrder = [&](const TDrawRect* frame) {
        if (!design.ZOrder)
            return qint32(-1);
        const auto& list = *design.ZOrder;
        const auto it = std::find(list.begin(), list.end(), frame);
        return it == list.end() ? qint32(-1) : qint32(it - list.begin());
    };
    for (const auto& list : design.Frames)
        for (const TDrawRect* frame : list) {
            body.WriteInt32(zOrder(frame));
            frame->SaveToStream(body);
        }
    if (design.Sender) {
        body.WriteInt32(zOrder(design.Sender));
        design.Sender->SaveToStream(body);
    }
    return bytes;
}

bool TDesignFile::Decode(const QByteArray& bytes, TDesignFileContents& out)
{
    TPrintFilePreamble preamble;
    const qsizetype bodyAt = ReadPrintFilePreamble(bytes, DesignFileSignature, DesignFileHeaderSize, preamble);
    if (bodyAt < 0)
        return false;
    out.Version = preamble.Version;
    out.Header = TDesignFileHeader::FromBytes(preamble.Header);
    out.Preview = preamble.Preview;
    out.Settings = preamble.Settings;
    std::set<qint32> placed;
    auto place = [&](qint32 z) {
        if (z >= 0 && !placed.insert(z).second)
            throw EFrameStreamError("stacking index used twice");
        return z >= 0;
    };
    try {
        TFrameReader reader(bytes, bodyAt);
        if (out.Header.HasBackground) {
            out.Background = std::make_unique<TBackImage>();
            out.Background->LoadFromStream(reader);
        }
        qint64 total = 0;
        for (qint32 n : out.Header.Counts) {
            // Every record takes at least its index.
            total += n;
            if (n < 0 || total > reader.Remaining() / 4)
                return false;
        }
        for (int kind = 0; kind < FreeKindCount; ++kind) {
            const qint32 count = out.Header.Counts[size_t(kind)];
            if (count == 0)
                continue;
            const TFrameClassInfo* info = FindFrameClass(FreeFrameClassName(kind));
            if (!info)
                return false;
            auto& list = out.Frames[size_t(kind)];
            list.reserve(size_t(count));
            for (qint32 i = 0; i < count; ++i) {
                const qint32 z = reader.ReadInt32();
                std::unique_ptr<TDrawRect> frame = info->create();
                frame->LoadFromStream(reader);
                if (place(z))
                    list.push_back({z, std::move(frame)});
            }
        }
        if (out.Header.HasSender) {
            const qint32 z = reader.ReadInt32();
            auto sender = std::make_unique<TSenderRect>();
            sender->LoadFromStream(reader);
            if (place(z)) {
                out.Sender = std::move(sender);
                out.SenderZOrder = z;
            }
        }
    } catch (const EFrameStreamError&) {
        return false;
    }
    // The kept indexes must be 0 .. N-1: a set of N distinct indexes whose largest is N-1.
    return placed.empty() || *placed.rbegin() == qint32(placed.size()) - 1;
}
