// The document of the address printing window, without widgets: paper and sheet, printable area, the two
// fixed sets of frames, the free frames, stacking list, selection, settings record, undo history, the ".gpl"
// reader and writer, the preview picture and the merge of address-book and sender records.
#pragma once

#include "designers/DesignerData.h"
#include "designers/PrintDataFile.h"
#include "designers/UndoList.h"
#include "layoutobjects/BarcodeRect.h"
#include "layoutobjects/CorpRect.h"
#include "layoutobjects/NameRect.h"
#include "layoutobjects/PaperFormat.h"
#include "layoutobjects/PosRect.h"

#include <QImage>
#include <QSize>

#include <array>
#include <functional>
#include <memory>
#include <vector>

class QPainter;
class TPrinter;
class TPrinterInfo;
namespace MergeText {
struct TNameParts;
}

inline const QString DeletedPaperMessage =
    QStringLiteral("選択された宛名レイアウトは用紙情報が削除されています  ");
inline const QString PaperFileMissingMessage = QStringLiteral("用紙情報ファイルが見つかりません  ");
inline const QString SaveFailedMessage = QStringLiteral("保存できませんでした  ");
constexpr int LayoutFileHeaderSize = 28;

// Free-frame lists, in file order.
enum TFreeKind { FreeIllustration, FreeText, FreeFigure, FreeQRCode, FreeKindCount };
// The registered class of each list.
QString FreeFrameClassName(int kind);

// What the document shares with its window: the printer (null when none is installed), the record sources
// and the prototypes of new frames.
struct TLayoutContext
{
    TPrinterInfo* Printer = nullptr;
    TAddressListSource* AddressList = nullptr;
    TSenderSource* Senders = nullptr;
    std::shared_ptr<TDefaultRects> Prototypes = std::make_shared<TDefaultRects>();
};

// The simple set: one address frame, name frame with the company block, two sender contact lines.
struct TSimpleSet
{
    TPosRect* Postal;
    TAddressRect* Address;
    TNameRect* Name;
    TBarcodeRect* Barcode;
    TPosRect* SenderPostal;
    TAddressRect* SenderAddress;
    TNameRect* SenderName;
    std::array<TAdditionRect*, 2> Contacts;
};

// The detailed set: one frame per address line and company line, four sender contacts.
struct TDetailedSet
{
    TPosRect* Postal;
    std::array<TAddressRect*, 3> Address;
    std::array<TCorpRect*, 3> Corp; // company, department, title
    TNameRect* Name;
    TBarcodeRect* Barcode;
    TPosRect* SenderPostal;
    std::array<TAddressRect*, 3> SenderAddress;
    std::array<TCorpRect*, 3> SenderCorp;
    TNameRect* SenderName;
    std::array<TAdditionRect*, 4> Contacts;
};

class TLayoutDocument
{
public:
    static constexpr int SimpleCount = 9;
    static constexpr int DetailedCount = 21;

    // labelMode 1 builds a label-sheet document, 2 a card document (LabelDocument.cpp); 0 the address side.
    explicit TLayoutDocument(TLayoutContext context = {}, quint8 labelMode = 0);
    TLayoutDocument(const TLayoutDocument&) = delete;
    TLayoutDocument& operator=(const TLayoutDocument&) = delete;

    TLayoutContext Context;
    TPaperFormat Paper;
    TMultiUpSheet Sheet;
    qint32 PaperIndex = 0;
    QSize DesignSize; // 96-dpi units
    QImage Background;
    TRect PrintArea;
    quint8 SenderDisplayMode = 0;
    bool DetailedSet = false;
    bool BarcodeImpossible = false;
    int MaxBarcodeSize = 0;
    TLayoutSettings Settings;
    qint32 SenderRecNo = 0;
    bool DocumentOpen = false;
    bool Modified = false;
    QString FileName;
    double Zoom = 1.0;
    TUndoList Undo;

    // Label and card documents.
    const quint8 LabelMode = 0;
    quint8 DataSource = 1; // 1 the fixed frames show an address-book record, 2 a sender record
    bool Horizontal = false;
    bool IsCardMode() const { return LabelMode == 2; }
    // The additional items 1-4 of the combined or the individual set.
    const std::array<TAdditionRect*, 4>& Additions(bool individual) const { return m_additions[individual]; }

