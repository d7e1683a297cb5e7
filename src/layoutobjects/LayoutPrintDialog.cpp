// The print wizard of the designers.
#include "layoutobjects/LayoutPrintDialog.h"

#include "addressbook/AdrsListRows.h"
#include "core/AppSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/UpDownEdit.h"
#include "layoutobjects/PrinterInfo.h"
#include "platform/IniFile.h"
#include "platform/Printers.h"
#include "platform/TableEngine.h"

#include <QApplication>
#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPrintDialog>
#include <QPrinter>
#include <QPrinterInfo>
#include <QPushButton>
#include <QRadioButton>
#include <QScrollBar>
#include <QStackedWidget>
#include <QToolButton>
#include <QVBoxLayout>

#include <algorithm>
#include <array>
#include <cmath>

namespace {

const QString NoDataMessage = QStringLiteral("印刷するデータがありません  ");
const QString ChosenStyle = QStringLiteral("color: blue;");

QString settingsPath()
{
    return DataRootFolder + MainSettingsFileName;
}

int roundDevice(double value)
{
    return int(RoundHalfAway(value));
}

void colour(QWidget* widget, bool chosen)
{
    widget->setStyleSheet(chosen ? ChosenStyle : QString());
}

QPushButton* button(const QString& name, const QString& text, QWidget* parent)
{
    auto* b = new QPushButton(text, parent);
    b->setObjectName(name);
    b->setAutoDefault(false);
    return b;
}

QLabel* label(const QString& name, const QString& text, QWidget* parent)
{
    auto* l = new QLabel(text, parent);
    l->setObjectName(name);
    return l;
}

// The filters at or after this point answer whether an edit's key belongs to the range edits.
int stepOfKey(int key)
{
    switch (key) {
    case Qt::Key_PageUp:
        return 10;
    case Qt::Key_PageDown:
        return -10;
    case Qt::Key_Up:
        return 1;
    case Qt::Key_Down:
        return -1;
    default:
        return 0;
    }
}

class TRangeEditFilter : public QObject
{
public:
    TRangeEditFilter(TLayoutPrintDialog* dialog, bool start) : QObject(dialog), m_dialog(dialog), m_start(start) {}
    bool eventFilter(QObject*, QEvent* event) override
    {
        if (event->type() == QEvent::FocusOut) {
            m_dialog->TakeRangeEdit(m_start, 0);
        } else if (event->type() == QEvent::KeyPress) {
            const int step = stepOfKey(static_cast<QKeyEvent*>(event)->key());
            if (step != 0) {
                m_dialog->TakeRangeEdit(m_start, step);
                return true;
            }
        }
        return false;
    }

private:
    TLayoutPrintDialog* m_dialog;
    bool m_start;
};

} // namespace

TPrintTargetReader TablePrintTargetReader(Table& adrs)
{
    return [&adrs](qint32 recNo) -> std::optional<int> {
        if (!adrs.locate({QStringLiteral("RecNo")}, {recNo}))
            return std::nullopt;
        return int(adrs.fieldByName(QStringLiteral("PrintTarget")).asInteger());
    };
}

TDataList BuildPrintList(const TAddressListRows& rows, const TPrintTargetReader& printTarget, int rangeKind,
                         int filter, int startRange, int endRange)
{
    TDataList list;
    if (rangeKind == 0) {
        // No selected row means nothing to print, never a record of -1.
        const int index = rows.GetFirstSelectedIndex();
        if (index >= 0 && rows.GetRecNo(index) >= 0)
            list.push_back(rows.GetRecNo(index));
        return list;
    }
    const int count = rows.GetRecordCount();
    for (int i = 0; i < count; ++i) {
        const bool candidate = rangeKind == 1   ? rows.IsSelected(i)
                               : rangeKind == 2 ? startRange <= i + 1 && i + 1 <= endRange
                                                : rangeKind == 3;
        if (!candidate)
            continue;
        const qint32 recNo = rows.GetRecNo(i);
        if (filter == 1 || filter == 2) {
            const std::optional<int> target = printTarget ? printTarget(recNo) : std::nullopt;
            if (!target || (filter == 1 && *target != 1) || (filter == 2 && *target == 2))
                continue;
        }
        list.push_back(recNo);
    }
    return list;
}

int PrintSheetCount(int records, bool selectRecords, int faces, int start, int prints, int copies)
{
    if (faces > 1) {
        const int n = (selectRecords ? records * prints : prints) + start - 1;
        return (n + faces - 1) / faces * copies;
    }
    return selectRecords ? records * copies : copies;
}

