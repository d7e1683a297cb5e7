// The printer-setup dialog.
#include "layoutobjects/PrinterSetup.h"

#include "core/DialogSub.h"
#include "platform/Printers.h"

#include <QComboBox>
#include <QDialogButtonBox>
#include <QFormLayout>
#include <QHBoxLayout>
#include <QPageSize>
#include <QRadioButton>
#include <QVBoxLayout>

namespace {

// The papers offered, in the order a driver lists them.
const QPageSize::PageSizeId Papers[] = {QPageSize::A3,     QPageSize::A4,    QPageSize::A5,
                                        QPageSize::B4,     QPageSize::B5,    QPageSize::Letter,
                                        QPageSize::Legal,  QPageSize::Postcard};

} // namespace

TPrinterSetupDialog::TPrinterSetupDialog(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("PrinterSetupDialog"));
    setWindowTitle(QStringLiteral("プリンターの設定"));
    auto* root = new QVBoxLayout(this);
    auto* form = new QFormLayout;
    m_cbxPrinter = Named<QComboBox>(this, "cbxPrinter");
    m_cbxPaper = Named<QComboBox>(this, "cbxPaper");
    m_rbPortrait = Named<QRadioButton>(this, "rbPortrait", QStringLiteral("縦"));
    m_rbLandscape = Named<QRadioButton>(this, "rbLandscape", QStringLiteral("横"));
    auto* orientation = new QHBoxLayout;
    orientation->addWidget(m_rbPortrait);
    orientation->addWidget(m_rbLandscape);
    orientation->addStretch();
    form->addRow(QStringLiteral("プリンター名："), m_cbxPrinter);
    form->addRow(QStringLiteral("用紙サイズ："), m_cbxPaper);
    form->addRow(QStringLiteral("印刷の向き："), orientation);
    root->addLayout(form);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Cancel)->setAutoDefault(false);
    connect(buttons, &QDialogButtonBox::accepted, this, &QDialog::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &QDialog::reject);
    root->addWidget(buttons);

    TPrinterList& list = TPrinterList::Instance();
    m_cbxPrinter->addItems(list.Names());
    m_cbxPrinter->setCurrentIndex(list.CurrentIndex());
    connect(m_cbxPrinter, &QComboBox::currentIndexChanged, this, [this] { FillPapers(); });
    FillPapers();
    const TPrinter* current = list.Current();
    const bool landscape = current && current->Orientation() == QPageLayout::Landscape;
    (landscape ? m_rbLandscape : m_rbPortrait)->setChecked(true);
}

void TPrinterSetupDialog::FillPapers()
{
    const TPrinter* printer = TPrinterList::Instance().At(m_cbxPrinter->currentIndex());
    m_cbxPaper->clear();
    int chosen = 1;
    for (QPageSize::PageSizeId id : Papers) {
        if (printer && printer->Paper().id() == id)
            chosen = m_cbxPaper->count();
        m_cbxPaper->addItem(QPageSize::name(id), int(id));
    }
    m_cbxPaper->setCurrentIndex(chosen);
}

void TPrinterSetupDialog::accept()
{
    TPrinterList& list = TPrinterList::Instance();
    const int index = m_cbxPrinter->currentIndex();
    if (TPrinter* printer = list.At(index)) {
        list.SetCurrentIndex(index);
        printer->SetPaper(QPageSize(QPageSize::PageSizeId(m_cbxPaper->currentData().toInt())),
                          m_rbLandscape->isChecked() ? QPageLayout::Landscape : QPageLayout::Portrait);
    }
    QDialog::accept();
}
