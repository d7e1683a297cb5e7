// The data format dialog: how merged data are converted before printing, the postal marks and the
// honorifics, edited on the data-format part (bytes 0 to 59) of a layout settings record.
#pragma once

#include "designers/PrintDataFile.h"

#include <QDialog>

#include <array>

class QCheckBox;
class QGroupBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

inline constexpr int DataFormHelp = 115;
inline constexpr int DataFormBytes = 60;

// Set up with SetDataForm, then SetPaperKind or DisableRecipientItems, shown modally; after OK the designer
// calls GetDataForm on its own copy of the record and takes what it uses. Bytes 60 onward are never touched,
// so GetDataForm on a copy of the document's record gives the complete new record.
class TDataFormDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TDataFormDialog(QWidget* owner = nullptr);

    void SetDataForm(const TLayoutSettings& settings);
    // Writes bytes 0 to 59: the boxes as 0/1, the three choices as 0-2, the honorifics cut to 10 bytes at a
    // character boundary.
    void GetDataForm(TLayoutSettings& settings) const;
    // 0 postcard, 1 envelope, 2 label sheet, 3 card.
    void SetPaperKind(int kind);
    // The message-side designer has no recipient: not 0 disables the recipient's postal mark and honorifics.
    void DisableRecipientItems(int flag);

protected:
    void showEvent(QShowEvent* e) override;

private:
    using TChoice = std::array<QRadioButton*, 3>;
    QGroupBox* group(const char* name, const QString& caption);
    TChoice choice(QWidget* parent, const std::array<const char*, 3>& names,
                   const std::array<QString, 3>& texts);
    void disableHonorifics();

    QCheckBox* ckbTdfkn = nullptr;
    QCheckBox* ckbVertNumeral = nullptr;
    QCheckBox* ckbChineseNumeral = nullptr;
    QCheckBox* ckbConnect = nullptr;
    TChoice m_company{};   // rbNone, rbOmittion, rbFull
    TChoice m_recipient{}; // rbPosNone, rbPosMark, rbPosHyphen
    TChoice m_sender{};    // rbSendPosNone, rbSendPosMark, rbSendPosHyphen
    QLabel* lblRecipient = nullptr;
    QLabel* lblSender = nullptr;
    QGroupBox* gbxHonor = nullptr;
    std::array<QLabel*, 4> m_honorLabels{};
    std::array<QLineEdit*, 4> m_honors{}; // edDefHonor, edCorpHonor, edPostHonor, edSenderHonor
    QLabel* lblNote = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