QString OffsetDirectionText(bool vertical, int position)
{
    if (vertical)
        return position <= 500 ? QStringLiteral("上：") : QStringLiteral("下：");
    return position <= 500 ? QStringLiteral("左：") : QStringLiteral("右：");
}

QString OffsetDistanceText(int position)
{
    return QString::asprintf("%.1f mm", std::abs(position - 500) / 10.0);
}

bool ContentLeavesPrintable(const TRect& bounds, QPoint positions, int flap, int dpiX, int dpiY,
                            const QRect& printable)
{
    const int offsetX = roundDevice((positions.x() - 500) / 254.0 * dpiX);
    const int offsetY = roundDevice((positions.y() - 500) / 254.0 * dpiY);
    const int flapY = roundDevice(flap / 254.0 * dpiY);
    const int left = roundDevice(dpiX * bounds.left / 96.0) + offsetX;
    const int top = roundDevice(dpiY * bounds.top / 96.0) + offsetY + flapY;
    const int width = roundDevice(dpiX * double(bounds.right - bounds.left) / 96.0);
    const int height = roundDevice(dpiY * double(bounds.bottom - bounds.top) / 96.0);
    const int right = printable.x() + printable.width();
    const int bottom = printable.y() + printable.height();
    return left < printable.x() || top < printable.y() || left + width > right || top + height > bottom;
}

QString LayoutPrintSection(int paperKind)
{
    if (paperKind == 2)
        return QStringLiteral("LABEL PRINT");
    if (paperKind == 3)
        return QStringLiteral("CARD PRINT");
    return QStringLiteral("LAYOUT PRINT");
}

