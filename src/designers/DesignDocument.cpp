// The message-side document: paper, empty designs, ".gpd" files, preview picture and the sender merge.
#include "designers/DesignDocument.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/FontSub.h"
#include "core/MsgBoxPos.h"
#include "designers/SenderMerge.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/ImageFiles.h"
#include "layoutobjects/PrinterInfo.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QPainter>

#include <algorithm>
#include <cmath>

using namespace LayoutSettingsField;

namespace {

int TenthMmToPixels(qint32 tenths)
{
    return int(RoundHalfAway(tenths / 254.0 * 96));
}

} // namespace

TDesignDocument::TDesignDocument(TDesignContext context) : Context(std::move(context))
{
    ClearDesign();
}

TDrawRect* TDesignDocument::AddFreeFrame(int kind, std::unique_ptr<TDrawRect> frame)
{
    m_free[size_t(kind)].push_back(std::move(frame));
    TDrawRect* raw = m_free[size_t(kind)].back().get();
    ZOrder.insert(ZOrder.begin(), raw);
    return raw;
}

TDrawRect* TDesignDocument::InsertFreeFrame(int kind, int index, std::unique_ptr<TDrawRect> frame)
{
    return InsertOwnedFrame(m_free[size_t(kind)], index, std::move(frame));
}

std::unique_ptr<TDrawRect> TDesignDocument::TakeFreeFrame(int kind, int index)
{
    return TakeOwnedFrame(m_free[size_t(kind)], index);
}

int TDesignDocument::FreeIndex(const TDrawRect* frame) const
{
    const int kind = frame->GetKind() - KindIllust;
    if (kind < 0 || kind >= FreeKindCount)
        return -1;
    const auto& list = m_free[size_t(kind)];
    const auto it = std::find_if(list.begin(), list.end(), [frame](const auto& f) { return f.get() == frame; });
    return it == list.end() ? -1 : int(it - list.begin());
}

TSenderRect* TDesignDocument::SetSenderBlock(std::unique_ptr<TSenderRect> block)
{
    if (m_sender) {
        std::erase(ZOrder, m_sender.get());
        std::erase(Selection, m_sender.get());
        FocusedIndex = qMin(FocusedIndex, int(Selection.size()) - 1);
    }
    m_sender = std::move(block);
    if (m_sender)
        ZOrder.insert(ZOrder.begin(), m_sender.get());
    return m_sender.get();
}

void TDesignDocument::ClearDesign()
{
    Selection.clear();
    FocusedIndex = -1;
    ZOrder.clear();
    Zoom = 0;
    Settings.Clear();
    Settings.SetInt(SenderPostalMark, 1);
    BackImage.Clear();
    for (auto& list : m_free)
        list.clear();
    m_sender.reset();
    Undo.Clear();
}

bool TDesignDocument::NewDesign()
{
    PaperLongSide = qMax(PaperFormat.Width(), PaperFormat.Height());
    SetPrintArea();
    BackImage.SetPaperSize(QSize(PaperFormat.Width(), PaperFormat.Height()));
    BackImage.SetVisibleRect(PrintableArea);
    for (int level : {AddressLevel, NameLevel, SenderAddressLevel, SenderNameLevel, SenderAdditionLevel})
        Settings.SetInt(level, 3);
    Settings.SetInt(CompanyRatio, 3);
    Settings.SetInt(DepartmentRatio, 4);
    Settings.SetInt(TitleRatio, 5);
    Settings.SetByte(WidenSpacing, 1);
    Settings.SetInt(SenderPostalMark, 1);
    DocumentOpen = true;
    FileName.clear();
    return true;
}

bool TDesignDocument::LoadPaperFormat()
{
    TDesignPaperFormat found;
    if (LookupDesignFormat(DesignFormatPath(), PaperIndex, found) != DesignFormatLookup::Found) {
        MessageBoxPos(nullptr, PaperFileMissingMessage, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconStop);
        return false;
    }
    PaperFormat = found;
    SetPrintArea();
    PaperLongSide = qMax(PaperFormat.Width(), PaperFormat.Height());
    return true;
}

