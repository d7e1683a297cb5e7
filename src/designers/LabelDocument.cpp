// Label-sheet and card documents: their fixed sets, paper set-up, new layout and set switch on the shared
// designer document, the mode's names and the window settings of the mode's section.
#include "designers/LabelDocument.h"

#include "core/AppSub.h"
#include "core/FontSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "designers/DesignerFileCommands.h"
#include "designers/LayoutDocument.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/PrinterInfo.h"
#include "layoutobjects/QRCodeRect.h"
#include "platform/IniFile.h"

#include <QDir>
#include <QFileInfo>

using namespace LayoutSettingsField;

// Names by mode.

namespace {

bool IsCard(quint8 mode)
{
    return mode == LabelModeCard;
}

QString ModeWord(quint8 mode)
{
    return IsCard(mode) ? QStringLiteral("名刺") : QStringLiteral("ラベル");
}

} // namespace

QString LabelTitle(quint8 mode)
{
    return ModeWord(mode) + QStringLiteral("印刷");
}

int LabelHelpContext(quint8 mode, bool preview)
{
    if (mode == LabelModeCard)
        return preview ? 103 : 96;
    return preview ? 95 : 88;
}

QString LabelCaption(quint8 mode, const QString& fileName, bool modified)
{
    if (fileName.isEmpty())
        return LabelTitle(mode) + QStringLiteral(" - 新規");
    return LabelTitle(mode) + QStringLiteral(" - ") + QFileInfo(fileName).completeBaseName() +
           (modified ? QStringLiteral(" (更新)") : QString());
}

QString LabelDocumentFolder(quint8 mode)
{
    return IsCard(mode) ? CardFolder : LabelFolder;
}

QString LabelExtension(quint8 mode)
{
    return IsCard(mode) ? QStringLiteral(".gpc") : QStringLiteral(".gpa");
}

QString LabelPrinterFile(quint8 mode)
{
    return DataRootFolder + (IsCard(mode) ? QStringLiteral("Label.pi") : QStringLiteral("Card.pi"));
}

QString LabelSettingsSection(quint8 mode)
{
    return IsCard(mode) ? QStringLiteral("CARD") : QStringLiteral("LABEL");
}

QString LabelDeletedPaperMessage(quint8 mode)
{
    return QStringLiteral("選択された") + (IsCard(mode) ? QStringLiteral("名刺") : QStringLiteral("ラベル")) +
           QStringLiteral("は用紙情報が削除されています  ");
}

QString LabelSaveQuestion(quint8 mode)
{
    return ModeWord(mode) + QStringLiteral("印刷のレイアウトの変更を保存しますか？  ");
}

QString LabelDiscardQuestion(quint8 mode, bool hasFileName)
{
    const QString sure = QStringLiteral("\r\n本当によろしいですか？");
    if (hasFileName)
        return ModeWord(mode) + QStringLiteral("印刷のレイアウトは変更前の状態に戻ります  ") + sure;
    return QStringLiteral("作成した") + ModeWord(mode) + QStringLiteral("印刷のレイアウトは破棄されます  ") +
           sure;
}

// Window settings.

TLabelWindowSettings LoadLabelSettings(const TMemIniFile& ini, quint8 mode)
{
    return LoadDesignerWindowSettings(ini, LabelSettingsSection(mode), LabelDocumentFolder(mode));
}

void InsertRecentFile(QStringList& history, const QString& path)
{
    history.removeAll(path);
    history.prepend(path);
    while (history.size() > LabelHistoryCount)
        history.removeLast();
}

void SaveLabelSettings(TMemIniFile& ini, quint8 mode, const TLabelWindowSettings& s)
{
    SaveDesignerWindowSettings(ini, LabelSettingsSection(mode), s);
}

QRect LabelWindowGeometry(const TLabelWindowSettings& s, const QRect& workArea, int captionHeight,
                          const std::function<int(int)>& scale)
{
    return DesignerWindowGeometry(s, workArea, captionHeight, QSize(LabelMinWidth, LabelMinHeight), scale);
}

// Documents.

std::unique_ptr<TLayoutDocument> NewLabelDocument(const TLayoutContext& context, quint8 mode,
                                                  qint32 paperIndex, quint8 dataSource)
{
    auto document = std::make_unique<TLayoutDocument>(context, mode);
    document->PaperIndex = paperIndex;
    if (!(paperIndex < 0 ? document->LoadCustomPaperFormat() : document->LoadPaperFormat()))
        return nullptr;
    document->FitPaperBarcode();
    document->DataSource = dataSource == 2 ? 2 : 1;
    document->SetIndividualLayout(false, true);
    document->NewLayout();
    return document;
}

