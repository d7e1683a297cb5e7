// The print dialog of the message-side design.
#include "designers/DesignPrintDialog.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/UpDownEdit.h"
#include "layoutobjects/LayoutPrintDialog.h"
#include "layoutobjects/PrinterInfo.h"
#include "layoutobjects/PrinterSetup.h"
#include "platform/IniFile.h"
#include "platform/Printers.h"

#include <QCheckBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QHBoxLayout>
#include <QLabel>
#include <QPushButton>
#include <QScrollBar>
#include <QVBoxLayout>

namespace {

constexpr int OffsetMiddle = 500;

QString settingsPath()
{
    return DataRootFolder + MainSettingsFileName;
}

QScrollBar* offsetBar(QWidget* parent, const char* name, Qt::Orientation orientation)
{
    auto* bar = new QScrollBar(orientation, parent);
    bar->setObjectName(QLatin1String(name));
    bar->setRange(0, 1000);
    bar->setPageStep(10);
    bar->setFocusPolicy(Qt::StrongFocus);
    return bar;
}

QLabel* red(QLabel* label)
{
    label->setStyleSheet(QStringLiteral("color: red;"));
    return label;
}

} // namespace

TDesignPrintDialog::TDesignPrintDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("DesignPrintDialog"));
    setWindowTitle(QStringLiteral("文面印刷"));
    SetHelpContext(this, DesignPrintHelp);
    auto* root = new QVBoxLayout(this);

    auto* offsetBox = new QGroupBox(QStringLiteral("印刷領域の微調整："), this);
    auto* offsetGrid = new QGridLayout(offsetBox);
    scbVert = offsetBar(offsetBox, "scbVert", Qt::Vertical);
    scbVert->setMinimumHeight(90);
    scbHorz = offsetBar(offsetBox, "scbHorz", Qt::Horizontal);
    scbHorz->setMinimumWidth(200);
    lblVert = Named<QLabel>(offsetBox, "lblVert");
    lblOffsetV = Named<QLabel>(offsetBox, "lblOffsetV");
    lblHorz = Named<QLabel>(offsetBox, "lblHorz");
    lblOffsetH = Named<QLabel>(offsetBox, "lblOffsetH");
    offsetGrid->addWidget(new QLabel(QStringLiteral("縦："), offsetBox), 0, 0);
    offsetGrid->addWidget(scbVert, 0, 1, 2, 1);
    offsetGrid->addWidget(lblVert, 0, 2);
    offsetGrid->addWidget(lblOffsetV, 0, 3);
    offsetGrid->addWidget(new QLabel(QStringLiteral("横："), offsetBox), 2, 0);
    offsetGrid->addWidget(scbHorz, 2, 1);
    offsetGrid->addWidget(lblHorz, 2, 2);
    offsetGrid->addWidget(lblOffsetH, 2, 3);
    offsetGrid->setColumnStretch(4, 1);
    root->addWidget(offsetBox);

    auto* copyBox = new QGroupBox(QStringLiteral("部数："), this);
    auto* copyRow = new QHBoxLayout(copyBox);
    edCopy = Named<TUpDownEdit>(copyBox, "edCopy");
    edCopy->SetRange(1, 1000);
    edCopy->SetValue(1);
    edCopy->SetMaxLength(4);
    edCopy->setMinimumWidth(ScaleByDpi(64, 1));
    SetImeMode(edCopy, imClose);
    lblCopy = Named<QLabel>(copyBox, "lblCopy");
    copyRow->addWidget(edCopy);
    copyRow->addWidget(new QLabel(QStringLiteral("部"), copyBox));
    copyRow->addSpacing(24);
    copyRow->addWidget(new QLabel(QStringLiteral("用紙枚数："), copyBox));
    copyRow->addWidget(lblCopy);
    copyRow->addStretch();
    root->addWidget(copyBox);

    lblRangeInfo = red(Named<QLabel>(
        this, "lblRangeInfo", QStringLiteral("※※ 印刷内容が、印刷可能領域に入りきらない可能性があります ※※")));
    root->addWidget(lblRangeInfo);

    auto* printerBox = new QGroupBox(this);
    auto* printerGrid = new QGridLayout(printerBox);
    pnlPrinter = Named<QLabel>(printerBox, "pnlPrinter");
    pnlPaperSize = Named<QLabel>(printerBox, "pnlPaperSize");
    pnlOriental = Named<QLabel>(printerBox, "pnlOriental");
    bbtnPrinters = MakeButton(printerBox, "bbtnPrinters", QStringLiteral("設定"));
    printerGrid->addWidget(new QLabel(QStringLiteral("プリンタ名："), printerBox), 0, 0);
    printerGrid->addWidget(pnlPrinter, 0, 1);
    printerGrid->addWidget(bbtnPrinters, 0, 2);
    printerGrid->addWidget(new QLabel(QStringLiteral("用紙サイズ："), printerBox), 1, 0);
    printerGrid->addWidget(pnlPaperSize, 1, 1);
    printerGrid->addWidget(new QLabel(QStringLiteral("印刷方向："), printerBox), 2, 0);
    printerGrid->addWidget(pnlOriental, 2, 1);
    printerGrid->setColumnStretch(1, 1);
    root->addWidget(printerBox);

    ckbLimitedPrinter = Named<QCheckBox>(
        this, "ckbLimitedPrinter", QStringLiteral("イラストの型抜き・透明化が正しく印刷できないプリンタを使う"));
    root->addWidget(ckbLimitedPrinter);
    root->addWidget(red(Named<QLabel>(this, "lblLimitedPrint",
                                      QStringLiteral("※この設定を有効にすると、印刷に時間がかかる場合があります"))));

    btnPrint = MakeButton(this, "btnPrint", QStringLiteral("印刷"), true);
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    root->addLayout(ButtonRow({btnPrint, btnCancel}));

    for (QScrollBar* bar : {scbVert, scbHorz})
        connect(bar, &QScrollBar::valueChanged, this, [this] {
            UpdateOffsetLabels();
            CheckPrintRange();
        });
    connect(edCopy, &TUpDownEdit::ValueApplied, this, [this](int copies) { SetCopies(copies, true); });
    connect(bbtnPrinters, &QPushButton::clicked, this, &TDesignPrintDialog::PrinterSetup);
    connect(btnPrint, &QPushButton::clicked, this, &TDesignPrintDialog::Print);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);
    auto* enter = new TEnterMovesFocus(this);
    enter->addNext(scbVert);
    enter->addNext(scbHorz);
    enter->addTarget(edCopy, btnPrint);
    enter->addNext(ckbLimitedPrinter);

    // Create.
    scbVert->setValue(OffsetMiddle);
    scbHorz->setValue(OffsetMiddle);
    UpdateOffsetLabels();
    LoadSettings();
    FillPrinterPanels();
    SetCopies(edCopy->Value(), true);
    lblRangeInfo->hide();
    PrinterChanged = false;
}

