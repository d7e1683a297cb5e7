// The font dialog of the designers: face, style and colour of the fixed text frames' font, for the
// focused frame or for all of them.
#pragma once

#include "core/FontSub.h"

#include <QDialog>

class QCheckBox;
class QLabel;
class QListWidget;
class QPushButton;
class TColorPanel;

inline constexpr int LayoutFontHelp = 112;
inline constexpr int LayoutFontSampleSize = 14;

// Set up with SetSampleFont (the focused frame's font) and shown modally. After OK the designer reads the
// results: GetSampleFont (face, charset and style; its size means nothing), GetSampleColor and
// GetApplyToAll ("すべての枠のフォントを変更する", checked at creation).
class TLayoutFontDialog : public QDialog
{
    Q_OBJECT
public:
    explicit TLayoutFontDialog(QWidget* owner = nullptr);

    // Copies the font, made horizontal and sized 14 points, and its colour into the sample.
    void SetSampleFont(const TFontSpec& font, quint32 color = 0);
    TFontSpec GetSampleFont() const { return m_font; }
    quint32 GetSampleColor() const { return m_color; }
    bool GetApplyToAll() const;

protected:
    void showEvent(QShowEvent* e) override;

private:
    void ShowFont();
    void showCharset(int charset);
    void updateSample();

    TFontSpec m_font;
    quint32 m_color = 0;
    bool m_updating = false;

    QListWidget* lbFonts = nullptr;
    QLabel* lblCharset = nullptr;
    QCheckBox* ckbBold = nullptr;
    QCheckBox* ckbItalic = nullptr;
    TColorPanel* pnlFontColor = nullptr;
    QPushButton* bbtnFontColor = nullptr;
    QCheckBox* ckbAll = nullptr;
    QLabel* pnlSample = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
