// The illustration settings dialog: mirror and turn, cut-out shape or transparent colour, the cut-out placed
// by dragging in a zoomable preview, and the decorative border of a private copy of an illustration frame.
#pragma once

#include "layoutobjects/IllustRect.h"

#include <QDialog>

class QHBoxLayout;
class QLabel;
class QMouseEvent;
class QPushButton;
class QRadioButton;
class QScrollArea;
class QTabWidget;
class QToolButton;
class QWidget;
class TColorPanel;
class TPaintPanel;
class TRectFramePage;

inline constexpr int IllustSettingHelpPicture = 124;
inline constexpr int IllustSettingHelpFrame = 125;

// A drag of the cut-out rectangle o from (lastX, lastY) to (x, y) with the given screen cursor: moving for
// CursorSizeAll, else the edges of the zones follow the point; with keepRatio the width-to-height ratio of
// o is kept. An edge dragged past its opposite swaps them, and the zone with them.
TRect DragMaskRect(const TRect& o, qint16 cursor, quint8& hZone, quint8& vZone, int x, int y, int lastX,
                   int lastY, bool keepRatio);
// Where a dropped cut-out rectangle r goes: one wholly outside the frame's screen rect s comes back to its
// edge on that side; one that still touches s stays.
TRect DropMaskRect(const TRect& r, const TRect& s);

class TIllustSettingDialog : public QDialog
{
    Q_OBJECT
public:
    enum TRatio { RatioWhole = 0, RatioSame = 1, RatioDouble = 2 };

    explicit TIllustSettingDialog(QWidget* owner = nullptr);
    ~TIllustSettingDialog() override;

    // Loads the copy from the frame at the origin and shows its settings.
    void SetIllust(const TIllustRect& frame);
    // The copy, read by the designer after OK.
    TIllustRect& IllustRect() { return *m_copy; }
    int SelectedMask() const { return m_selectedMask; }

protected:
    void showEvent(QShowEvent* e) override;
    bool eventFilter(QObject* watched, QEvent* e) override;

private:
    QWidget* BuildPicturePage();
    QWidget* BuildMaskPage();
    QHBoxLayout* BuildRatioRow(QWidget* page, int number);
    void LoadSettings();
    void SaveSettings() const;
    void BuildMaskThumbnails();
    void sbtnRatioClick(int ratio);
    void layoutPreview();
    void bbtnReverseClick();
    void bbtnRotateClick();
    void rbImageViewClick();
    void selectMask(int index);
    void maskKey(int key);
    void previewMouseDown(QMouseEvent* e);
    void previewMouseMove(QMouseEvent* e);
    void previewMouseUp(QMouseEvent* e);
    void paintPreview(QPainter& painter);
    void repaintPreview();
    int currentRatio() const;

    std::unique_ptr<TIllustRect> m_copy;
    int m_selectedMask = 0;
    QList<QImage> m_thumbnails;
    QList<TPaintPanel*> m_thumbnailBoxes;
    qint16 m_cursor = CursorDefault;
    qint16 m_dragCursor = CursorDefault;
    QPoint m_last;
    quint8 m_hZone = ZoneNone;
    quint8 m_vZone = ZoneNone;
    bool m_pressed = false;
    bool m_dragging = false;

    QTabWidget* pgcSetting = nullptr;
    QList<QToolButton*> m_ratioButtons; // three per page: whole, x1, x2
    QRadioButton* rbVert = nullptr;
    QRadioButton* rbHorz = nullptr;
    QPushButton* bbtnReverse = nullptr;
    QRadioButton* rbL90 = nullptr;
    QRadioButton* rbR90 = nullptr;
    QRadioButton* rb180 = nullptr;
    QPushButton* bbtnRotate = nullptr;
    QRadioButton* rbNone = nullptr;
    QRadioButton* rbMask = nullptr;
    QRadioButton* rbTransparent = nullptr;
    QScrollArea* sbxMask = nullptr;
    QWidget* m_maskHolder = nullptr;
    QLabel* lblMaskNote = nullptr;
    TColorPanel* pnlTransparentColor = nullptr;
    QList<QLabel*> m_transparentLabels;
    TRectFramePage* m_framePage = nullptr;
    QScrollArea* sbxPreview = nullptr;
    TPaintPanel* pbxPreview = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
