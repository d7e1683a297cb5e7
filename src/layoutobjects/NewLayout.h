// The paper choice of the address side: postcards and envelopes of "Lyt.fmt" and the user's custom papers.
#pragma once

#include "layoutobjects/PaperDialogSub.h"

#include <QDialog>

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

class TNewLayoutDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TNewLayoutDialog(QWidget* parent = nullptr);

    // 1: a paper change ("用紙の変更").
    void SetChangeMode(int mode);
    // The current layout's format index, or 0 for a new layout.
    void SetFormatIndex(int index);
    void SetEnvelopeSide(int side);
    int GetEnvelopeSide() const;

    int FormatIndex = 0;
    TPaperFormat Paper;
    TMultiUpSheet Sheet;
    bool NoBarcode = false;
    uint8_t BarcodeSize = 0;

    int FormatCount() const { return int(m_standard.Formats.size()); }
    TPaperFormat GetFormat(int index) const { return m_standard.Formats.at(index); }
    const TCustomFormats& CustomFormats() const { return m_custom; }

    void done(int result) override;

private:
    struct Tab
    {
        int kind;
        QListWidget* category;
        QListWidget* paper;
        QPushButton* add;
        QPushButton* remove;
    };

    Tab& CurrentTab();
    Tab& TabOf(int kind) { return kind == PaperPostcard ? m_post : m_env; }
    bool CustomCategoryShown(const Tab& tab) const;
    void ListPapers(Tab& tab);
    void CategoryChosen(Tab& tab);
    void SelectFormat();
    void CheckDirection(const TPaperFormat& format, bool custom);
    void FitBarcode();
    void UpdatePreview();
    void NewCustom();
    void DeleteCustom();

    TStandardFormats m_standard;
    TCustomFormats m_custom;
    bool m_customChanged = false;
    QImage m_picture;
    int m_passedIndex = 0;
    bool m_updating = false;

    QComboBox* m_kind;
    QTabWidget* m_tabs;
    Tab m_post{};
    Tab m_env{};
    QRadioButton* m_postVertical;
    QRadioButton* m_postHorizontal;
    QRadioButton* m_envUpright;
    QRadioButton* m_envLying;
    QRadioButton* m_envVertical;
    QRadioButton* m_envHorizontal;
    QRadioButton* m_envRecipient;
    QRadioButton* m_envSender;
    QLabel* m_pieceSize;
    QLabel* m_sheetSize;
    QLabel* m_count;
    QLabel* m_envSize;
    QLabel* m_noBarcode;
    TPaperPreview* m_preview;
};