void TDesignDocument::SetPrintArea()
{
    PaperPixelSize = QSize(TenthMmToPixels(PaperFormat.Width()), TenthMmToPixels(PaperFormat.Height()));
    TPrinterInfo* printer = Context.Printer;
    if (!printer || printer->ScaleX == 0 || printer->ScaleY == 0) {
        PrintableArea = TRect{0, 0, PaperPixelSize.width(), PaperPixelSize.height()};
        return;
    }
    const bool lying = PaperFormat.Direction() != 0;
    // Postcards by their paper number, other papers by their size.
    SetPrinterPaper(PaperFormat.Kind() == 0 ? PostcardPaperNumber : 0, lying ? 2 : 1,
                    lying ? PaperFormat.Height() : PaperFormat.Width(),
                    lying ? PaperFormat.Width() : PaperFormat.Height());
    TakePrintableArea();
}

void TDesignDocument::TakePrintableArea()
{
    TPrinterInfo* printer = Context.Printer;
    if (printer)
        printer->TakeCurrentPrinter();
    if (!printer || printer->ScaleX == 0 || printer->ScaleY == 0) {
        PrintableArea = TRect{0, 0, PaperPixelSize.width(), PaperPixelSize.height()};
        return;
    }
    const qint32 left = qint32(RoundHalfAway(printer->OffsetX / printer->ScaleX));
    const qint32 top = qint32(RoundHalfAway(printer->OffsetY / printer->ScaleY));
    const int pageWidth = printer->PhysicalWidth - printer->RightMargin - printer->OffsetX;
    const int pageHeight = printer->PhysicalHeight - printer->BottomMargin - printer->OffsetY;
    PrintableArea = TRect{left, top, left + qint32(RoundHalfAway(pageWidth / printer->ScaleX)),
                          top + qint32(RoundHalfAway(pageHeight / printer->ScaleY))};
}

QString TDesignDocument::Caption() const
{
    if (!DocumentOpen)
        return DesignCaption;
    if (FileName.isEmpty())
        return DesignCaption + QStringLiteral(" - 新規");
    return DesignCaption + QStringLiteral(" - ") + QFileInfo(FileName).completeBaseName() +
           (Modified ? QStringLiteral(" (更新)") : QString());
}

// Files.

void TDesignDocument::takeFrames(TDesignFileContents& contents)
{
    size_t placed = contents.Sender ? 1 : 0;
    for (const auto& list : contents.Frames)
        placed += list.size();
    ZOrder.assign(placed, nullptr);
    for (int kind = 0; kind < FreeKindCount; ++kind)
        for (TStackedFrame& entry : contents.Frames[size_t(kind)]) {
            ZOrder[size_t(entry.ZOrder)] = entry.Frame.get();
            m_free[size_t(kind)].push_back(std::move(entry.Frame));
        }
    if (contents.Sender) {
        m_sender = std::move(contents.Sender);
        ZOrder[size_t(contents.SenderZOrder)] = m_sender.get();
    }
}

