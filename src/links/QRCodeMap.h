// The mobile-map QR code dialog: the link to the address on the mobile map service as a QR code.
#pragma once

#include "core/QRmakerPro.h"

#include <QDialog>
#include <QImage>

class QLabel;
class QLineEdit;
class QPushButton;
class QToolButton;
class TPaintPanel;

// The module sizes of the dialog; [QRMAP] Size outside them reads as the default.
inline constexpr int QRMapSizeMin = 1;
inline constexpr int QRMapSizeMax = 5;
inline constexpr int QRMapSizeDefault = 3;

// The link URL of the mobile map service for address.
QString MobileMapLinkUrl(const QString& address);
// [QRMAP] Size as stored, or the default.
int ReadQRMapSize();

class TQRCodeMap : public QDialog
{
    Q_OBJECT
public:
    explicit TQRCodeMap(QWidget* owner);
    ~TQRCodeMap() override;

    // Keeps the trimmed address and shows it; remakes the code while the dialog shows.
    void SetAddress(const QString& address);
    const QString& Address() const { return m_address; }
    int Size() const { return m_size; }
    // The picture of the last code made (empty before the first).
    const QImage& Bitmap() const { return m_bitmap; }

    // Makes the code of the link into "qr.bmp" in DataRootFolder, loads it and deletes the file.
    void MakeCode();
    // A change by the arrows: refused outside the sizes, else taken and the code remade.
    void udSizeChangingEx(int value);

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    // Takes value as the size (and as the last accepted one); remakes the code when it changed.
    void SetPosition(int value);
    // Takes the size field's text; a refused one gives the field the last accepted size back.
    void ApplySizeText();

    QString m_address;
    int m_size = QRMapSizeDefault;
    int m_enterSize = QRMapSizeDefault; // the last accepted size
    bool m_shown = false;
    TQRmakerPro m_qr;
    QImage m_bitmap;

    QLineEdit* edtAdrs;
    TPaintPanel* pnlQRCode;
    QLineEdit* edtSize;
    QWidget* udSize;
    QToolButton* udSizeUp;
    QToolButton* udSizeDown;
    QPushButton* btnClose;
};