TLayoutPrintDialog::TLayoutPrintDialog(QWidget* owner, const TAddressListRows* rows,
                                       TPrintTargetReader printTarget)
    : QDialog(owner), m_rows(rows), m_printTarget(std::move(printTarget))
{
    setObjectName(QStringLiteral("LayoutPrintDialog"));
    setWindowTitle(QStringLiteral("宛名印刷"));
    auto* top = new QVBoxLayout(this);
    m_pages = new QStackedWidget(this);
    m_pages->setObjectName(QStringLiteral("pgcPrint"));
    top->addWidget(m_pages);

    // Page 1: the records.
    auto* page1 = new QWidget(m_pages);
    page1->setObjectName(QStringLiteral("tabDataSelect"));
    auto* p1 = new QVBoxLayout(page1);
    auto* rangeBox = new QGroupBox(QStringLiteral("データの選択"), page1);
    auto* rangeGrid = new QGridLayout(rangeBox);
    const QString rangeTexts[4] = {QStringLiteral("表示しているデータ"), QStringLiteral("一覧で選択したデータ"),
                                   QStringLiteral("数値で範囲を指定"),
                                   QStringLiteral("一覧に表示されているすべてのデータ")};
    for (int tag = 0; tag < 4; ++tag) {
        m_range[tag] = new QRadioButton(rangeTexts[tag], rangeBox);
        m_range[tag]->setObjectName(QStringLiteral("rbDataRange%1").arg(tag));
        connect(m_range[tag], &QRadioButton::clicked, this, [this, tag] { ChooseRange(tag); });
        rangeGrid->addWidget(m_range[tag], tag < 3 ? tag : 4, 0, 1, 6);
    }
    auto rangeEdit = [&](const QString& name, bool start) {
        auto* edit = new QLineEdit(rangeBox);
        edit->setObjectName(name);
        edit->setMaxLength(6);
        edit->setAttribute(Qt::WA_InputMethodEnabled, false);
        edit->installEventFilter(new TRangeEditFilter(this, start));
        return edit;
    };
    auto spinner = [&](const QString& name, bool start) {
        auto* box = new QWidget(rangeBox);
        box->setObjectName(name);
        auto* v = new QVBoxLayout(box);
        v->setContentsMargins(0, 0, 0, 0);
        v->setSpacing(0);
        for (bool up : {true, false}) {
            auto* arrow = new QToolButton(box);
            arrow->setObjectName(name + (up ? QStringLiteral("Up") : QStringLiteral("Down")));
            arrow->setArrowType(up ? Qt::UpArrow : Qt::DownArrow);
            arrow->setFocusPolicy(Qt::NoFocus);
            connect(arrow, &QToolButton::clicked, this, [this, start, up] { StepRange(start, up); });
            v->addWidget(arrow);
        }
        return box;
    };
    m_edStartRange = rangeEdit(QStringLiteral("edStartRange"), true);
    m_edEndRange = rangeEdit(QStringLiteral("edEndRange"), false);
    QWidget* udStart = spinner(QStringLiteral("udStartRange"), true);
    QWidget* udEnd = spinner(QStringLiteral("udEndRange"), false);
    QLabel* lblFrom = label(QStringLiteral("lblStartRange"), QStringLiteral("件目 ～"), rangeBox);
    QLabel* lblTo = label(QStringLiteral("lblEndRange"), QStringLiteral("件目"), rangeBox);
    const std::array<QWidget*, 6> rangeRow = {m_edStartRange, udStart, lblFrom, m_edEndRange, udEnd, lblTo};
    for (int i = 0; i < 6; ++i) {
        m_rangeControls[i] = rangeRow[size_t(i)];
        rangeGrid->addWidget(rangeRow[size_t(i)], 3, i);
    }
    p1->addWidget(rangeBox);
    auto* filterBox = new QGroupBox(QStringLiteral("印刷指定："), page1);
    auto* filterRow = new QVBoxLayout(filterBox);
    const QString filterTexts[3] = {QStringLiteral("すべて印刷する"),
                                    QStringLiteral("「印刷」 データだけを印刷する"),
                                    QStringLiteral("「除外」 データは印刷しない")};
    for (int tag = 0; tag < 3; ++tag) {
        m_filter[tag] = new QRadioButton(filterTexts[tag], filterBox);
        m_filter[tag]->setObjectName(QStringLiteral("rbDataLimit%1").arg(tag));
        connect(m_filter[tag], &QRadioButton::clicked, this, [this, tag] { ChooseFilter(tag); });
        filterRow->addWidget(m_filter[tag]);
    }
    p1->addWidget(filterBox);
    auto* countRow = new QHBoxLayout;
    countRow->addWidget(new QLabel(QStringLiteral("印刷データ件数："), page1));
    m_lblCount = label(QStringLiteral("lblDataCount"), QString(), page1);
    countRow->addWidget(m_lblCount);
    countRow->addStretch();
    p1->addLayout(countRow);
    auto* buttons1 = new QHBoxLayout;
    m_btnPreview1 = button(QStringLiteral("btnPreview1"), QStringLiteral("プレビュー(&V)"), page1);
    m_btnNext = button(QStringLiteral("btnNext"), QStringLiteral("次へ(&N)"), page1);
    QPushButton* cancel1 = button(QStringLiteral("btnCancel1"), QStringLiteral("キャンセル"), page1);
    buttons1->addStretch();
    for (QPushButton* b : {m_btnPreview1, m_btnNext, cancel1})
        buttons1->addWidget(b);
    p1->addLayout(buttons1);
    m_pages->addWidget(page1);

    // Page 2: position, copies, sheet, printer.
    auto* page2 = new QWidget(m_pages);
    page2->setObjectName(QStringLiteral("tabPrintSet"));
    auto* p2 = new QVBoxLayout(page2);
    auto* offsetBox = new QGroupBox(QStringLiteral("印刷位置の微調整"), page2);
    auto* offsetGrid = new QGridLayout(offsetBox);
    auto scroll = [&](const QString& name, Qt::Orientation orientation) {
        auto* bar = new QScrollBar(orientation, offsetBox);
        bar->setObjectName(name);
        bar->setRange(0, 1000);
        bar->setPageStep(10);
        bar->setValue(500);
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            UpdateOffsetLabels();
            CheckPrintableArea();
        });
        return bar;
    };
    m_scbVert = scroll(QStringLiteral("scbVert"), Qt::Vertical);
    m_scbVert->setMinimumHeight(90);
    m_scbHorz = scroll(QStringLiteral("scbHorz"), Qt::Horizontal);
    m_scbHorz->setMinimumWidth(200);
    m_lblVertDir = label(QStringLiteral("lblVertDir"), QString(), offsetBox);
    m_lblVertValue = label(QStringLiteral("lblVertValue"), QString(), offsetBox);
    m_lblHorzDir = label(QStringLiteral("lblHorzDir"), QString(), offsetBox);
    m_lblHorzValue = label(QStringLiteral("lblHorzValue"), QString(), offsetBox);
    offsetGrid->addWidget(new QLabel(QStringLiteral("縦："), offsetBox), 0, 0);
    offsetGrid->addWidget(m_scbVert, 0, 1, 2, 1);
    offsetGrid->addWidget(m_lblVertDir, 0, 2);
    offsetGrid->addWidget(m_lblVertValue, 0, 3);
    offsetGrid->addWidget(new QLabel(QStringLiteral("横："), offsetBox), 2, 0);
    offsetGrid->addWidget(m_scbHorz, 2, 1);
    offsetGrid->addWidget(m_lblHorzDir, 2, 2);
    offsetGrid->addWidget(m_lblHorzValue, 2, 3);
    p2->addWidget(offsetBox);

    auto* copyBox = new QGroupBox(QStringLiteral("部数"), page2);
    auto* copyRow = new QHBoxLayout(copyBox);
    m_edCopy = new TUpDownEdit(copyBox);
    m_edCopy->setObjectName(QStringLiteral("edCopy"));
    m_edCopy->SetRange(1, 1000);
    m_edCopy->SetValue(1);
    connect(m_edCopy, &TUpDownEdit::ValueApplied, this, [this](int copies) { SetCopies(copies, true); });
    m_lblSheets = label(QStringLiteral("lblSheetCount"), QString(), copyBox);
    copyRow->addWidget(new QLabel(QStringLiteral("印刷部数："), copyBox));
    copyRow->addWidget(m_edCopy);
    copyRow->addWidget(new QLabel(QStringLiteral("用紙枚数："), copyBox));
    copyRow->addWidget(m_lblSheets);
    p2->addWidget(copyBox);

    m_envelope = new QGroupBox(QStringLiteral("封筒"), page2);
    m_envelope->setObjectName(QStringLiteral("gbxEnvelope"));
    auto* envRow = new QHBoxLayout(m_envelope);
    m_edFlap = new TUpDownEdit(m_envelope, TUpDownEdit::Style::Length);
    m_edFlap->setObjectName(QStringLiteral("edFlap"));
    m_edFlap->SetRange(0, 500);
    m_edFlap->setMinimumWidth(80);
    connect(m_edFlap, &TUpDownEdit::ValueApplied, this, [this] { CheckPrintableArea(); });
    m_ckbReverse = new QCheckBox(QStringLiteral("上下逆方向から印刷する(&R)"), m_envelope);
    m_ckbReverse->setObjectName(QStringLiteral("ckbReverse"));
    connect(m_ckbReverse, &QCheckBox::toggled, this, [this](bool on) { colour(m_ckbReverse, on); });
    envRow->addWidget(new QLabel(QStringLiteral("封筒のフラップ長："), m_envelope));
    envRow->addWidget(new QLabel(QStringLiteral("上に"), m_envelope));
    envRow->addWidget(m_edFlap);
    envRow->addWidget(new QLabel(QStringLiteral("mm"), m_envelope));
    envRow->addWidget(m_ckbReverse);
    p2->addWidget(m_envelope);

    m_sheet = new QGroupBox(QStringLiteral("ラベル用紙"), page2);
    m_sheet->setObjectName(QStringLiteral("gbxSheet"));
    auto* sheetRow = new QHBoxLayout(m_sheet);
    m_edLabelStart = new TUpDownEdit(m_sheet);
    m_edLabelStart->setObjectName(QStringLiteral("edLabelStart"));
    m_edLabelStart->SetRange(1, 1);
    m_edLabelCount = new TUpDownEdit(m_sheet);
    m_edLabelCount->setObjectName(QStringLiteral("edLabelCount"));
    m_edLabelCount->SetRange(1, 100);
    m_edLabelCount->SetValue(1);
    for (TUpDownEdit* e : {m_edLabelStart, m_edLabelCount})
        connect(e, &TUpDownEdit::ValueApplied, this, [this] { UpdateSheetCount(); });
    sheetRow->addWidget(new QLabel(QStringLiteral("印刷開始位置："), m_sheet));
    sheetRow->addWidget(m_edLabelStart);
    sheetRow->addWidget(new QLabel(QStringLiteral("1件の印刷回数："), m_sheet));
    sheetRow->addWidget(m_edLabelCount);
    p2->addWidget(m_sheet);

    m_lblWarning = label(QStringLiteral("lblWarning"),
                         QStringLiteral("※※ 印刷内容が、印刷可能領域に入りきらない可能性があります ※※"), page2);
    m_lblWarning->setStyleSheet(QStringLiteral("color: red;"));
    m_lblWarning->hide();
    p2->addWidget(m_lblWarning);

    auto* printerGrid = new QGridLayout;
    m_pnlPrinter = label(QStringLiteral("pnlPrinter"), QString(), page2);
    m_pnlPaper = label(QStringLiteral("pnlPaper"), QString(), page2);
    m_pnlOrientation = label(QStringLiteral("pnlOrientation"), QString(), page2);
    m_bbtnPrinters = button(QStringLiteral("bbtnPrinters"), QStringLiteral("設定"), page2);
    connect(m_bbtnPrinters, &QPushButton::clicked, this, &TLayoutPrintDialog::PrinterSetup);
    printerGrid->addWidget(new QLabel(QStringLiteral("プリンター："), page2), 0, 0);
    printerGrid->addWidget(m_pnlPrinter, 0, 1);
    printerGrid->addWidget(m_bbtnPrinters, 0, 2);
    printerGrid->addWidget(new QLabel(QStringLiteral("用紙サイズ："), page2), 1, 0);
    printerGrid->addWidget(m_pnlPaper, 1, 1);
    printerGrid->addWidget(new QLabel(QStringLiteral("印刷方向："), page2), 2, 0);
    printerGrid->addWidget(m_pnlOrientation, 2, 1);
    p2->addLayout(printerGrid);
    m_ckbLimited =
        new QCheckBox(QStringLiteral("イラストの型抜き・透明化が正しく印刷できないプリンターを使う"), page2);
    m_ckbLimited->setObjectName(QStringLiteral("ckbLimitedPrinter"));
    p2->addWidget(m_ckbLimited);
    QLabel* note = new QLabel(QStringLiteral("※この設定を有効にすると、印刷に時間がかかる場合があります"), page2);
    note->setStyleSheet(QStringLiteral("color: red;"));
    p2->addWidget(note);
    auto* buttons2 = new QHBoxLayout;
    m_btnPreview2 = button(QStringLiteral("btnPreview2"), QStringLiteral("プレビュー(&V)"), page2);
    m_btnBack = button(QStringLiteral("btnBack"), QStringLiteral("戻る(&B)"), page2);
    m_btnPrint = button(QStringLiteral("btnPrint"), QStringLiteral("印刷(&P)"), page2);
    QPushButton* cancel2 = button(QStringLiteral("btnCancel2"), QStringLiteral("キャンセル"), page2);
    buttons2->addStretch();
    for (QPushButton* b : {m_btnPreview2, m_btnBack, m_btnPrint, cancel2})
        buttons2->addWidget(b);
    p2->addLayout(buttons2);
    m_pages->addWidget(page2);

    connect(m_btnPreview1, &QPushButton::clicked, this, &TLayoutPrintDialog::Preview);
    connect(m_btnPreview2, &QPushButton::clicked, this, &TLayoutPrintDialog::Preview);
    connect(m_btnNext, &QPushButton::clicked, this, &TLayoutPrintDialog::Next);
    connect(m_btnBack, &QPushButton::clicked, this, [this] { ShowPage(0); });
    connect(m_btnPrint, &QPushButton::clicked, this, &TLayoutPrintDialog::Print);
    connect(cancel1, &QPushButton::clicked, this, &QDialog::reject);
    connect(cancel2, &QPushButton::clicked, this, &QDialog::reject);

    // Create.
    FillPrinterPanels();
    if (TPrinter* printer = TPrinterList::Instance().Current())
        printer->SetCopies(1);
    UpdateOffsetLabels();
}

