// The address-side document: fixed sets, paper set-up, ".gpl" files, preview picture and printing.
#include "designers/LayoutDocument.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/FontSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "designers/DesignerShared.h"
#include "designers/LabelDocument.h"
#include "designers/LabelPrint.h"
#include "layoutobjects/FrameClasses.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/ImageFiles.h"
#include "layoutobjects/ImageUtils.h"
#include "layoutobjects/PrinterInfo.h"
#include "platform/Printers.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <cmath>
#include <map>

using namespace LayoutSettingsField;

QString FreeFrameClassName(int kind)
{
    static const char* const names[] = {"TIllustRect", "TWordRect", "TFigureRect", "TQRCodeRect"};
    return QString::fromLatin1(names[kind]);
}

template <class T> T* TLayoutDocument::makeFrame(std::vector<std::unique_ptr<TDrawRect>>& set)
{
    auto frame = std::make_unique<T>();
    T* raw = frame.get();
    set.push_back(std::move(frame));
    return raw;
}

TLayoutDocument::TLayoutDocument(TLayoutContext context, quint8 labelMode)
    : Context(std::move(context)), LabelMode(labelMode)
{
    if (LabelMode) {
        buildLabelSets();
        ClearLayout();
        return;
    }
    auto& s = m_simple;
    m_s.Postal = makeFrame<TPosRect>(s);
    m_s.Address = makeFrame<TAddressRect>(s);
    m_s.Name = makeFrame<TNameRect>(s);
    m_s.Barcode = makeFrame<TBarcodeRect>(s);
    m_s.SenderPostal = makeFrame<TPosRect>(s);
    m_s.SenderAddress = makeFrame<TAddressRect>(s);
    m_s.SenderName = makeFrame<TNameRect>(s);
    for (auto& contact : m_s.Contacts)
        contact = makeFrame<TAdditionRect>(s);

    auto& d = m_detailed;
    m_d.Postal = makeFrame<TPosRect>(d);
    for (auto& line : m_d.Address)
        line = makeFrame<TAddressRect>(d);
    for (auto& corp : m_d.Corp)
        corp = makeFrame<TCorpRect>(d);
    m_d.Name = makeFrame<TNameRect>(d);
    m_d.Barcode = makeFrame<TBarcodeRect>(d);
    m_d.SenderPostal = makeFrame<TPosRect>(d);
    for (auto& line : m_d.SenderAddress)
        line = makeFrame<TAddressRect>(d);
    for (auto& corp : m_d.SenderCorp)
        corp = makeFrame<TCorpRect>(d);
    m_d.SenderName = makeFrame<TNameRect>(d);
    for (int i = 0; i < 4; ++i) {
        m_d.Contacts[size_t(i)] = makeFrame<TAdditionRect>(d);
        m_d.Contacts[size_t(i)]->SetItemKind(quint8(19 + i));
    }

    for (TPosRect* f : {m_s.SenderPostal, m_d.SenderPostal})
        f->SetSender(true);
    for (TAddressRect* f :
         {m_s.SenderAddress, m_d.SenderAddress[0], m_d.SenderAddress[1], m_d.SenderAddress[2]})
        f->SetSender(true);
    for (TNameRect* f : {m_s.SenderName, m_d.SenderName})
        f->SetSender(true);
    for (TCorpRect* f : m_d.SenderCorp)
        f->SetSender(true);
    for (const auto& f : m_simple)
        m_current.push_back(f.get());
    ClearLayout();
}

TDrawRect* TLayoutDocument::AddFreeFrame(int kind, std::unique_ptr<TDrawRect> frame)
{
    m_free[size_t(kind)].push_back(std::move(frame));
    return m_free[size_t(kind)].back().get();
}

TDrawRect* TLayoutDocument::InsertFreeFrame(int kind, int index, std::unique_ptr<TDrawRect> frame)
{
    return InsertOwnedFrame(m_free[size_t(kind)], index, std::move(frame));
}