    const std::vector<std::unique_ptr<TDrawRect>>& SimpleFrames() const { return m_simple; }
    const std::vector<std::unique_ptr<TDrawRect>>& DetailedFrames() const { return m_detailed; }
    const TSimpleSet& Simple() const { return m_s; }
    const TDetailedSet& Detailed() const { return m_d; }
    const std::vector<TDrawRect*>& CurrentSet() const { return m_current; }
    const std::vector<std::unique_ptr<TDrawRect>>& FreeFrames(int kind) const { return m_free[size_t(kind)]; }
    // Appends a free frame of a kind; the document owns it.
    TDrawRect* AddFreeFrame(int kind, std::unique_ptr<TDrawRect> frame);
    // Editing: a free frame in and out of its list at an index (clamped), and its index there (-1 none).
    TDrawRect* InsertFreeFrame(int kind, int index, std::unique_ptr<TDrawRect> frame);
    std::unique_ptr<TDrawRect> TakeFreeFrame(int kind, int index);
    int FreeIndex(const TDrawRect* frame) const;
    // Entry 0 on top.
    std::vector<TDrawRect*> Stacking;
    std::vector<TDrawRect*> Selection;
    int FocusIndex = -1;
    void InsertIntoStacking(TDrawRect* frame, bool onlyWhenVisible);
    void RemoveFromStacking(TDrawRect* frame);
    int StackingIndex(const TDrawRect* frame) const;

    void ClearLayout();

    // Paper set-up. The standard reader answers false (with the message shown) when "Lyt.fmt" has another
    // signature and false without a message when the index names no record (a deleted paper).
    bool LoadPaperFormat();
    bool LoadCustomPaperFormat();
    // A label sheet's area counts from its first piece, else (the preview of the sheet) from its corner.
    void SetPrintArea(bool fromFirstPiece = true);
    // The barcode bytes of the paper: the largest fitting size along the writing direction.
    void FitPaperBarcode();
    bool NewLayout();
    // fromNewOrFile: the caller places the frames.
    void SetIndividualLayout(bool detailed, bool fromNewOrFile = false);
    // Moves the layout onto the paper, sheet, barcode bytes and mode the caller has stored, from the paper
    // of the given size (design units): free frames are scaled to the new size or pulled inside the paper,
    // the fixed frames take the simple set's preset places; the selection and undo history are emptied.
    enum class TFrameFit { Keep, Scale, PullInside };
    void ChangePaper(QSize oldSize, TFrameFit fit);
    // Whether a paper change has to ask how to fit the free frames.
    bool HasFreeFrames() const;
    // Label and card documents: the paper command's choice. False, with nothing changed, for the paper and
    // data source shown. Otherwise the free frames are scaled by each side's ratio in 0.1 mm when scale()
    // says yes (asked only when free frames exist and a side changed) or pulled inside, the fixed frames go
    // back to the combined set at the paper's preset places, the data is merged again and the selection and
    // history are emptied.
    struct TLabelPaper
    {
        qint32 Index = 0;
        TPaperFormat Paper;
        TMultiUpSheet Sheet;
        bool BarcodeImpossible = false;
        int MaxBarcodeSize = 0;
        bool Horizontal = false;
        quint8 DataSource = 1;
    };
    bool ChangeLabelPaper(const TLabelPaper& chosen, const std::function<bool()>& scale);

    // Reads a ".gpl" file into this fresh document; false (message shown) for a file that is not a valid
    // layout. PaperFound says whether the file's paper still exists; when not, the paper set before the call
    // stays and the caller asks for a paper.
    bool LoadFromFile(const QString& path);
    bool PaperFound = true;
    // The "$$" safe save; false (message shown) when the file could not be written, the old file restored.
    bool SaveToFile(const QString& path);
    QByteArray EncodeLayoutFile(const QByteArray& preview) const;
    QImage CreateThumbnail(int sizeIndex);

    // Merge. ShowRecordData answers false when the record could not be located: the recipient frames stay
    // empty so that printing can skip the record.
    bool ShowRecordData(qint32 recNo);
    void ShowSenderData();
    void FillSimpleFrames();
    bool RefreshData();

    // Prints the stacking list from the bottom to the top, each frame's printer rect from its design rect.
    void PrintFrames(QPainter& painter, QPoint offset);
    // The print loop over every shown record of the address list, one print each from the first face
    // (see LayoutPrint.h). False and the reason when the job fails.
    bool PrintPages(TPrinter& printer, const QString& title, int* pages, QString* error);