void TLayoutPrintDialog::SetRecordSelection(bool select)
{
    SelectRecords = select;
    ShowPage(select ? 0 : 1);
    m_btnBack->setVisible(select);
}

void TLayoutPrintDialog::SetPaperKind(int kind)
{
    PaperKind = quint8(kind);
    m_envelope->setVisible(kind == 1);
    m_sheet->hide();
    m_btnPreview1->hide();
    m_btnPreview2->hide();
    if (kind == 2)
        setWindowTitle(QStringLiteral("ラベル印刷"));
    else if (kind == 3)
        setWindowTitle(QStringLiteral("名刺印刷"));
}

void TLayoutPrintDialog::SetFacesPerSheet(int faces)
{
    m_faces = std::max(1, faces);
    MultiFace = faces > 1;
    if (!MultiFace)
        return;
    m_sheet->show();
    m_btnPreview1->show();
    m_btnPreview2->show();
    m_edLabelStart->SetRange(1, faces);
    if (PaperKind == 0 || PaperKind == 1)
        m_sheet->setTitle(QStringLiteral("面付用紙"));
    else if (PaperKind == 3)
        m_sheet->setTitle(QStringLiteral("名刺用紙"));
}

void TLayoutPrintDialog::SetContentBounds(const TRect& bounds)
{
    ContentBounds = bounds;
    CheckPrintableArea();
}

