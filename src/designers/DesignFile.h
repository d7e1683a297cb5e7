// The ".gpd" file of a message-side design: the print-file preamble with its 32-byte header, the settings
// record, the background and the frames of four kinds and the sender block, each with its stacking index.
#pragma once

#include "designers/LayoutDocument.h"
#include "layoutobjects/BackImage.h"
#include "layoutobjects/SenderRect.h"

#include <array>
#include <memory>
#include <vector>

constexpr int DesignFileHeaderSize = 32;

struct TDesignFileHeader
{
    qint32 PaperIndex = 0;
    bool HasBackground = false;
    std::array<qint32, FreeKindCount> Counts{};
    bool HasSender = false;

    QByteArray Bytes() const;
    // Exactly DesignFileHeaderSize bytes; the padding is not read.
    static TDesignFileHeader FromBytes(const QByteArray& bytes);
};

// A frame as stored, with its stacking index (0 on top).
struct TStackedFrame
{
    qint32 ZOrder;
    std::unique_ptr<TDrawRect> Frame;
};

// What a file holds, read into objects of their own. Frames with a negative stacking index are not kept;
// the indexes of the kept ones are 0 .. N-1 once each.
struct TDesignFileContents
{
    qint32 Version = CurrentFileVersion;
    TDesignFileHeader Header;
    QByteArray Preview;
    TLayoutSettings Settings;
    std::unique_ptr<TBackImage> Background; // null without one
    std::array<std::vector<TStackedFrame>, FreeKindCount> Frames;
    std::unique_ptr<TSenderRect> Sender; // null without one
    qint32 SenderZOrder = -1;
};

// Every frame that is placed, in one list.
struct TDesignFileSource
{
    qint32 PaperIndex = 0;
    TLayoutSettings Settings;
    const TBackImage* Background = nullptr; // written when its mode is not 0
    std::array<std::vector<const TDrawRect*>, FreeKindCount> Frames;
    const TSenderRect* Sender = nullptr;
    const std::vector<TDrawRect*>* ZOrder = nullptr;
};

class TDesignFile
{
public:
    static QByteArray Encode(const TDesignFileSource& design, const QByteArray& preview);
    // False for bytes that are not a whole design file: another signature, counts past the end, a damaged
    // record, stacking indexes that repeat, leave gaps or reach the number of frames. Sets LoadedFileVersion.
    static bool Decode(const QByteArray& bytes, TDesignFileContents& out);
};
