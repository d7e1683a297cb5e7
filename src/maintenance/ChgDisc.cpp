// The disc drive question of the hard-disk install.
#include "maintenance/ChgDisc.h"

#include "core/ButtonPictures.h"
#include "core/DialogSub.h"
#include "core/MsgBoxPos.h"
#include "core/PDFHelp.h"
#include "core/ShellSub.h"
#include "platform/SystemPaths.h"

#include <QApplication>
#include <QComboBox>
#include <QGridLayout>
#include <QLabel>
#include <QPushButton>
#include <QTimer>

TChangeDisc::TChangeDisc(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("ChangeDisc"));
    setWindowTitle(ProductTitle);
    setWindowFlag(Qt::WindowContextHelpButtonHint, false);
    SetHelpContext(this, 3);
    m_drive = DriveList.isEmpty() ? QString() : DriveList.first();

    imgCD = Named<QLabel>(this, "imgCD");
    imgCD->setFixedSize(36, 36);
    imgCD->setPixmap(ButtonPicture(QStringLiteral("CD1")).pixmap(32, 32));
    lblMsg = Named<QLabel>(this, "lblMsg");
    cbxCD = Named<QComboBox>(this, "cbxCD");
    cbxCD->setMinimumWidth(240);
    cbxCD->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    bbtnUpdate = MakeButton(this, "bbtnUpdate", QStringLiteral("更新"));
    SetButtonPicture(bbtnUpdate, QStringLiteral("CD_DRIVE"));
    btnOk = MakeButton(this, "btnOk", QStringLiteral("OK"), true);
    btnCancel = MakeButton(this, "btnCancel", QStringLiteral("キャンセル"));
    connect(bbtnUpdate, &QPushButton::clicked, this, &TChangeDisc::bbtnUpdateClick);
    connect(btnOk, &QPushButton::clicked, this, &TChangeDisc::btnOkClick);
    connect(btnCancel, &QPushButton::clicked, this, &QDialog::reject);

    tmrReload = new QTimer(this);
    tmrReload->setInterval(1000);
    connect(tmrReload, &QTimer::timeout, this, [this] {
        m_cdFrame = !m_cdFrame;
        imgCD->setPixmap(
            ButtonPicture(m_cdFrame ? QStringLiteral("CD2") : QStringLiteral("CD1")).pixmap(32, 32));
    });
    tmrReload->start();

    auto* grid = new QGridLayout(this);
    grid->addWidget(imgCD, 0, 0, 2, 1, Qt::AlignTop);
    grid->addWidget(lblMsg, 0, 1, 1, 3);
    grid->addWidget(new QLabel(QStringLiteral("CDドライブ：")), 1, 1);
    grid->addWidget(cbxCD, 1, 2);
    grid->addWidget(bbtnUpdate, 1, 3);
    grid->addLayout(ButtonRow({btnOk, btnCancel}), 2, 0, 1, 4);
}

void TChangeDisc::SetMessage(const QString& text)
{
    lblMsg->setText(QString(text).replace(QStringLiteral("\r\n"), QStringLiteral("\n")));
}

void TChangeDisc::bbtnUpdateClick()
{
    QApplication::setOverrideCursor(Qt::WaitCursor);
    CollectDrives(dfCdRom);
    cbxCD->clear();
    for (int i = 0; i < DriveCount && i < DriveList.size(); ++i) {
        const QString& drive = DriveList[i];
        const std::optional<QString> label = SystemPaths::DriveVolumeLabel(drive);
        const QString trimmed = label ? label->trimmed() : QString();
        cbxCD->addItem(trimmed.isEmpty() ? drive : drive + QStringLiteral(" [") + trimmed + u']', drive);
    }
    const int preselected = cbxCD->findData(m_drive);
    cbxCD->setCurrentIndex(preselected >= 0 ? preselected : (cbxCD->count() > 0 ? 0 : -1));
    // Long drive folders widen the box.
    if (width() < sizeHint().width())
        resize(sizeHint().width(), height());
    QApplication::restoreOverrideCursor();
}

void TChangeDisc::showEvent(QShowEvent* event)
{
    QDialog::showEvent(event);
    bbtnUpdateClick();
}

void TChangeDisc::btnOkClick()
{
    m_drive = cbxCD->currentIndex() >= 0 ? cbxCD->currentData().toString() : QString();
    accept();
}
