// The mobile-map QR code dialog.
#include "links/QRCodeMap.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/PaintPanel.h"
#include "links/WebLinks.h"
#include "platform/IniFile.h"

#include <QFile>
#include <QGridLayout>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>
#include <QToolButton>
#include <QVBoxLayout>

namespace {

const QString Section = QStringLiteral("QRMAP");
const QString SizeKey = QStringLiteral("Size");
const QString CodeFileName = QStringLiteral("qr.bmp");

} // namespace

QString MobileMapLinkUrl(const QString& address)
{
    return WebLinks::MobileMapHost + QStringLiteral("/link.cgi?W=D&ZM=11&ADDR=") +
           FormEncodeShiftJis(ToAnsi(address));
}

int ReadQRMapSize()
{
    const TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    const int size = ini.ReadInteger(Section, SizeKey, QRMapSizeDefault);
    return size >= QRMapSizeMin && size <= QRMapSizeMax ? size : QRMapSizeDefault;
}

TQRCodeMap::TQRCodeMap(QWidget* owner) : QDialog(owner)
{
    setObjectName(QStringLiteral("QRCodeMap"));
    setWindowTitle(QStringLiteral("iMapFan/ケータイ地図MapFan"));

    auto* lblMsg1 = Named<QLabel>(
        this, "lblMsg1",
        QStringLiteral("携帯電話の地図サイト 「iMapFan/ケータイ地図MapFan」 へのアクセス用のQRコードです"));
    auto* lblMsg2 = Named<QLabel>(
        this, "lblMsg2", QStringLiteral("携帯で以下のQRコードを読み取って、取得したURLにアクセスすると"));
    auto* lblMsg3 = Named<QLabel>(
        this, "lblMsg3",
        QStringLiteral("「iMapFan/ケータイ地図MapFan」 で該当住所の地図を表示することができます"));
    auto* lblAdrs = Named<QLabel>(this, "lblAdrs", QStringLiteral("表示住所："));
    edtAdrs = Named<QLineEdit>(this, "edtAdrs");
    edtAdrs->setReadOnly(true);
    auto* lblQRCode = Named<QLabel>(this, "lblQRCode", QStringLiteral("QRコード："));
    pnlQRCode = Named<TPaintPanel>(this, "pnlQRCode");
    pnlQRCode->setFixedSize(297, 297);
    pnlQRCode->SetColor(Qt::white);
    pnlQRCode->SetBevelOuter(bvNone);
    pnlQRCode->SetCenter(true);
    auto* lblSize = Named<QLabel>(this, "lblSize", QStringLiteral("表示サイズ："));
    edtSize = Named<QLineEdit>(this, "edtSize");
    edtSize->setMaxLength(1);
    edtSize->setFixedWidth(28);
    edtSize->setAlignment(Qt::AlignRight);
    udSize = Named<QWidget>(this, "udSize");
    udSizeUp = ArrowButton(udSize, "udSizeUp", Qt::UpArrow);
    udSizeDown = ArrowButton(udSize, "udSizeDown", Qt::DownArrow);
    auto* arrows = new QVBoxLayout(udSize);
    arrows->setContentsMargins(0, 0, 0, 0);
    arrows->setSpacing(0);
    arrows->addWidget(udSizeUp);
    arrows->addWidget(udSizeDown);
    btnClose = MakeButton(this, "btnClose", QStringLiteral("閉じる"));

    auto* grid = new QGridLayout;
    grid->addWidget(lblAdrs, 0, 0, Qt::AlignRight);
    grid->addWidget(edtAdrs, 0, 1);
    grid->addWidget(lblQRCode, 1, 0, Qt::AlignRight | Qt::AlignTop);
    grid->addWidget(pnlQRCode, 1, 1, Qt::AlignLeft);
    auto* sizeRow = new QHBoxLayout;
    sizeRow->setSpacing(0);
    sizeRow->addWidget(edtSize);
    sizeRow->addWidget(udSize);
    sizeRow->addStretch(1);
    grid->addWidget(lblSize, 2, 0, Qt::AlignRight);
    grid->addLayout(sizeRow, 2, 1);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(lblMsg1);
    layout->addWidget(lblMsg2);
    layout->addWidget(lblMsg3);
    layout->addSpacing(8);
    layout->addLayout(grid);
    layout->addLayout(ButtonRow({btnClose}));
    layout->setSizeConstraint(QLayout::SetFixedSize);

    m_size = m_enterSize = ReadQRMapSize();
    edtSize->setText(QString::number(m_size));
    edtSize->installEventFilter(this);
    connect(udSizeUp, &QToolButton::clicked, this, [this] { udSizeChangingEx(m_size + 1); });
    connect(udSizeDown, &QToolButton::clicked, this, [this] { udSizeChangingEx(m_size - 1); });
    connect(btnClose, &QPushButton::clicked, this, &QDialog::reject);
}

