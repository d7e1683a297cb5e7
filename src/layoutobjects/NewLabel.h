// The paper choice of labels and cards: the label sheets and cards of "Lyt.fmt" and the user's custom ones.
#pragma once

#include "layoutobjects/PaperDialogSub.h"

class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

class TNewLabelDialog : public TPaperDialog
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

    TMultiUpSheet GetSheet(int index) const { return m_standard.Sheets.at(index); }

private:
    struct Tab : TPaperTab
    {
        QRadioButton* upright;
        QRadioButton* lying;
        QRadioButton* recipient;
        QRadioButton* sender;
    };

    Tab& CurrentTab() override { return m_kind == PaperCard ? m_card : m_label; }
    Tab& TabOf(int kind) { return kind == PaperCard ? m_card : m_label; }
    int FirstOfKind(int kind) const { return kind == PaperCard ? m_firstCard : m_firstLabel; }
    bool CustomCategoryShown(const TPaperTab& tab) const override;
    void ListPapers(TPaperTab& tab) override;
    void SelectFormat() override;
    void CheckDirection(const TPaperFormat& format, bool custom);
    void FitBarcode(bool custom);
    void UpdatePreview();
    void NewCustom() override;
    void ShowTab(int kind);

    int m_firstLabel = -1;
    int m_firstCard = -1;
    int m_kind = PaperLabel;

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
