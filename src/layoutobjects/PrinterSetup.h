// The printer-setup dialog "プリンターの設定": the printer of the printer list, its paper and orientation.
#pragma once

#include <QDialog>

class QComboBox;
class QRadioButton;

class TPrinterSetupDialog : public QDialog
{
    Q_OBJECT
public:
    // Starts on the current printer with its paper and orientation.
    explicit TPrinterSetupDialog(QWidget* owner);

    // OK: the chosen printer becomes current and takes the paper and orientation.
    void accept() override;

private:
    void FillPapers();

    QComboBox* m_cbxPrinter = nullptr;
    QComboBox* m_cbxPaper = nullptr;
    QRadioButton* m_rbPortrait = nullptr;
    QRadioButton* m_rbLandscape = nullptr;
};
