// The paper choice of labels and cards: the label sheets and cards of "Lyt.fmt" and the user's custom ones.
#pragma once

#include "layoutobjects/PaperDialogSub.h"

#include <QDialog>

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

class TNewLabelDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TNewLabelDialog(QWidget* parent = nullptr);

    // 2 label sheets, 3 cards.
    void SetKind(int kind);
    void SetChangeMode(int mode);
    void SetFormatIndex(int index);
    void SetSide(int side);
    int GetSide() const;
    bool IsLandscape() const;

    int FormatIndex = 0;
    TPaperFormat Paper;
    TMultiUpSheet Sheet;
    bool NoBarcode = false;
    uint8_t BarcodeSize = 0;

    int FormatCount() const { return int(m_standard.Formats.size()); }
    TPaperFormat GetFormat(int index) const { return m_standard.Formats.at(index); }
    TMultiUpSheet GetSheet(int index) const { return m_standard.Sheets.at(index); }
    const TCustomFormats& CustomFormats() const { return m_custom; }

    void done(int result) override;

private:
    struct Tab
    {
        int kind;
        QListWidget* category;
        QListWidget* paper;
        QRadioButton* upright;
        QRadioButton* lying;
        QRadioButton* recipient;
        QRadioButton* sender;
        QPushButton* add;
        QPushButton* remove;
    };

    Tab& CurrentTab() { return m_kind == PaperCard ? m_card : m_label; }
    Tab& TabOf(int kind) { return kind == PaperCard ? m_card : m_label; }
    int FirstOfKind(int kind) const { return kind == PaperCard ? m_firstCard : m_firstLabel; }
    bool CustomCategoryShown(const Tab& tab) const;
    void ListPapers(Tab& tab);
    void CategoryChosen(Tab& tab);
    void SelectFormat();
    void CheckDirection(const TPaperFormat& format, bool custom);
    void FitBarcode(bool custom);
    void UpdatePreview();
    void NewCustom();
    void DeleteCustom();
    void ShowTab(int kind);

    TStandardFormats m_standard;
    TCustomFormats m_custom;
    bool m_customChanged = false;
    int m_firstLabel = -1;
    int m_firstCard = -1;
    int m_kind = PaperLabel;
    int m_passedIndex = 0;
    bool m_updating = false;

    QTabWidget* m_tabs;
    Tab m_label{};
    Tab m_card{};
    QRadioButton* m_cardVertical;
    QRadioButton* m_cardHorizontal;
    QLabel* m_pieceSize;
    QLabel* m_sheetSize;
    QLabel* m_countCaption;
    QLabel* m_count;
    QLabel* m_noBarcode;
    TPaperPreview* m_preview;
};