std::unique_ptr<TDrawRect> TLayoutDocument::TakeFreeFrame(int kind, int index)
{
    return TakeOwnedFrame(m_free[size_t(kind)], index);
}

int TLayoutDocument::FreeIndex(const TDrawRect* frame) const
{
    for (const auto& list : m_free)
        for (size_t i = 0; i < list.size(); ++i)
            if (list[i].get() == frame)
                return int(i);
    return -1;
}

void TLayoutDocument::InsertIntoStacking(TDrawRect* frame, bool onlyWhenVisible)
{
    if (onlyWhenVisible && !frame->Visible())
        return;
    Stacking.insert(Stacking.begin(), frame);
}

void TLayoutDocument::RemoveFromStacking(TDrawRect* frame)
{
    std::erase(Stacking, frame);
}

int TLayoutDocument::StackingIndex(const TDrawRect* frame) const
{
    const auto it = std::find(Stacking.begin(), Stacking.end(), frame);
    return it == Stacking.end() ? -1 : int(it - Stacking.begin());
}

void TLayoutDocument::openAsNew()
{
    DocumentOpen = true;
    Modified = true;
    FileName.clear();
    Zoom = 1.0;
    for (const auto* set : {&m_simple, &m_detailed})
        for (const auto& frame : *set)
            frame->SetZoom(Zoom);
}

void TLayoutDocument::resetTextFrames(bool horizontal)
{
    TFontSpec font;
    SetFontAttributes(&font, ShiftJisCharset, QStringLiteral("ＭＳ 明朝"), 12, 0);
    forEachTextFrame([&](TMetaRect& frame) {
        if (auto* f = dynamic_cast<TAddressRect*>(&frame))
            f->SetLevel(DefaultSizeLevel);
        else if (auto* f = dynamic_cast<TNameRect*>(&frame))
            f->SetLevel(DefaultSizeLevel);
        else if (auto* f = dynamic_cast<TCorpRect*>(&frame))
            f->SetLevel(DefaultSizeLevel);
        else if (auto* f = dynamic_cast<TAdditionRect*>(&frame))
            f->SetLevel(DefaultSizeLevel);
        frame.SetFont(font, frame.FontColor());
        frame.SetHorizontal(horizontal);
        frame.UpdateFontHeight();
    });
}

void TLayoutDocument::forEachTextFrame(const std::function<void(TMetaRect&)>& action) const
{
    for (const auto* set : {&m_simple, &m_detailed})
        for (const auto& frame : *set)
            if (auto* text = dynamic_cast<TMetaRect*>(frame.get()))
                action(*text);
}

void TLayoutDocument::ClearLayout()
{
    Selection.clear();
    FocusIndex = -1;
    Stacking.clear();
    Zoom = 0;
    for (const auto& frame : m_detailed)
        frame->SetVisible(true);
    for (TAdditionRect* contact : m_s.Contacts)
        if (contact)
            contact->SetVisible(false);
    for (const auto* set : {&m_simple, &m_detailed})
        for (const auto& frame : *set)
            if (auto* contact = dynamic_cast<TAdditionRect*>(frame.get())) {
                contact->SetHeading(QString());
                contact->SetText(QString());
            }
    for (TBarcodeRect* barcode : {m_s.Barcode, m_d.Barcode}) {
        if (!barcode)
            continue;
        barcode->ClearImage();
        barcode->SetVisible(false);
    }
    Settings.Clear();
    for (const auto* set : {&m_simple, &m_detailed})
        for (const auto& frame : *set)
            if (auto* address = dynamic_cast<TAddressRect*>(frame.get()))
                address->SetVerticalDigits(false);
    for (auto& list : m_free)
        list.clear();
    Undo.Clear();
    if (LabelMode)
        labelClearLayout();
}

// Paper set-up.

