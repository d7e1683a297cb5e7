// The message-side design without widgets: the paper of "Dsn.fmt", the background, the free frames of four
// kinds, at most one sender block, the settings record, stacking and selection, the undo history, the ".gpd"
// file and its preview, and the sender merge.
#pragma once

#include "designers/DesignFile.h"
#include "designers/DesignPaperFormat.h"
#include "designers/DesignPrototypes.h"
#include "designers/DesignerShared.h"

#include <QImage>
#include <QSize>

inline const QString DesignCaption = QStringLiteral("文面印刷");
// The paper number of the Japanese postcard.
inline constexpr qint16 PostcardPaperNumber = 43;

// What the document shares with its window: the printer (null when none is installed), the sender rows and
// the prototypes of new frames.
struct TDesignContext
{
    TPrinterInfo* Printer = nullptr;
    TSenderSource* Senders = nullptr;
    std::shared_ptr<TDesignPrototypes> Prototypes = std::make_shared<TDesignPrototypes>();
};

class TDesignDocument
{
public:
    explicit TDesignDocument(TDesignContext context = {});
    TDesignDocument(const TDesignDocument&) = delete;
    TDesignDocument& operator=(const TDesignDocument&) = delete;

    TDesignContext Context;
    TDesignPaperFormat PaperFormat;
    qint32 PaperIndex = 0;
    QSize PaperPixelSize; // 96-dpi units
    double Zoom = 0;      // 0: not yet computed
    TRect PrintableArea;
    TBackImage BackImage;
    TLayoutSettings Settings;
    // Entry 0 on top; every frame of the design once.
    std::vector<TDrawRect*> ZOrder;
    std::vector<TDrawRect*> Selection;
    int FocusedIndex = -1;
    TUndoList Undo;
    bool Modified = false;
    bool DocumentOpen = false;
    QString FileName;

    const std::vector<std::unique_ptr<TDrawRect>>& FreeFrames(int kind) const { return m_free[size_t(kind)]; }
    // Appends a frame to its kind's list and puts it on top; the document owns it.
    TDrawRect* AddFreeFrame(int kind, std::unique_ptr<TDrawRect> frame);
    // Puts a frame into its kind's list at an index (clamped) and takes one out; the stacking and the
    // selection are the caller's.
    TDrawRect* InsertFreeFrame(int kind, int index, std::unique_ptr<TDrawRect> frame);
    std::unique_ptr<TDrawRect> TakeFreeFrame(int kind, int index);
    // The frame's index in its kind's list, -1 when it is none of them.
    int FreeIndex(const TDrawRect* frame) const;
    TSenderRect* SenderBlock() const { return m_sender.get(); }
    // Replaces the sender block (null removes it), on top of the stacking.
    TSenderRect* SetSenderBlock(std::unique_ptr<TSenderRect> block);

    // Empties the document; DocumentOpen and FileName stay for the caller.
    void ClearDesign();
    // An empty design on PaperFormat and PaperIndex, after ClearDesign.
    bool NewDesign();
    // Record PaperIndex of "Dsn.fmt" as the paper. False (message shown, paper and index as they were) when
    // the file is no table or holds no such record.
    bool LoadPaperFormat();
    // The paper's pixel size and printable area; the printer gets the paper.
    void SetPrintArea();
    // The printable area of the current printer as it is now (after a printer change); the printer's paper
    // stays.
    void TakePrintableArea();
    // "文面印刷", "文面印刷 - 新規" or "文面印刷 - " and the file's title, " (更新)" after changes.
    QString Caption() const;

    // Reads a ".gpd" file into this fresh document: false (message shown) for a file that is not a valid
    // design. PaperFormat and PaperIndex set before the call stay when the file's paper cannot be found.
    bool LoadFromFile(const QString& path);
    // The "$$" safe save; false (message shown) when the file could not be written, the old file restored.
    bool SaveToFile(const QString& path);
    QByteArray EncodeDesignFile(const QByteArray& preview) const;
    // Size index 0: 200 pixels on the longer side, 1: 500.
    QImage CreateThumbnail(int sizeIndex);

    // Fills the sender block from the sender row whose Title is the block's key, else the first row (both
    // keys then follow it). Nothing without a block; an empty table leaves the block cleared.
    void ShowSenderData();

private:
    void takeFrames(TDesignFileContents& contents);
    std::array<std::vector<std::unique_ptr<TDrawRect>>, FreeKindCount> m_free;
    std::unique_ptr<TSenderRect> m_sender;
};
