// The text display settings dialog: font, aspect ratio, alignment, spacing, wrapping, direction and the
// decorative border of a private copy of a free text frame, with a preview.
#pragma once

#include "layoutobjects/WordRect.h"

#include <QDialog>

class QCheckBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TColorPanel;
class TFontControls;
class TPaintPanel;
class TRectFramePage;
class TUpDownEdit;

inline constexpr int WordSettingHelpFont = 127;
inline constexpr int WordSettingHelpFrame = 128;

class TWordSettingDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TWordSettingDialog(QWidget* owner = nullptr);
    ~TWordSettingDialog() override;

    // Loads the copy from the frame, fitted into the preview, and shows its settings.
    void SetWord(const TWordRect& frame);
    // The copy, read by the designer after OK.
    TWordRect& WordRect() { return *m_copy; }

protected:
    void showEvent(QShowEvent* e) override;

private:
    void BuildWindow();
    QWidget* BuildFontPage();
    QWidget* BuildPlacementPage();
    void ShowFont();
    void pageChanged();
    void repaintPreview();
    void setFontOfCopy(const TFontSpec& font, quint32 color);
    void alignmentClick(QRadioButton* button);
    void lineSpaceClick();
    void directionClick(QRadioButton* button);

    std::unique_ptr<TWordRect> m_copy;
    bool m_updating = false;

    QTabWidget* pgcSetting = nullptr;
    QListWidget* lbFonts = nullptr;
    QLabel* lblCharset = nullptr;
    QComboBox* cbxFSize = nullptr;
    TUpDownEdit* edVHRatio = nullptr;
    QCheckBox* ckbBold = nullptr;
    QCheckBox* ckbItalic = nullptr;
    TColorPanel* pnlFontColor = nullptr;
    QPushButton* bbtnFontColor = nullptr;
    QRadioButton* rbLeft = nullptr;
    QRadioButton* rbHorzCenter = nullptr;
    QRadioButton* rbRight = nullptr;
    QRadioButton* rbTop = nullptr;
    QRadioButton* rbVertCenter = nullptr;
    QRadioButton* rbBottom = nullptr;
    QCheckBox* ckbLineSpace = nullptr;
    QComboBox* cbxLineSpace = nullptr;
    QCheckBox* ckbWrap = nullptr;
    TRectFramePage* m_framePage = nullptr;
    TFontControls* m_fontControls = nullptr;
    QRadioButton* rbVertical = nullptr;
    QRadioButton* rbHorizontal = nullptr;
    TPaintPanel* pnlPreview = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