void TLayoutDocument::takePicture()
{
    Background = QImage();
    if (!Paper.Picture.isEmpty() && !LabelMode) {
        // A picture that cannot be read leaves the paper without one.
        Background.load(FormatPictureFolder() + ToWide(Paper.Picture));
        if (!Background.isNull())
            Background = Background.convertToFormat(QImage::Format_RGB888);
    }
    DesignSize = QSize(TenthMmToDesign(Paper.Width), TenthMmToDesign(Paper.Height));
}

bool TLayoutDocument::LoadPaperFormat()
{
    if (LabelMode)
        return labelLoadPaper(false);
    TStandardFormats formats;
    if (LoadLayoutFormats(LayoutFormatPath(), formats) != FormatFileState::Read) {
        MessageBoxPos(nullptr, PaperFileMissingMessage, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconStop);
        return false;
    }
    // An index past the records is a paper that no longer exists.
    if (PaperIndex < 0 || size_t(PaperIndex) >= formats.Formats.size())
        return false;
    Paper = formats.Formats[size_t(PaperIndex)];
    Sheet = formats.SheetOf(Paper);
    takePicture();
    SetPrintArea();
    PaperLongSide = qMax(Paper.Width, Paper.Height);
    return true;
}

bool TLayoutDocument::LoadCustomPaperFormat()
{
    if (LabelMode)
        return labelLoadPaper(true);
    TCustomFormats custom;
    if (LoadCustomFormats(CustomFormatPath(), custom) != FormatFileState::Read)
        return false;
    const TCustomPaperFormat* found = nullptr;
    for (const TCustomPaperFormat& f : custom.Formats)
        if (f.Id == qAbs(qint64(PaperIndex)) &&
            (f.Format.Kind == PaperPostcard || f.Format.Kind == PaperEnvelope)) {
            found = &f;
            break;
        }
    if (!found)
        return false;
    Paper = found->Format;
    // The sheet of a custom postcard counts in the standard sheets.
    TStandardFormats standard;
    LoadLayoutFormats(LayoutFormatPath(), standard);
    Sheet = standard.SheetOf(Paper);
    takePicture();
    SetPrintArea();
    PaperLongSide = qMax(Paper.Width, Paper.Height);
    return true;
}

void TLayoutDocument::SetPrintArea(bool fromFirstPiece)
{
    if (LabelMode)
        return labelSetPrintArea(fromFirstPiece);
    TPrinterInfo* printer = Context.Printer;
    if (!printer || printer->ScaleX == 0 || printer->ScaleY == 0) {
        PrintArea = TRect{0, 0, DesignSize.width(), DesignSize.height()};
        return;
    }
    qint32 width = 0, height = 0;
    qint16 orientation = 0;
    if (Paper.Kind == PaperPostcard) {
        width = Paper.SheetIndex != 0 ? Sheet.Width : Paper.Width;
        height = Paper.SheetIndex != 0 ? Sheet.Height : Paper.Height;
        orientation = 1;
    } else if (Paper.Kind == PaperEnvelope) {
        const bool lying = Paper.Direction >= 2;
        width = lying ? Paper.Height : Paper.Width;
        height = lying ? Paper.Width : Paper.Height;
        orientation = lying ? 2 : 1;
    }
    SetPrinterPaper(0, orientation, width, height);
    printer->TakeCurrentPrinter();
    const qint32 left = qint32(RoundHalfAway(printer->OffsetX / printer->ScaleX));
    const qint32 top = qint32(RoundHalfAway(printer->OffsetY / printer->ScaleY));
    const int pageWidth = printer->PhysicalWidth - printer->RightMargin - printer->OffsetX;
    const int pageHeight = printer->PhysicalHeight - printer->BottomMargin - printer->OffsetY;
    PrintArea = TRect{left, top, left + qint32(RoundHalfAway(pageWidth / printer->ScaleX)),
                      top + qint32(RoundHalfAway(pageHeight / printer->ScaleY))};
}