void TDesignPrintDialog::SetContentBounds(const TRect& bounds)
{
    m_bounds = bounds;
    CheckPrintRange();
}

QPoint TDesignPrintDialog::GetOffset() const
{
    return {scbHorz->value() - OffsetMiddle, scbVert->value() - OffsetMiddle};
}

bool TDesignPrintDialog::GetLimitedPrinter() const
{
    return ckbLimitedPrinter->isChecked();
}

int TDesignPrintDialog::GetCopies() const
{
    return edCopy->Value();
}

bool TDesignPrintDialog::WarningShown() const
{
    return !lblRangeInfo->isHidden();
}

void TDesignPrintDialog::LoadSettings()
{
    const TMemIniFile ini(settingsPath());
    scbHorz->setValue(ini.ReadInteger(DesignPrintSection, QStringLiteral("OffsetX"), OffsetMiddle));
    scbVert->setValue(ini.ReadInteger(DesignPrintSection, QStringLiteral("OffsetY"), OffsetMiddle));
    int copies = ini.ReadInteger(DesignPrintSection, QStringLiteral("Copy"), 1);
    if (copies < 1 || copies > 1000)
        copies = 1;
    edCopy->SetValue(copies);
    ckbLimitedPrinter->setChecked(ini.ReadBool(DesignPrintSection, QStringLiteral("LimitedPrinter"), false));
}

void TDesignPrintDialog::SaveSettings()
{
    TMemIniFile ini(settingsPath());
    ini.WriteInteger(DesignPrintSection, QStringLiteral("OffsetX"), scbHorz->value());
    ini.WriteInteger(DesignPrintSection, QStringLiteral("OffsetY"), scbVert->value());
    ini.WriteInteger(DesignPrintSection, QStringLiteral("Copy"), edCopy->Value());
    ini.WriteBool(DesignPrintSection, QStringLiteral("LimitedPrinter"), ckbLimitedPrinter->isChecked());
    ini.UpdateFile();
}

void TDesignPrintDialog::UpdateOffsetLabels()
{
    lblVert->setText(OffsetDirectionText(true, scbVert->value()));
    lblOffsetV->setText(OffsetDistanceText(scbVert->value()));
    lblHorz->setText(OffsetDirectionText(false, scbHorz->value()));
    lblOffsetH->setText(OffsetDistanceText(scbHorz->value()));
}

void TDesignPrintDialog::CheckPrintRange()
{
    const TPrinter* printer = TPrinterList::Instance().Current();
    bool leaves = false;
    if (printer && !m_bounds.IsEmpty()) {
        const QRect printable(printer->PhysicalOffset(), printer->PageSize());
        leaves = ContentLeavesPrintable(m_bounds, {scbHorz->value(), scbVert->value()}, 0, printer->DpiX(),
                                        printer->DpiY(), printable);
    }
    lblRangeInfo->setVisible(leaves);
}

void TDesignPrintDialog::FillPrinterPanels()
{
    QString printerName, paperName;
    qint32 orientation = 1;
    GetPrinterPaperInfo(printerName, paperName, orientation);
    pnlPrinter->setText(printerName);
    pnlPaperSize->setText(paperName);
    pnlOriental->setText(orientation == 2 ? QStringLiteral("横") : QStringLiteral("縦"));
}

void TDesignPrintDialog::SetCopies(int copies, bool toPrinter)
{
    edCopy->SetValue(copies);
    lblCopy->setText(QStringLiteral("%1 枚").arg(edCopy->Value()));
    if (toPrinter)
        if (TPrinter* printer = TPrinterList::Instance().Current())
            printer->SetCopies(edCopy->Value());
    CheckPrintRange();
}

void TDesignPrintDialog::PrinterSetup()
{
    TPrinterSetupDialog dialog(this);
    if (dialog.exec() != QDialog::Accepted)
        return;
    FillPrinterPanels();
    if (const TPrinter* printer = TPrinterList::Instance().Current())
        if (printer->Copies() != edCopy->Value())
            SetCopies(printer->Copies(), false);
    PrinterChanged = true;
    CheckPrintRange();
}

void TDesignPrintDialog::Print()
{
    if (ApplicationMessageBox(QStringLiteral("文面デザインを印刷します  \r\nよろしいですか？"),
                              MsgSeam::MbYesNo | MsgSeam::MbIconQuestion) != MsgSeam::IdYes)
        return;
    SaveSettings();
    accept();
}