QPoint TLayoutPrintDialog::GetOffset() const
{
    return {m_scbHorz->value() - 500, m_scbVert->value() - 500};
}

int TLayoutPrintDialog::GetFlapLength() const
{
    return m_edFlap->Value();
}

bool TLayoutPrintDialog::GetReverse() const
{
    return m_ckbReverse->isChecked();
}

int TLayoutPrintDialog::GetLabelStart() const
{
    return m_edLabelStart->Value();
}

int TLayoutPrintDialog::GetLabelCount() const
{
    return m_edLabelCount->Value();
}

bool TLayoutPrintDialog::GetLimitedPrinter() const
{
    return m_ckbLimited->isChecked();
}

int TLayoutPrintDialog::GetCopies() const
{
    return m_edCopy->Value();
}

int TLayoutPrintDialog::CurrentPageIndex() const
{
    return m_pages->currentIndex();
}

bool TLayoutPrintDialog::WarningShown() const
{
    return !m_lblWarning->isHidden();
}

void TLayoutPrintDialog::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    if (!event->spontaneous())
        FormShow();
}

void TLayoutPrintDialog::FormShow()
{
    const TMemIniFile ini(settingsPath());
    LoadSettings(ini);
    if (RestorePage) {
        const QString section = LayoutPrintSection(PaperKind);
        const int page = ini.ReadInteger(section, QStringLiteral("Page"), CurrentPageIndex());
        // Page 1 exists only while the records are chosen here.
        if ((page == 0 && SelectRecords) || page == 1)
            ShowPage(page);
        SetCopies(ini.ReadInteger(section, QStringLiteral("Copy"), 1), !MultiFace);
    }
    if (SelectRecords)
        RefreshRecordCount();
    else
        UpdateSheetCount();
}

