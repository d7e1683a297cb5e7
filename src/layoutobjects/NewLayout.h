// The paper choice of the address side: postcards and envelopes of "Lyt.fmt" and the user's custom papers.
#pragma once

#include "layoutobjects/PaperDialogSub.h"

class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;

class TNewLayoutDialog : public TPaperDialog
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

private:
    using Tab = TPaperTab;

    Tab& CurrentTab() override;
    Tab& TabOf(int kind) { return kind == PaperPostcard ? m_post : m_env; }
    bool CustomCategoryShown(const Tab& tab) const override;
    void ListPapers(Tab& tab) override;
    void SelectFormat() override;
    void CheckDirection(const TPaperFormat& format, bool custom);
    void FitBarcode();
    void UpdatePreview();
    void NewCustom() override;

    QImage m_picture;

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