std::unique_ptr<TLayoutDocument> LoadLabelDocument(const TLayoutContext& context, quint8 mode,
                                                   const QString& path, const TLayoutDocument* shown)
{
    auto document = std::make_unique<TLayoutDocument>(context, mode);
    if (shown) {
        document->Paper = shown->Paper;
        document->Sheet = shown->Sheet;
    }
    if (!document->LoadFromFile(path))
        return nullptr;
    return document;
}

bool ConfirmLabelSave(TLayoutDocument& document, QWidget* owner, const std::function<bool()>& saveAs)
{
    const quint8 mode = document.LabelMode;
    const bool named = !document.FileName.isEmpty();
    return ConfirmDesignerSave(owner, LabelSaveQuestion(mode), LabelDiscardQuestion(mode, named),
                               document.Modified,
                               [&] { return named ? document.SaveToFile(document.FileName) : saveAs(); });
}

std::vector<TLabelFrameEntry> LabelFrameList(const TLayoutDocument& document)
{
    std::vector<TLabelFrameEntry> list = {{QStringLiteral("なし"), nullptr}};
    const QString prefix = document.DataSource == 2 ? QStringLiteral("差出人") : QString();
    auto add = [&](const QString& name, TDrawRect* frame, bool always) {
        if (frame && (always || frame->Visible()))
            list.push_back({name, frame});
    };
    const TSimpleSet& s = document.Simple();
    const TDetailedSet& d = document.Detailed();
    if (document.DetailedSet) {
        const std::pair<QString, TDrawRect*> fixed[] = {
            {QStringLiteral("郵便番号"), d.Postal},
            {QStringLiteral("住所１"), d.Address[0]},
            {QStringLiteral("住所２"), d.Address[1]},
            {QStringLiteral("住所３"), d.Address[2]},
            {QStringLiteral("名前"), d.Name},
            {QStringLiteral("会社"), d.Corp[0]},
            {document.DataSource == 2 ? QStringLiteral("部署１") : QStringLiteral("部署"), d.Corp[1]},
            {QStringLiteral("役職"), d.Corp[2]}};
        for (const auto& [name, frame] : fixed)
            add(prefix + name, frame, false);
    } else {
        add(prefix + QStringLiteral("郵便番号"), s.Postal, true);
        add(prefix + QStringLiteral("住所"), s.Address, true);
        add(prefix + QStringLiteral("名前"), s.Name, true);
    }
    const QString digits = QStringLiteral("１２３４");
    for (int i = 0; i < 4; ++i)
        add(QStringLiteral("追加情報") + digits[i], document.Additions(document.DetailedSet)[size_t(i)],
            false);
    if (document.Paper.Kind == PaperLabel)
        add(QStringLiteral("バーコード"), document.DetailedSet ? d.Barcode : s.Barcode, false);
    const QString kinds[FreeKindCount] = {QStringLiteral("イラスト"), QStringLiteral("文章"),
                                          QStringLiteral("図形"), QStringLiteral("QRコード")};
    for (int kind = 0; kind < FreeKindCount; ++kind) {
        int number = 0;
        for (const auto& frame : document.FreeFrames(kind))
            list.push_back({kinds[kind] + QString::number(++number), frame.get()});
    }
    return list;
}

QString LabelDoubleClickAction(quint8 kind)
{
    switch (kind) {
    case KindBarcode:
        return QStringLiteral("actAdditionSet");
    case KindIllust:
        return QStringLiteral("actIllustSet");
    case KindWord:
        return QStringLiteral("actWordSet");
    case KindFigure:
        return QStringLiteral("actFigureSet");
    case KindQRCode:
        return QStringLiteral("actQRCodeSet");
    default:
        return QStringLiteral("actFont");
    }
}

// The document's label members.

namespace {

template <class T> T* Append(std::vector<std::unique_ptr<TDrawRect>>& set)
{
    auto frame = std::make_unique<T>();
    T* raw = frame.get();
    set.push_back(std::move(frame));
    return raw;
}

} // namespace