void TLayoutPrintDialog::LoadSettings(const TMemIniFile& ini)
{
    const QString section = LayoutPrintSection(PaperKind);
    if (SelectRecords) {
        int range = ini.ReadInteger(section, QStringLiteral("Range"), 0);
        if (range < 0 || range > 3)
            range = 0;
        m_range[range]->setChecked(true);
        ChooseRange(range);
        const int limit = ini.ReadInteger(section, QStringLiteral("Limit"), 0);
        const int filter = (limit == 1 || limit == 2) && RangeKind != 0 ? limit : 0;
        m_filter[filter]->setChecked(true);
        ChooseFilter(filter);
        const int count = m_rows ? m_rows->GetRecordCount() : 0;
        StartRange = ini.ReadInteger(section, QStringLiteral("StartRange"), 1);
        if (StartRange < 1)
            StartRange = 1;
        if (StartRange > count)
            StartRange = count;
        EndRange = ini.ReadInteger(section, QStringLiteral("EndRange"), count);
        if (EndRange < StartRange)
            EndRange = StartRange;
        if (EndRange > count)
            EndRange = count;
        ShowRange();
    }
    m_scbHorz->setValue(ini.ReadInteger(section, QStringLiteral("OffsetX"), 500));
    m_scbVert->setValue(ini.ReadInteger(section, QStringLiteral("OffsetY"), 500));
    UpdateOffsetLabels();
    if (PaperKind == 1) {
        m_edFlap->SetValue(ini.ReadInteger(section, QStringLiteral("Flap"), 0));
        m_ckbReverse->setChecked(ini.ReadBool(section, QStringLiteral("Reverse"), false));
    }
    if (MultiFace) {
        m_edLabelStart->SetValue(ini.ReadInteger(section, QStringLiteral("LabelStart"), 1));
        m_edLabelCount->SetValue(ini.ReadInteger(section, QStringLiteral("LabelCount"), 1));
    }
    CheckPrintableArea();
}