    // Document steps of the window's details, data-format and sender commands (LayoutDocumentCommands.cpp).
    // The placed-frame choices of the details: the recipient's postal code, address 1-3, name, company,
    // department and title, the same eight of the sender, then the four sender contacts.
    using TDetailShown = std::array<bool, 20>;
    TDetailShown DetailShown() const;
    // Takes bytes 60-100 of detail, applies the levels and ratios to the frames, stores the placed-frame
    // choices (the sender's only with more than 4 simple frames) and places or switches the sets. True when
    // the placed frames changed: the selection is then empty and the caller refills its frame list. Labels
    // take no sender sizes or alignment and have no sender choices.
    bool ApplyDetails(const TLayoutSettings& detail, bool manual, const TDetailShown& shown);
    // Takes bytes 0-59 of form (honorifics cut at a character boundary) and the vertical numerals into every
    // address frame of both sets, then merges again. Labels keep their sender postal mark.
    void ApplyDataForm(const TLayoutSettings& form);
    // Merges the sender again after the sender records changed; true when the count of shown contact lines
    // changed in a mode that places them.
    bool SenderRecordsChanged();
    // The record and sender merged again; the simple frames of a paper with fewer than 5 filled instead.
    void Remerge();

private:
    template <class T> T* makeFrame(std::vector<std::unique_ptr<TDrawRect>>& set);
    void takePicture();
    bool readBody(TFrameReader& reader);
    void applySettingsToFrames();
    void forEachTextFrame(const std::function<void(TMetaRect&)>& action) const;
    // Default size level, the default font and the writing direction for every text frame.
    void resetTextFrames(bool horizontal);
    // A new layout's last step: open, modified, unnamed, at zoom 1.
    void openAsNew();
    // The shown sender row, the first one when SenderRecNo is gone; null without senders.
    const TMergeRow* locateSenderRow();
    // The merge's shared steps.
    void clearRecipientFrames();
    void setPostal(TPosRect* frame, const AnsiString& postal, int mark) const;
    void setAddress(bool sender, const TMergeRow& row) const;
    void closingConversions(bool sender) const;
    void makeBarcode(const TMergeRow& row) const;
    // The shared steps of switching the set of fixed frames: the switch with the barcode state carried over
    // (the chosen barcode, null on a card), the writing direction, the recipient frames into the stacking, and
    // the barcode there, hidden or made smaller where it cannot be printed.
    TBarcodeRect* takeFrameSet(bool detailed, bool fromNewOrFile);
    void turnCurrentSet();
    void stackRecipientFrames(bool detailed);
    void stackBarcode(TBarcodeRect* barcode);
    // The sender row in the recipient frames, joints adding a person's joint names; null without senders.
    using TJointNames = std::function<void(const TMergeRow&, TNameRect*, const MergeText::TNameParts&)>;
    const TMergeRow* senderAsRecipient(const QString& honorific, const TJointNames& joints);
    // The company lines of a sender row (or of a sender row in the recipient frames).
    void senderCompany(const TMergeRow& row, TNameRect* name, bool sender, bool emptyHonorific);
    // The company, department and title on the simple set's name frame; a frame that ignores its name shows
    // the first of title, department and company as its name instead of on its line. Returns that line
    // (2 title, 1 department, 0 company), -1 when the name stays or there is none.
    static int simpleCorpLines(TNameRect* frame, const QString& corp, const QString& department,
                               const QString& title);
    // Label and card documents: the sets, paper, files and merge steps of their own.
    bool horizontalWriting() const { return LabelMode ? Horizontal : Paper.Direction != 0; }
    void buildLabelSets();
    void labelClearLayout();
    bool labelLoadPaper(bool custom);
    void labelSetPrintArea(bool fromFirstPiece);
    void labelFitBarcode();
    bool labelNewLayout();
    void labelSetIndividualLayout(bool individual, bool fromNewOrFile);
    void labelApplySettings();
    void labelMerge();
    void labelRecordMerged(const TMergeRow& row);
    void labelShowSenderData();
    void labelAdditions(const TMergeRow& row, bool sender);
    const QByteArray& fileSignature() const;
    std::array<std::array<TAdditionRect*, 4>, 2> m_additions{};

    std::vector<std::unique_ptr<TDrawRect>> m_simple;
    std::vector<std::unique_ptr<TDrawRect>> m_detailed;
    TSimpleSet m_s{};
    TDetailedSet m_d{};
    std::vector<TDrawRect*> m_current;
    std::array<std::vector<std::unique_ptr<TDrawRect>>, FreeKindCount> m_free;
    QByteArray m_header; // of the file being read
};
