// The window "印刷プレビュー" of the list print: one page at a time on a picture of the whole sheet, page
// buttons, zoom, dragging, and the section [LIST PRINT PREVIEW].
#pragma once

#include "platform/DisplayList.h"

#include <QWidget>

class QComboBox;
class QKeyEvent;
class QLabel;
class QMenu;
class QPushButton;
class QScrollArea;
class QStatusBar;
class QToolButton;
class TListPrint;

inline const QString ListPrintPreviewSection = QStringLiteral("LIST PRINT PREVIEW");

class TListPrintPreview : public QWidget
{
    Q_OBJECT
public:
    explicit TListPrintPreview(TListPrint* owner);
    ~TListPrintPreview() override;

    // After a change of the list-print settings: back to page 1, drawn again.
    void Rebuild();
    void GoToPage(int page);
    void ChooseZoom(int index);
    void FitImage();

    int Page() const { return m_page; }
    int PageTotal() const { return m_total; }
    int Zoom() const { return m_zoom; }
    const TDisplayList& Sheet() const { return m_sheet; }
    QWidget* ImagePanel() const { return m_pnlImage; }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void PreparePage();
    void DrawCurrentPage();
    void UpdatePageButtons();
    void ComputeTotal();
    bool ScrollKey(QKeyEvent* key);

    TListPrint* m_owner;
    TDisplayList m_sheet;
    QSize m_page96;
    int m_page = 0;
    int m_total = 0;
    int m_zoom = 0;
    int m_sizedZoom = -1;
    bool m_shown = false;
    QPoint m_dragStart;

    QToolButton* m_sbtnFirst = nullptr;
    QToolButton* m_sbtnPrior = nullptr;
    QToolButton* m_sbtnNext = nullptr;
    QToolButton* m_sbtnLast = nullptr;
    QLabel* m_lblNowPage = nullptr;
    QLabel* m_lblTotalPage = nullptr;
    QComboBox* m_cbxZoom = nullptr;
    QPushButton* m_btnClose = nullptr;
    QScrollArea* m_sbxPreview = nullptr;
    QWidget* m_space = nullptr;
    QWidget* m_pnlImage = nullptr;
    QMenu* m_pmZoom = nullptr;
    QStatusBar* m_stbarInfo = nullptr;
    QLabel* m_zoomPanel = nullptr;
};