void TLayoutPrintDialog::SaveSettings()
{
    TMemIniFile ini(settingsPath());
    const QString section = LayoutPrintSection(PaperKind);
    if (SelectRecords) {
        ini.WriteInteger(section, QStringLiteral("Range"), std::max(RangeKind, 0));
        ini.WriteInteger(section, QStringLiteral("Limit"), PrintFilter);
        ini.WriteInteger(section, QStringLiteral("StartRange"), StartRange);
        ini.WriteInteger(section, QStringLiteral("EndRange"), EndRange);
    }
    ini.WriteInteger(section, QStringLiteral("OffsetX"), m_scbHorz->value());
    ini.WriteInteger(section, QStringLiteral("OffsetY"), m_scbVert->value());
    if (PaperKind == 1) {
        ini.WriteInteger(section, QStringLiteral("Flap"), m_edFlap->Value());
        ini.WriteBool(section, QStringLiteral("Reverse"), m_ckbReverse->isChecked());
    }
    if (MultiFace) {
        ini.WriteInteger(section, QStringLiteral("LabelStart"), m_edLabelStart->Value());
        ini.WriteInteger(section, QStringLiteral("LabelCount"), m_edLabelCount->Value());
    }
    ini.WriteInteger(section, QStringLiteral("Page"), CurrentPageIndex());
    ini.WriteInteger(section, QStringLiteral("Copy"), m_edCopy->Value());
    ini.UpdateFile();
}

void TLayoutPrintDialog::ChooseRange(int kind)
{
    if (RangeKind >= 0 && RangeKind != kind)
        colour(m_range[RangeKind], false);
    colour(m_range[kind], true);
    RangeKind = kind;
    for (QWidget* control : m_rangeControls)
        control->setEnabled(kind == 2);
    RefreshRecordCount();
}

void TLayoutPrintDialog::ChooseFilter(int filter)
{
    colour(m_filter[PrintFilter], false);
    colour(m_filter[filter], true);
    PrintFilter = filter;
    RefreshRecordCount();
}

void TLayoutPrintDialog::RefreshRecordCount()
{
    if (!m_rows)
        return;
    QApplication::setOverrideCursor(Qt::WaitCursor);
    RecNos = BuildPrintList(*m_rows, m_printTarget, RangeKind, PrintFilter, StartRange, EndRange);
    QApplication::restoreOverrideCursor();
    m_lblCount->setText(QStringLiteral("%1 件").arg(RecNos.size()));
    UpdateSheetCount();
}

void TLayoutPrintDialog::UpdateSheetCount()
{
    const int sheets = PrintSheetCount(int(RecNos.size()), SelectRecords, MultiFace ? m_faces : 0,
                                       m_edLabelStart->Value(), m_edLabelCount->Value(), m_edCopy->Value());
    m_lblSheets->setText(QStringLiteral("%1 枚").arg(sheets));
}

void TLayoutPrintDialog::ShowRange()
{
    m_edStartRange->setText(QString::number(StartRange));
    m_edEndRange->setText(QString::number(EndRange));
}

void TLayoutPrintDialog::StepRange(bool start, bool up)
{
    const int count = m_rows ? m_rows->GetRecordCount() : 0;
    if (start && up) {
        if (StartRange == count)
            return;
        if (StartRange == EndRange)
            ++EndRange;
        ++StartRange;
    } else if (up) {
        if (EndRange == count)
            return;
        ++EndRange;
    } else if (!start) {
        if (EndRange == 1)
            return;
        if (EndRange == StartRange)
            --StartRange;
        --EndRange;
    } else {
        if (StartRange == 1)
            return;
        --StartRange;
    }
    ShowRange();
    RefreshRecordCount();
}

void TLayoutPrintDialog::TakeRangeEdit(bool start, int delta)
{
    QLineEdit* edit = start ? m_edStartRange : m_edEndRange;
    int& value = start ? StartRange : EndRange;
    int entered = value;
    if (delta == 0) {
        bool ok = false;
        entered = edit->text().trimmed().toInt(&ok);
        if (!ok || entered < 0) {
            ShowRange();
            return;
        }
    } else {
        entered += delta;
    }
    const int count = m_rows ? m_rows->GetRecordCount() : 0;
    value = entered > count ? count : entered;
    if (value <= 0)
        value = 1;
    if (StartRange > EndRange) {
        if (start)
            EndRange = StartRange;
        else
            StartRange = EndRange;
    }
    ShowRange();
    RefreshRecordCount();
}