void TLayoutDocument::buildLabelSets()
{
    // The recipient halves of the address-side sets, then the additional items and the barcode.
    const bool label = LabelMode == LabelModeLabel;
    m_s.Postal = Append<TPosRect>(m_simple);
    m_s.Address = Append<TAddressRect>(m_simple);
    m_s.Name = Append<TNameRect>(m_simple);
    for (TAdditionRect*& item : m_additions[0])
        item = Append<TAdditionRect>(m_simple);
    if (label)
        m_s.Barcode = Append<TBarcodeRect>(m_simple);

    m_d.Postal = Append<TPosRect>(m_detailed);
    for (TAddressRect*& line : m_d.Address)
        line = Append<TAddressRect>(m_detailed);
    for (TCorpRect*& corp : m_d.Corp)
        corp = Append<TCorpRect>(m_detailed);
    m_d.Name = Append<TNameRect>(m_detailed);
    for (TAdditionRect*& item : m_additions[1])
        item = Append<TAdditionRect>(m_detailed);
    if (label)
        m_d.Barcode = Append<TBarcodeRect>(m_detailed);
    for (const auto& f : m_simple)
        m_current.push_back(f.get());
}

void TLayoutDocument::labelClearLayout()
{
    for (const auto& set : m_additions)
        for (TAdditionRect* item : set) {
            item->SetItemKind(AdditionFixedText);
            item->SetHeading(QString());
            item->SetText(QString());
            item->SetVisible(false);
        }
}

bool TLayoutDocument::labelLoadPaper(bool custom)
{
    const int kind = IsCardMode() ? PaperCard : PaperLabel;
    if (custom) {
        TCustomFormats formats;
        if (LoadCustomFormats(CustomFormatPath(), formats) != FormatFileState::Read)
            return false;
        const int at = formats.Find(qAbs(qint32(PaperIndex)));
        if (at < 0 || formats.Formats[size_t(at)].Format.Kind != kind)
            return false;
        Paper = formats.Formats[size_t(at)].Format;
        Horizontal = formats.Formats[size_t(at)].Horizontal != 0;
        Sheet = formats.SheetOf(Paper);
    } else {
        TStandardFormats formats;
        if (LoadLayoutFormats(LayoutFormatPath(), formats) != FormatFileState::Read) {
            MessageBoxPos(nullptr, PaperFileMissingMessage, ProductTitle,
                          MsgSeam::MbOk | MsgSeam::MbIconStop);
            return false;
        }
        // A record past the end or of another kind is a paper that no longer exists.
        if (PaperIndex < 0 || size_t(PaperIndex) >= formats.Formats.size() ||
            formats.Formats[size_t(PaperIndex)].Kind != kind)
            return false;
        Paper = formats.Formats[size_t(PaperIndex)];
        Horizontal = Paper.Height < Paper.Width || (Paper.Kind != PaperLabel && Paper.Direction == 1);
        Sheet = formats.SheetOf(Paper);
    }
    takePicture();
    SetPrintArea();
    PaperLongSide = qMax(Paper.Width, Paper.Height) / 2 * 3;
    return true;
}

void TLayoutDocument::labelSetPrintArea(bool fromFirstPiece)
{
    TPrinterInfo* printer = Context.Printer;
    if (!printer || printer->ScaleX == 0 || printer->ScaleY == 0) {
        PrintArea = TRect{0, 0, DesignSize.width(), DesignSize.height()};
        return;
    }
    const bool sheet = Paper.SheetIndex != 0;
    SetPrinterPaper(0, Paper.Direction >= 1 ? 2 : 1, sheet ? Sheet.Width : Paper.Width,
                    sheet ? Sheet.Height : Paper.Height);
    printer->TakeCurrentPrinter();
    qint32 left = qint32(RoundHalfAway(printer->OffsetX / printer->ScaleX));
    qint32 top = qint32(RoundHalfAway(printer->OffsetY / printer->ScaleY));
    const int pageWidth = printer->PhysicalWidth - printer->RightMargin - printer->OffsetX;
    const int pageHeight = printer->PhysicalHeight - printer->BottomMargin - printer->OffsetY;
    const qint32 width = qint32(RoundHalfAway(pageWidth / printer->ScaleX));
    const qint32 height = qint32(RoundHalfAway(pageHeight / printer->ScaleY));
    // On a sheet the area is counted from the first piece; a turned sheet is fed lying.
    if (sheet && fromFirstPiece) {
        if (Paper.Direction == 0) {
            left -= TenthMmToDesign(Sheet.LeftMargin);
            top -= TenthMmToDesign(Sheet.TopMargin);
        } else {
            left -= TenthMmToDesign(Sheet.TopMargin);
            top -= TenthMmToDesign(Sheet.Width - Sheet.Columns * Paper.Height -
                                   Sheet.HorzGap * (Sheet.Columns - 1) - Sheet.LeftMargin);
        }
    }
    PrintArea = TRect{left, top, left + width, top + height};
}