void TLayoutDocument::FitPaperBarcode()
{
    if (LabelMode)
        return labelFitBarcode();
    int size = 0;
    BarcodeImpossible = !FitBarcodeSize(Paper.Direction != 0 ? Paper.Width : Paper.Height, &size);
    MaxBarcodeSize = size;
}

bool TLayoutDocument::NewLayout()
{
    if (LabelMode)
        return labelNewLayout();
    takePicture();
    PaperLongSide = qMax(Paper.Width, Paper.Height);
    SetPrintArea();
    for (TNameRect* name : {m_s.Name, m_s.SenderName}) {
        name->SetCompanyRatio(CompanyLineRatio(3));
        name->SetDepartmentRatio(CompanyLineRatio(4));
        name->SetTitleRatio(CompanyLineRatio(5));
    }
    const bool horizontal = Paper.Direction != 0;
    resetTextFrames(horizontal);
    m_s.Barcode->SetHorizontal(horizontal);
    m_d.Barcode->SetHorizontal(horizontal);
    if (SenderDisplayMode == 0 || SenderDisplayMode == 1)
        for (TDrawRect* f : std::initializer_list<TDrawRect*>{m_s.Postal, m_s.Address, m_s.Name})
            Stacking.push_back(f);
    if (SenderDisplayMode == 0 || SenderDisplayMode == 2)
        for (TDrawRect* f :
             std::initializer_list<TDrawRect*>{m_s.SenderPostal, m_s.SenderAddress, m_s.SenderName})
            Stacking.push_back(f);
    for (int i = 0; i < qMin(Paper.Count1, qint32(SimpleCount)); ++i) {
        const TPresetRect& r = Paper.Rects1[size_t(i)];
        m_simple[size_t(i)]->SetDesignRect(TRect{r.Left, r.Top, r.Right, r.Bottom});
    }
    for (int i = 0; i < qMin(Paper.Count2, qint32(DetailedCount)); ++i) {
        const TPresetRect& r = Paper.Rects2[size_t(i)];
        m_detailed[size_t(i)]->SetDesignRect(TRect{r.Left, r.Top, r.Right, r.Bottom});
    }
    Settings.SetDefaults(!Paper.Picture.isEmpty());
    if (Paper.Count1 < 5)
        FillSimpleFrames();
    else {
        ShowRecordData(-1);
        ShowSenderData();
    }
    openAsNew();
    return true;
}

TBarcodeRect* TLayoutDocument::takeFrameSet(bool detailed, bool fromNewOrFile)
{
    DetailedSet = detailed;
    if (!fromNewOrFile && DocumentOpen)
        for (TDrawRect* frame : m_current)
            RemoveFromStacking(frame);
    m_current.clear();
    for (const auto& frame : detailed ? m_detailed : m_simple)
        m_current.push_back(frame.get());
    TBarcodeRect* chosen = detailed ? m_d.Barcode : m_s.Barcode;
    if (chosen) {
        const TBarcodeRect* other = detailed ? m_s.Barcode : m_d.Barcode;
        chosen->SetSizeIndex(other->SizeIndex());
        chosen->SetVisible(other->Visible());
    }
    return chosen;
}

void TLayoutDocument::turnCurrentSet()
{
    const bool horizontal = horizontalWriting();
    for (TDrawRect* frame : m_current) {
        if (auto* barcode = dynamic_cast<TBarcodeRect*>(frame)) {
            barcode->SetHorizontal(horizontal);
            barcode->SetDesignRect(barcode->GetDesignRect());
        } else if (auto* text = dynamic_cast<TMetaRect*>(frame)) {
            text->SetHorizontal(horizontal);
            text->UpdateFontHeight();
        }
    }
}