bool TDesignDocument::LoadFromFile(const QString& path)
{
    TBusyCursor busy;
    QFile file(path);
    QByteArray bytes;
    if (file.open(QIODevice::ReadOnly))
        bytes = file.readAll();
    TDesignFileContents contents;
    if (!TDesignFile::Decode(bytes, contents)) {
        MessageBoxPos(nullptr, InvalidFileMessage, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
        return false;
    }
    const qint32 previousIndex = PaperIndex;
    PaperIndex = contents.Header.PaperIndex;
    if (!LoadPaperFormat()) {
        PaperIndex = previousIndex;
        SetPrintArea();
    }
    if (contents.Background)
        BackImage.Assign(*contents.Background);
    BackImage.SetPaperSize(QSize(PaperFormat.Width(), PaperFormat.Height()));
    BackImage.SetVisibleRect(PrintableArea);
    Settings = contents.Settings;
    takeFrames(contents);

    TDesignPrototypes& prototypes = *Context.Prototypes;
    if (!m_free[FreeText].empty())
        TakeTextPrototype(*prototypes.Rects->Text, static_cast<const TWordRect&>(*m_free[FreeText].back()));
    if (!m_free[FreeFigure].empty())
        TakeFigurePrototype(*prototypes.Rects->Figure,
                            static_cast<const TFigureRect&>(*m_free[FreeFigure].back()));
    if (m_sender) {
        TSenderRect& prototype = prototypes.Sender;
        prototype.Assign(*m_sender);
        prototype.Frame().Reset();
        if (prototype.GetUpsideDown())
            prototype.SetUpsideDown(false);
        prototypes.SetChanged();

        const int level = Settings.Int(SenderNameLevel);
        for (bool simple : {true, false})
            m_sender->GetName(simple)->SetLevel(level);
        for (TCorpRect* line : {m_sender->GetCompany(), m_sender->GetCorpLine(0), m_sender->GetCorpLine(1),
                                m_sender->GetTitle()})
            line->SetLevel(level);
        TNameRect* name = m_sender->GetName(true);
        name->SetCompanyRatio(CompanyLineRatio(Settings.Int(CompanyRatio)));
        name->SetDepartmentRatio(CompanyLineRatio(Settings.Int(DepartmentRatio)));
        name->SetTitleRatio(CompanyLineRatio(Settings.Int(TitleRatio)));
        m_sender->UpdateFontHeights();
        const bool digits = Settings.Byte(VerticalDigits) != 0;
        m_sender->GetSimpleAddress()->SetVerticalDigits(digits);
        for (int i = 0; i < 3; ++i)
            m_sender->GetAddressLine(i)->SetVerticalDigits(digits);
        ShowSenderData();
    }
    FileName = path;
    DocumentOpen = true;
    Modified = false;
    return true;
}

QByteArray TDesignDocument::EncodeDesignFile(const QByteArray& preview) const
{
    TDesignFileSource source;
    source.PaperIndex = PaperIndex;
    source.Settings = Settings;
    source.Background = &BackImage;
    for (int kind = 0; kind < FreeKindCount; ++kind)
        for (const auto& frame : m_free[size_t(kind)])
            source.Frames[size_t(kind)].push_back(frame.get());
    source.Sender = m_sender.get();
    source.ZOrder = &ZOrder;
    return TDesignFile::Encode(source, preview);
}

bool TDesignDocument::SaveToFile(const QString& path)
{
    TBusyCursor busy;
    // A block in item mode is stored as a whole block.
    if (m_sender && !m_sender->WholeBlock())
        m_sender->SetWholeBlock(true);
    return SaveDocumentFile(path, EncodeDesignFile(EncodeJpeg(CreateThumbnail(0), 75)), Modified, FileName);
}

QImage TDesignDocument::CreateThumbnail(int sizeIndex)
{
    double s = 1.0;
    QImage image = BlankThumbnail(sizeIndex, PaperPixelSize, &s);
    const int w = qMax(1, PaperPixelSize.width()), h = qMax(1, PaperPixelSize.height());
    const double back = Zoom > 0 ? Zoom : 1.0;
    QPainter painter(&image);
    BackImage.SetZoom(s);
    BackImage.SetVisibleRect(TRect{0, 0, w, h});
    BackImage.Draw(painter, 0, 0);
    BackImage.SetZoom(back);
    BackImage.SetVisibleRect(PrintableArea);
    DrawStackedFrames(painter, ZOrder, s, back);
    return image;
}

void TDesignDocument::ShowSenderData()
{
    if (!m_sender)
        return;
    const AnsiString key = m_sender->SenderTitle();
    TSenderMergePolicy policy;
    policy.VerticalDashes = PaperFormat.Direction() == 0;
    ::ShowSenderData(*m_sender, Context.Senders, Settings, policy);
    // A key that is gone moves the prototype to the first sender too.
    if (m_sender->SenderTitle() != key)
        Context.Prototypes->Sender.SetSenderTitle(m_sender->SenderTitle());
}
