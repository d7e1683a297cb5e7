// The custom paper dialog of label sheets and cards: a standard paper with its own name, sheet, pieces,
// counts, margins and gaps.
#pragma once

#include "layoutobjects/PaperDialogSub.h"

#include <QDialog>

class QLineEdit;
class QListWidget;
class QRadioButton;
class QStackedWidget;
class TUpDownEdit;

class TCustomLabelDialog : public QDialog
{
    Q_OBJECT
public:
    TCustomLabelDialog(const TStandardFormats& standard, const TCustomFormats& custom, QWidget* parent = nullptr);

    void SetSource(int index);
    void SetSourceFromCustom(const TCustomPaperFormat& custom, const TMultiUpSheet& sheet);
    // The new paper without id; the caller adds its sheet.
    TCustomPaperFormat Result() const;
    const TMultiUpSheet& WorkSheet() const { return m_sheet; }
    const TPaperFormat& Work() const { return m_work; }
    bool NoBarcode() const { return m_noBarcode; }

    void done(int result) override;

private:
    struct Page
    {
        QListWidget* category;
        QListWidget* paper;
        QRadioButton* upright;
        QRadioButton* lying;
    };

    Page& CurrentPage();
    void FillPapers(Page& page);
    void ChooseSource();
    void Apply();
    void Display();
    void UpdatePreview();

    const TStandardFormats& m_standard;
    const TCustomFormats& m_custom;
    TPaperFormat m_work;
    TMultiUpSheet m_sheet;
    int m_source = -1;
    bool m_updating = false;
    bool m_noBarcode = false;

    QLineEdit* m_name;
    QStackedWidget* m_pages;
    Page m_label{};
    Page m_card{};
    QRadioButton* m_cardVertical;
    QRadioButton* m_cardHorizontal;
    // Sheet width and height, piece width and height, columns, rows, left and top margin, gaps.
    std::array<TUpDownEdit*, 10> m_edits{};
    TPaperPreview* m_preview;
};