void TLayoutDocument::stackRecipientFrames(bool detailed)
{
    if (detailed)
        for (TDrawRect* f : std::initializer_list<TDrawRect*>{m_d.Postal, m_d.Address[0], m_d.Address[1],
                                                             m_d.Address[2], m_d.Corp[0], m_d.Corp[1],
                                                             m_d.Corp[2], m_d.Name})
            InsertIntoStacking(f, true);
    else
        for (TDrawRect* f : std::initializer_list<TDrawRect*>{m_s.Postal, m_s.Address, m_s.Name})
            InsertIntoStacking(f, false);
}

void TLayoutDocument::stackBarcode(TBarcodeRect* barcode)
{
    if (BarcodeImpossible && barcode->Visible()) {
        barcode->ClearImage();
        barcode->SetVisible(false);
    }
    if (barcode->Visible() && MaxBarcodeSize < barcode->SizeIndex())
        barcode->SetSizeIndex(MaxBarcodeSize);
    InsertIntoStacking(barcode, true);
}

void TLayoutDocument::SetIndividualLayout(bool detailed, bool fromNewOrFile)
{
    if (LabelMode)
        return labelSetIndividualLayout(detailed, fromNewOrFile);
    TBarcodeRect* chosen = takeFrameSet(detailed, fromNewOrFile);
    if (fromNewOrFile || !DocumentOpen)
        return;

    turnCurrentSet();
    auto place = [this](std::initializer_list<TDrawRect*> frames, bool onlyWhenVisible) {
        for (TDrawRect* f : frames)
            InsertIntoStacking(f, onlyWhenVisible);
    };
    if (SenderDisplayMode == 0 || SenderDisplayMode == 1) {
        stackRecipientFrames(detailed);
        stackBarcode(chosen);
    }
    if (SenderDisplayMode == 0 || SenderDisplayMode == 2) {
        if (detailed)
            place({m_d.SenderPostal, m_d.SenderAddress[0], m_d.SenderAddress[1], m_d.SenderAddress[2],
                   m_d.SenderCorp[0], m_d.SenderCorp[1], m_d.SenderCorp[2], m_d.SenderName, m_d.Contacts[0],
                   m_d.Contacts[1], m_d.Contacts[2], m_d.Contacts[3]},
                  true);
        else {
            place({m_s.SenderPostal, m_s.SenderAddress, m_s.SenderName}, false);
            place({m_s.Contacts[0], m_s.Contacts[1]}, true);
        }
    }
}

// Files.

bool TLayoutDocument::readBody(TFrameReader& reader)
{
    // Stacking indexes as read, put in order once every frame is known.
    std::map<qint32, TDrawRect*> placed;
    qint64 entries = 0;
    auto readEntry = [&](TDrawRect* frame) {
        const qint32 index = reader.ReadInt32();
        ++entries;
        frame->LoadFromStream(reader);
        if (index >= 0 && !placed.emplace(index, frame).second)
            throw EFrameStreamError("stacking index used twice");
        return index;
    };
    for (const auto* set : {&m_simple, &m_detailed})
        for (const auto& frame : *set)
            readEntry(frame.get());

    const QByteArray& header = m_header;
    TFrameReader counts(header, 8);
    std::array<qint32, FreeKindCount> count{};
    for (qint32& n : count) {
        n = counts.ReadInt32();
        // Every entry takes at least its index.
        if (n < 0 || n > reader.Remaining() / 4)
            throw EFrameStreamError("frame count past the end");
    }
    for (int kind = 0; kind < FreeKindCount; ++kind) {
        if (count[size_t(kind)] == 0)
            continue;
        const TFrameClassInfo* info = FindFrameClass(FreeFrameClassName(kind));
        if (!info)
            throw EFrameStreamError("frame class not available");
        for (qint32 i = 0; i < count[size_t(kind)]; ++i) {
            std::unique_ptr<TDrawRect> frame = info->create();
            if (readEntry(frame.get()) >= 0)
                m_free[size_t(kind)].push_back(std::move(frame));
        }
    }
    for (const auto& [index, frame] : placed)
        if (index >= entries)
            throw EFrameStreamError("stacking index past the entries");
    // Gaps close up: the frames keep their order.
    Stacking.clear();
    for (const auto& [index, frame] : placed)
        Stacking.push_back(frame);
    return true;
}