void TLayoutDocument::labelFitBarcode()
{
    int size = 0;
    BarcodeImpossible = !FitBarcodeSize(qMax(Paper.Width, Paper.Height), &size);
    MaxBarcodeSize = size;
}

bool TLayoutDocument::labelNewLayout()
{
    PaperLongSide = qMax(Paper.Width, Paper.Height) / 2 * 3;
    takePicture();
    SetPrintArea();
    m_s.Name->SetCompanyRatio(CompanyLineRatio(3));
    m_s.Name->SetDepartmentRatio(CompanyLineRatio(4));
    m_s.Name->SetTitleRatio(CompanyLineRatio(5));
    resetTextFrames(Horizontal);
    for (TBarcodeRect* barcode : {m_s.Barcode, m_d.Barcode})
        if (barcode)
            barcode->SetHorizontal(Horizontal);
    for (TDrawRect* f : std::initializer_list<TDrawRect*>{m_s.Postal, m_s.Address, m_s.Name})
        Stacking.push_back(f);
    // Preset rectangles past a set's frames are ignored.
    for (int i = 0; i < qMin(Paper.Count1, qint32(m_simple.size())); ++i) {
        const TPresetRect& r = Paper.Rects1[size_t(i)];
        m_simple[size_t(i)]->SetDesignRect(TRect{r.Left, r.Top, r.Right, r.Bottom});
    }
    for (int i = 0; i < qMin(Paper.Count2, qint32(m_detailed.size())); ++i) {
        const TPresetRect& r = Paper.Rects2[size_t(i)];
        m_detailed[size_t(i)]->SetDesignRect(TRect{r.Left, r.Top, r.Right, r.Bottom});
    }
    Settings.SetDefaults(true);
    if (Paper.Kind == PaperLabel) {
        Settings.SetInt(RecipientPostalMark, 2);
    } else {
        for (int offset : {DefaultHonorific, CompanyHonorific, TitleHonorific, SenderHonorific})
            for (int i = 0; i < 11; ++i)
                Settings.SetByte(offset + i, 0);
        Settings.SetInt(RecipientPostalMark, 1);
    }
    labelMerge();
    openAsNew();
    return true;
}

void TLayoutDocument::labelSetIndividualLayout(bool individual, bool fromNewOrFile)
{
    TBarcodeRect* chosen = takeFrameSet(individual, fromNewOrFile);
    // The target set takes the other set's additional items too.
    for (size_t i = 0; i < 4; ++i) {
        TAdditionRect* to = m_additions[individual][i];
        const TAdditionRect* from = m_additions[!individual][i];
        to->SetVisible(from->Visible());
        to->SetItemKind(from->ItemKind());
        to->SetText(from->Text());
    }
    if (fromNewOrFile || !DocumentOpen)
        return;

    turnCurrentSet();
    stackRecipientFrames(individual);
    for (TAdditionRect* item : m_additions[individual])
        InsertIntoStacking(item, true);
    if (chosen && Paper.Kind == PaperLabel)
        stackBarcode(chosen);
}

void TLayoutDocument::labelApplySettings()
{
    const int nameLevel = Settings.Int(NameLevel), addressLevel = Settings.Int(AddressLevel);
    const int additionLevel = Settings.Int(AdditionLevel);
    forEachTextFrame([&](TMetaRect& frame) {
        if (auto* f = dynamic_cast<TAddressRect*>(&frame)) {
            f->SetLevel(addressLevel);
            f->SetVerticalDigits(Settings.Byte(VerticalDigits) != 0);
        } else if (auto* f = dynamic_cast<TNameRect*>(&frame))
            f->SetLevel(nameLevel);
        else if (auto* f = dynamic_cast<TCorpRect*>(&frame))
            f->SetLevel(nameLevel);
        else if (auto* f = dynamic_cast<TAdditionRect*>(&frame))
            f->SetLevel(additionLevel);
    });
    m_s.Name->SetCompanyRatio(CompanyLineRatio(Settings.Int(CompanyRatio)));
    m_s.Name->SetDepartmentRatio(CompanyLineRatio(Settings.Int(DepartmentRatio)));
    m_s.Name->SetTitleRatio(CompanyLineRatio(Settings.Int(TitleRatio)));
    forEachTextFrame([](TMetaRect& frame) { frame.UpdateFontHeight(); });
}

const QByteArray& TLayoutDocument::fileSignature() const
{
    if (LabelMode == 0)
        return LayoutFileSignature;
    return IsCardMode() ? CardFileSignature : LabelFileSignature;
}

void TLayoutDocument::labelMerge()
{
    if (DataSource == 1)
        ShowRecordData(-1);
    else
        ShowSenderData();
}
