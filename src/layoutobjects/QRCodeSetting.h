// The QR code settings dialog: the content kind and carrier, the texts, module size and colour of a private
// copy of a QR code frame, with a preview made on demand.
#pragma once

#include "layoutobjects/QRCodeRect.h"

#include <QDialog>

class QComboBox;
class QFrame;
class QLabel;
class QLineEdit;
class QPlainTextEdit;
class QPushButton;
class QRadioButton;
class QScrollBar;
class QStackedWidget;
class QToolButton;
class QWidget;
class TLimitedScrollBox;
class TPaintPanel;
class TTntNMDEdit;

inline constexpr int QRSettingHelpText = 130;
inline constexpr int QRSettingHelpMail = 131;

class TQRCodeSettingDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TQRCodeSettingDialog(QWidget* owner = nullptr);
    ~TQRCodeSettingDialog() override;

    // Takes the frame's content into the copy; the copy's size comes from its next picture.
    void SetQRCode(const TQRCodeRect& frame);
    // The copy, read by the designer after OK.
    TQRCodeRect& QRCodeRect() { return *m_copy; }

    // Sender record number recNo (1-based, table order) into the phone-book edits.
    void LoadFromSender(int recNo);

protected:
    void showEvent(QShowEvent* e) override;
    void moveEvent(QMoveEvent* e) override;
    bool event(QEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    void BuildWindow();
    void LoadSettings();
    void SaveSettings() const;
    void FillSenderList();
    void ShowQRCode();
    void rbKindClick();
    void recolourRadios();
    void bbtnAddHeaderClick(const QString& header);
    void edSizeExit();
    void stepSize(int delta);
    void btnRefreshClick();
    void btnOKClick();
    void bbtnColorClick();
    void showColor();
    void layoutPreview();

    std::unique_ptr<TQRCodeRect> m_copy;
    qint32 m_color = 0;

    QRadioButton* rbText = nullptr;
    QRadioButton* rbAddress = nullptr;
    QRadioButton* rbMail = nullptr;
    QRadioButton* rbDocomo = nullptr;
    QRadioButton* rbSoftBank = nullptr;
    QLabel* lblCarrierNote = nullptr;
    QStackedWidget* pgcContents = nullptr;
    QWidget* tbsText = nullptr;
    QWidget* tbsAddress = nullptr;
    QWidget* tbsMail = nullptr;
    QPlainTextEdit* memText = nullptr;
    QPushButton* bbtnTelHeader = nullptr;
    QPushButton* bbtnURLHeader = nullptr;
    TTntNMDEdit* edName = nullptr;
    QLineEdit* edKana = nullptr;
    QLineEdit* edTel1 = nullptr;
    QLineEdit* edTel2 = nullptr;
    QLineEdit* edMail1 = nullptr;
    QLineEdit* edMail2 = nullptr;
    QLineEdit* edMemo = nullptr;
    QPushButton* btnSender = nullptr;
    QComboBox* cbxSender = nullptr;
    QLineEdit* edMailTo = nullptr;
    QLineEdit* edSubject = nullptr;
    QLineEdit* edBody = nullptr;
    QLineEdit* edSize = nullptr;
    QScrollBar* udSize = nullptr;
    QFrame* pnlColor = nullptr;
    QPushButton* bbtnColor = nullptr;
    QPushButton* btnRefresh = nullptr;
    TLimitedScrollBox* sbxPreview = nullptr;
    TPaintPanel* pbxPreview = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