void TLayoutDocument::applySettingsToFrames()
{
    if (LabelMode)
        return labelApplySettings();
    const int nameLevel = Settings.Int(NameLevel), addressLevel = Settings.Int(AddressLevel);
    const int senderName = Settings.Int(SenderNameLevel), senderAddress = Settings.Int(SenderAddressLevel);
    const int senderAddition = Settings.Int(SenderAdditionLevel);
    forEachTextFrame([&](TMetaRect& frame) {
        if (auto* f = dynamic_cast<TAddressRect*>(&frame)) {
            f->SetLevel(f->Sender() ? senderAddress : addressLevel);
            f->SetVerticalDigits(Settings.Byte(VerticalDigits) != 0);
        } else if (auto* f = dynamic_cast<TNameRect*>(&frame))
            f->SetLevel(f->Sender() ? senderName : nameLevel);
        else if (auto* f = dynamic_cast<TCorpRect*>(&frame))
            f->SetLevel(f->Sender() ? senderName : nameLevel);
        else if (auto* f = dynamic_cast<TAdditionRect*>(&frame))
            f->SetLevel(senderAddition);
    });
    for (TNameRect* name : {m_s.Name, m_s.SenderName}) {
        name->SetCompanyRatio(CompanyLineRatio(Settings.Int(CompanyRatio)));
        name->SetDepartmentRatio(CompanyLineRatio(Settings.Int(DepartmentRatio)));
        name->SetTitleRatio(CompanyLineRatio(Settings.Int(TitleRatio)));
    }
    forEachTextFrame([](TMetaRect& frame) { frame.UpdateFontHeight(); });
}

