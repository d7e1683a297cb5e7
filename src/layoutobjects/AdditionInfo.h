// The additional information dialog: what the four additional-item frames show, and whether the customer
// barcode is printed and at which size; on a postcard or envelope only its barcode part.
#pragma once

#include <QDialog>

#include <array>

class QCheckBox;
class QComboBox;
class QGroupBox;
class QLabel;
class QPushButton;

inline constexpr int AdditionInfoHelp = 117;
inline constexpr int AdditionItemCount = 4;
inline constexpr int AdditionItemMaxChars = 50;

// Item codes of the entries (0: free text typed into the combo; 8 is never offered).
namespace AdditionCode {
constexpr int FreeText = 0, ReversedTel = 1, Today = 2, Tel = 3, Fax = 4, Mobile1 = 5, Mobile2 = 6, Url = 7,
              Mail1 = 9, Mail2 = 10, FirstKeyword = 11, FirstContact = 19;
} // namespace AdditionCode

// Modal and set up by the designer in this order: SetPaperKind, SetItemSource, then the values. After OK
// the designer reads the results back with the Get functions; the dialog changes no frame itself.
// Results: per item (0-3) GetItemChecked, GetItemKind (code, 0 for free text) and GetItemText (the trimmed
// typed text, empty when an entry is chosen); GetBarcode and GetBarcodeSize (size index 0-3: 8-11 points).
class TAdditionInfoDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TAdditionInfoDialog(QWidget* owner = nullptr);

    // 0 postcard, 1 envelope (the compact barcode form), 2 label sheet, 3 card.
    void SetPaperKind(int kind);
    int PaperKind() const { return m_paperKind; }
    // 1 address-book items, 2 sender contacts; fills the four combos.
    void SetItemSource(int source);
    int ItemSource() const { return m_itemSource; }

    // i 0 to 3; any other i means item 4.
    void SetItemChecked(int i, bool checked);
    bool GetItemChecked(int i) const;
    void SetItemKind(int i, int code);
    int GetItemKind(int i) const;
    void SetItemText(int i, const QString& text);
    QString GetItemText(int i) const;

    void SetBarcode(bool on);
    bool GetBarcode() const;
    void SetBarcodeSize(int index);
    int GetBarcodeSize() const;
    void SetMaxBarcodeSize(int index);
    int MaxBarcodeSize() const { return m_maxBarcodeSize; }
    // No size fits the paper: the barcode box is unchecked and disabled and the size list emptied.
    void DisableBarcode(bool disable);

protected:
    void showEvent(QShowEvent* e) override;

private:
    static int item(int i) { return i >= 0 && i < AdditionItemCount ? i : AdditionItemCount - 1; }
    void itemClick(int i);
    void barcodeClick();

    int m_paperKind = 2;
    int m_itemSource = 1;
    int m_maxBarcodeSize = 3;

    QGroupBox* gbxAddition = nullptr;
    std::array<QCheckBox*, AdditionItemCount> ckbAddition{};
    std::array<QComboBox*, AdditionItemCount> cbxAddition{};
    QGroupBox* gbxBarcode = nullptr;
    QCheckBox* ckbBarcode = nullptr;
    QLabel* lblBarSize = nullptr;
    QComboBox* cbxBarSize = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
