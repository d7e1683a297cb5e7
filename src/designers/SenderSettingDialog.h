// The sender block settings dialog: the sender shown, the font, the writing direction and the decorative
// frame of a private copy of the design's sender block, merged with the chosen sender and drawn live.
#pragma once

#include "designers/PrintDataFile.h"
#include "layoutobjects/SenderRect.h"

#include <QDialog>

#include <memory>

class QComboBox;
class QListWidget;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TColorPanel;
class TFontControls;
class TPaintPanel;
class TRectFramePage;
class TSenderSource;

inline constexpr int SenderSettingHelp = 121;

class TSenderSettingDialog : public QDialog
{
    Q_OBJECT
public:
    // senders: the sender rows offered (null: none).
    explicit TSenderSettingDialog(TSenderSource* senders, QWidget* owner = nullptr);
    ~TSenderSettingDialog() override;

    // The copy, taken back by the design window after OK.
    TSenderRect& SenderBlock() { return *m_block; }
    // The design's settings record, set before the dialog is shown; the merge reads it.
    TLayoutSettings Settings;

    // Copies the block, fits it into the preview and shows its sender, direction and frame.
    void SetSenderRect(const TSenderRect& block);
    // The paper's long side (0.1 mm) by which the copy's font heights scale.
    void SetPageSize(int paperLongSide);
    // Merges the chosen sender into the copy.
    void ShowSenderData();

protected:
    void showEvent(QShowEvent* e) override;

private:
    void BuildWindow();
    QWidget* BuildFontPage();
    void ShowFontSettings();
    void cbxSenderClick();
    void rbDirectionClick(QRadioButton* button);
    void setFontOfBlock(const TFontSpec& font, quint32 color);
    void paintPreview(QPainter& painter);

    TSenderSource* m_senders;
    std::unique_ptr<TSenderRect> m_block;
    bool m_updating = false;

    QComboBox* cbxSender = nullptr;
    QTabWidget* pgcSetting = nullptr;
    TFontControls* m_fontControls = nullptr;
    QListWidget* lbFonts = nullptr;
    TColorPanel* pnlFontColor = nullptr;
    QPushButton* bbtnFontColor = nullptr;
    TRectFramePage* m_framePage = nullptr;
    TPaintPanel* pnlPreview = nullptr;
    QRadioButton* rbVertical = nullptr;
    QRadioButton* rbHorizontal = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