bool TLayoutDocument::LoadFromFile(const QString& path)
{
    TBusyCursor busy;
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    TPrintFilePreamble preamble;
    const qsizetype bodyAt =
        ReadPrintFilePreamble(bytes, fileSignature(), LayoutFileHeaderSize, preamble);
    bool read = bodyAt >= 0;
    if (read) {
        m_header = preamble.Header;
        TFrameReader header(m_header);
        const qint32 paperIndex = header.ReadInt32();
        const quint8 mode = header.ReadByte();
        const quint8 detailed = header.ReadByte();
        SenderDisplayMode = mode <= 2 ? mode : 0;
        if (LabelMode) {
            DataSource = mode;
            SenderDisplayMode = 0;
            read = mode >= 1 && mode <= 2 && detailed <= 1;
        }
        PaperIndex = paperIndex;
        PaperFound = paperIndex < 0 ? LoadCustomPaperFormat() : LoadPaperFormat();
        if (!PaperFound) {
            // The layout stays on the paper record it had; the caller asks for a paper.
            takePicture();
            SetPrintArea();
        }
        SetIndividualLayout(detailed == 1, true);
        FitPaperBarcode();
        Settings = preamble.Settings;
        try {
            TFrameReader reader(bytes, bodyAt);
            readBody(reader);
        } catch (const EFrameStreamError&) {
            read = false;
        }
    }
    if (!read) {
        MessageBoxPos(nullptr, InvalidFileMessage, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
        return false;
    }
    applySettingsToFrames();

    // New texts and figures follow the last ones read.
    const auto& texts = m_free[FreeText];
    if (!texts.empty())
        if (const auto* last = dynamic_cast<const TWordRect*>(texts.back().get()))
            TakeTextPrototype(*Context.Prototypes->Text, *last);
    const auto& figures = m_free[FreeFigure];
    if (!figures.empty())
        if (const auto* last = dynamic_cast<const TFigureRect*>(figures.back().get()))
            TakeFigurePrototype(*Context.Prototypes->Figure, *last);

    TBarcodeRect* barcode = DetailedSet ? m_d.Barcode : m_s.Barcode;
    if (barcode && BarcodeImpossible && barcode->Visible()) {
        barcode->ClearImage();
        barcode->SetVisible(false);
        RemoveFromStacking(barcode);
    }
    if (barcode && barcode->Visible() && MaxBarcodeSize < barcode->SizeIndex())
        barcode->SetSizeIndex(MaxBarcodeSize);

    FileName = path;
    DocumentOpen = true;
    Modified = false;
    Zoom = 1.0;
    for (const auto* set : {&m_simple, &m_detailed})
        for (const auto& frame : *set)
            frame->SetZoom(Zoom);
    for (const auto& list : m_free)
        for (const auto& frame : list)
            frame->SetZoom(Zoom);
    if (LabelMode)
        labelMerge();
    else if (Paper.Count1 < 5)
        FillSimpleFrames();
    else {
        ShowRecordData(-1);
        ShowSenderData();
    }
    if (!PaperFound)
        MessageBoxPos(nullptr, LabelMode ? LabelDeletedPaperMessage(LabelMode) : DeletedPaperMessage, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
    return true;
}

QByteArray TLayoutDocument::EncodeLayoutFile(const QByteArray& preview) const
{
    TPrintFilePreamble preamble;
    TFrameWriter header(preamble.Header);
    header.WriteInt32(PaperIndex);
    header.WriteByte(LabelMode ? DataSource : SenderDisplayMode);
    header.WriteByte(DetailedSet ? 1 : 0);
    header.WriteBytes(QByteArray(2, '\0'));
    for (const auto& list : m_free)
        header.WriteInt32(qint32(list.size()));
    header.WriteInt32(0);
    preamble.Preview = preview;
    preamble.Settings = Settings;
    QByteArray bytes = WritePrintFilePreamble(fileSignature(), preamble);
    TFrameWriter body(bytes);
    auto writeEntry = [&](const TDrawRect& frame) {
        body.WriteInt32(StackingIndex(&frame));
        frame.SaveToStream(body);
    };
    for (const auto* set : {&m_simple, &m_detailed})
        for (const auto& frame : *set)
            writeEntry(*frame);
    for (const auto& list : m_free)
        for (const auto& frame : list)
            writeEntry(*frame);
    return bytes;
}

bool TLayoutDocument::SaveToFile(const QString& path)
{
    TBusyCursor busy;
    return SaveDocumentFile(path, EncodeLayoutFile(EncodeJpeg(CreateThumbnail(0), 90)), Modified, FileName);
}

QImage TLayoutDocument::CreateThumbnail(int sizeIndex)
{
    double s = 1.0;
    QImage image = BlankThumbnail(sizeIndex, DesignSize, &s);
    if (!Background.isNull()) {
        QImage source = Background;
        StretchBitmap(source, &image, image.width(), image.height(), 2);
    }
    QPainter painter(&image);
    // Illustrations are drawn smoothly here whatever their own setting.
    DrawStackedFrames(painter, Stacking, s, Zoom);
    return image;
}

void TLayoutDocument::PrintFrames(QPainter& painter, QPoint offset)
{
    for (auto it = Stacking.rbegin(); it != Stacking.rend(); ++it) {
        (*it)->CalcPrintRect(offset, false);
        (*it)->Print(painter, 0, 0);
    }
}

bool TLayoutDocument::PrintPages(TPrinter& printer, const QString& title, int* pages, QString* error)
{
    TPrintSettings settings;
    if (TAddressListSource* list = Context.AddressList)
        for (int i = 0; i < list->GetRecordCount(); ++i)
            settings.RecNos.push_back(list->GetRecNo(i));
    const TPrintResult result = RunPrintJob(*MakePrintClient(*this), printer, settings, title);
    if (pages)
        *pages = result.Pages;
    if (!result.Ok && error)
        *error = result.Error;
    return result.Ok;
}
