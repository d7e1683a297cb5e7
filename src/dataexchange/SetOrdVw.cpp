// The view of one import item's parts.
#include "dataexchange/SetOrdVw.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "dataexchange/ImportItems.h"

#include <QHeaderView>
#include <QPushButton>
#include <QTableWidget>
#include <QVBoxLayout>

TSetOrderView::TSetOrderView(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("SetOrderView"));
    setWindowTitle(QStringLiteral("セットした内容"));
    setProperty("helpTopic", HelpTopic);
    auto* root = new QVBoxLayout(this);
    root->setSizeConstraint(QLayout::SetFixedSize);
    m_sgSetOrder = Named<QTableWidget>(this, "sgSetOrder");
    m_sgSetOrder->setColumnCount(2);
    m_sgSetOrder->setRowCount(ImportPartCount);
    m_sgSetOrder->horizontalHeader()->hide();
    m_sgSetOrder->verticalHeader()->hide();
    m_sgSetOrder->setEditTriggers(QAbstractItemView::NoEditTriggers);
    m_sgSetOrder->setSelectionBehavior(QAbstractItemView::SelectRows);
    m_sgSetOrder->setSelectionMode(QAbstractItemView::SingleSelection);
    m_sgSetOrder->setHorizontalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    m_sgSetOrder->setVerticalScrollBarPolicy(Qt::ScrollBarAlwaysOff);
    const int rowHeight = m_sgSetOrder->fontMetrics().height() + 4;
    m_sgSetOrder->verticalHeader()->setDefaultSectionSize(rowHeight);
    m_sgSetOrder->setColumnWidth(0, ScaleByDpi(24, 1));
    m_sgSetOrder->setColumnWidth(1, ScaleByDpi(315, 1));
    m_sgSetOrder->setFixedSize(ScaleByDpi(24 + 315, 1) + 2 * m_sgSetOrder->frameWidth(),
                               rowHeight * ImportPartCount + 2 * m_sgSetOrder->frameWidth());
    SetImeMode(m_sgSetOrder, imClose);
    for (int row = 0; row < ImportPartCount; ++row) {
        m_sgSetOrder->setItem(row, 0, new QTableWidgetItem(QStringLiteral(" ") + QString::number(row + 1)));
        m_sgSetOrder->setItem(row, 1, new QTableWidgetItem);
    }
    root->addWidget(m_sgSetOrder);
    auto* close = MakeButton(this, "btnClose", QStringLiteral("閉じる"), true);
    connect(close, &QPushButton::clicked, this, &QDialog::reject);
    root->addLayout(ButtonRow({close}));
}

void TSetOrderView::SetParts(const QStringList& parts)
{
    for (int row = 0; row < ImportPartCount; ++row)
        m_sgSetOrder->item(row, 1)->setText(parts.value(row));
}