TQRCodeMap::~TQRCodeMap()
{
    TMemIniFile ini(DataRootFolder + MainSettingsFileName);
    ini.WriteInteger(Section, SizeKey, m_size);
    ini.UpdateFile();
}

void TQRCodeMap::SetAddress(const QString& address)
{
    if (address == m_address)
        return;
    m_address = TrimBlanks(address);
    edtAdrs->setText(m_address);
    if (m_shown)
        MakeCode();
}

void TQRCodeMap::MakeCode()
{
    TBusyCursor busy;
    m_qr.SetCellUnit(96);
    m_qr.SetCellPitch(qint16(m_size));
    m_qr.SetForeBColor(Qt::black);
    m_qr.SetForeWColor(Qt::white);
    m_qr.SetData(ToAnsi(MobileMapLinkUrl(m_address)));
    const QString file = DataRootFolder + CodeFileName;
    m_qr.Refresh();
    if (!m_qr.Image().isNull())
        m_qr.Image().save(file, "BMP");
    // The file is only the way the picture comes over; it never stays.
    if (QFile::exists(file)) {
        const QImage loaded(file, "BMP");
        if (!loaded.isNull())
            m_bitmap = loaded;
        QFile::remove(file);
    }
    pnlQRCode->SetImage(m_bitmap);
    pnlQRCode->update();
}

void TQRCodeMap::udSizeChangingEx(int value)
{
    if (value < QRMapSizeMin || value > QRMapSizeMax)
        return;
    SetPosition(value);
    edtSize->selectAll();
}

void TQRCodeMap::SetPosition(int value)
{
    const bool changed = value != m_size;
    m_size = m_enterSize = value;
    edtSize->setText(QString::number(value));
    if (changed && m_shown)
        MakeCode();
}

void TQRCodeMap::ApplySizeText()
{
    const QString text = edtSize->text().trimmed();
    bool digits = !text.isEmpty();
    for (const QChar c : text)
        digits = digits && c >= u'0' && c <= u'9';
    const int value = digits ? text.toInt() : 0;
    SetPosition(value >= QRMapSizeMin && value <= QRMapSizeMax ? value : m_enterSize);
}

void TQRCodeMap::showEvent(QShowEvent* e)
{
    QDialog::showEvent(e);
    if (!m_shown) {
        m_shown = true;
        MakeCode();
    }
}

bool TQRCodeMap::eventFilter(QObject* watched, QEvent* e)
{
    if (watched != edtSize)
        return QDialog::eventFilter(watched, e);
    if (e->type() == QEvent::FocusIn) {
        m_enterSize = m_size;
    } else if (e->type() == QEvent::FocusOut) {
        ApplySizeText();
    } else if (e->type() == QEvent::KeyPress) {
        const auto* key = static_cast<QKeyEvent*>(e);
        switch (key->key()) {
        case Qt::Key_Return:
        case Qt::Key_Enter: {
            const int before = m_size;
            ApplySizeText();
            if (m_size == before)
                btnClose->setFocus();
            return true;
        }
        case Qt::Key_PageUp:
        case Qt::Key_PageDown:
        case Qt::Key_Up:
        case Qt::Key_Down: {
            const int step = key->key() == Qt::Key_PageUp     ? 10
                             : key->key() == Qt::Key_PageDown ? -10
                             : key->key() == Qt::Key_Up       ? 1
                                                              : -1;
            SetPosition(std::clamp(m_size + step, QRMapSizeMin, QRMapSizeMax));
            return true;
        }
        default:
            break;
        }
    }
    return QDialog::eventFilter(watched, e);
}