void TLayoutPrintDialog::UpdateOffsetLabels()
{
    m_lblVertDir->setText(OffsetDirectionText(true, m_scbVert->value()));
    m_lblVertValue->setText(OffsetDistanceText(m_scbVert->value()));
    m_lblHorzDir->setText(OffsetDirectionText(false, m_scbHorz->value()));
    m_lblHorzValue->setText(OffsetDistanceText(m_scbHorz->value()));
}

void TLayoutPrintDialog::CheckPrintableArea()
{
    const TPrinter* printer = TPrinterList::Instance().Current();
    bool leaves = false;
    if (printer) {
        const QRect printable(printer->PhysicalOffset(), printer->PageSize());
        leaves = ContentLeavesPrintable(ContentBounds, {m_scbHorz->value(), m_scbVert->value()},
                                        PaperKind == 1 ? m_edFlap->Value() : 0, printer->DpiX(),
                                        printer->DpiY(), printable);
    }
    m_lblWarning->setVisible(leaves);
}

void TLayoutPrintDialog::FillPrinterPanels()
{
    QString printerName, paperName;
    qint32 orientation = 1;
    GetPrinterPaperInfo(printerName, paperName, orientation);
    m_pnlPrinter->setText(printerName);
    m_pnlPaper->setText(paperName);
    m_pnlOrientation->setText(orientation == 2 ? QStringLiteral("横") : QStringLiteral("縦"));
}

void TLayoutPrintDialog::SetCopies(int copies, bool toPrinter)
{
    m_edCopy->SetValue(copies);
    if (toPrinter)
        if (TPrinter* printer = TPrinterList::Instance().Current())
            printer->SetCopies(m_edCopy->Value());
    UpdateSheetCount();
}

void TLayoutPrintDialog::PrinterSetup()
{
    TPrinterList& list = TPrinterList::Instance();
    TPrinter* current = list.Current();
    QPrinter qprinter(QPrinterInfo::printerInfo(current ? current->Name() : QString()),
                      QPrinter::HighResolution);
    if (current) {
        qprinter.setPageSize(current->Paper());
        qprinter.setPageOrientation(current->Orientation());
        qprinter.setCopyCount(current->Copies());
    }
    QPrintDialog dialog(&qprinter, this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    const int index = list.IndexOf(qprinter.printerName());
    if (index >= 0)
        list.SetCurrentIndex(index);
    if (TPrinter* chosen = list.Current()) {
        chosen->SetPaper(qprinter.pageLayout().pageSize(), qprinter.pageLayout().orientation());
        chosen->SetCopies(qprinter.copyCount());
        if (chosen->Copies() != m_edCopy->Value())
            SetCopies(chosen->Copies(), false);
    }
    FillPrinterPanels();
    PrinterChanged = true;
    CheckPrintableArea();
}

void TLayoutPrintDialog::ShowPage(int index)
{
    m_pages->setCurrentIndex(index);
}

void TLayoutPrintDialog::Next()
{
    if (RecNos.empty()) {
        MessageBoxPos(this, NoDataMessage, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
        return;
    }
    ShowPage(1);
}

void TLayoutPrintDialog::Preview()
{
    if (CurrentPageIndex() != 1 && RecNos.empty()) {
        MessageBoxPos(this, NoDataMessage, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconInformation);
        return;
    }
    SaveSettings();
    PreviewRequested = true;
    accept();
}

void TLayoutPrintDialog::Print()
{
    const QString word = PaperKind == 2   ? QStringLiteral("ラベルレイアウト")
                         : PaperKind == 3 ? QStringLiteral("名刺レイアウト")
                                          : QStringLiteral("宛名レイアウト");
    const QString question = word + QStringLiteral("を印刷します  \r\nよろしいですか？");
    if (MessageBoxPos(this, question, ProductTitle, MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) !=
        MsgSeam::IdYes)
        return;
    SaveSettings();
    accept();
}

void TLayoutPrintDialog::keyPressEvent(QKeyEvent* event)
{
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        EnterPressed();
        return;
    }
    QDialog::keyPressEvent(event);
}

void TLayoutPrintDialog::EnterPressed()
{
    QWidget* focused = focusWidget();
    if (focused == m_ckbLimited) {
        m_btnPrint->setFocus();
        return;
    }
    focusNextChild();
    QWidget* next = focusWidget();
    if (next == m_btnPreview1)
        m_btnNext->setFocus();
    else if (next == m_btnPreview2)
        m_btnPrint->setFocus();
    else if (next == m_bbtnPrinters)
        m_ckbLimited->setFocus();
}
