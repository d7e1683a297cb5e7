// The figure settings dialog: kind, line directions, corners, sector apex, line and fill of a private copy
// of a figure frame, with a preview.
#pragma once

#include "layoutobjects/FigureRect.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class QWidget;
class TColorPanel;
class TPaintPanel;
class TUpDownEdit;

inline constexpr int FigureSettingHelp = 129;

class TFigureSettingDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TFigureSettingDialog(QWidget* owner = nullptr);
    ~TFigureSettingDialog() override;

    // Loads the copy from the figure, fitted into the preview, and shows its settings.
    void SetFigure(const TFigureRect& figure);
    // The copy, read by the designer after OK.
    TFigureRect& FigureRect() { return *m_copy; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    QWidget* BuildShapePage();
    QWidget* BuildLinePage();
    void cbxFigureKindChange();
    void ckbFrameClick();
    void ckbBackClick();
    void gradientClick();
    void enableAngle(bool on);
    void repaintPreview();

    std::unique_ptr<TFigureRect> m_copy;

    QTabWidget* pgcSetting = nullptr;
    QComboBox* cbxFigureKind = nullptr;
    QWidget* pnlLine = nullptr;
    QList<QCheckBox*> m_directionBoxes;
    QWidget* pnlRoundRect = nullptr;
    QComboBox* cbxDiameterV = nullptr;
    QComboBox* cbxDiameterH = nullptr;
    QWidget* pnlSector = nullptr;
    QList<QRadioButton*> m_sectorButtons;
    QCheckBox* ckbFrame = nullptr;
    QListWidget* dgLineType = nullptr;
    TUpDownEdit* edLineWidth = nullptr;
    TColorPanel* pnlFrameColor = nullptr;
    QPushButton* bbtnFrameColor = nullptr;
    QList<QWidget*> m_lineLabels;
    QCheckBox* ckbBack = nullptr;
    QRadioButton* rbFilled = nullptr;
    QRadioButton* rbGradation = nullptr;
    TColorPanel* pnlColor1 = nullptr;
    QPushButton* bbtnColorDlg1 = nullptr;
    TColorPanel* pnlColor2 = nullptr;
    QPushButton* bbtnColorDlg2 = nullptr;
    TUpDownEdit* edAngle = nullptr;
    QLabel* lblColor1 = nullptr;
    QLabel* lblColor2 = nullptr;
    QLabel* lblAngle = nullptr;
    TPaintPanel* pnlPreview = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
