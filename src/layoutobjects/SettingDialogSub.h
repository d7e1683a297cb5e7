// Pieces the frame settings dialogs share: the preview fit, its dotted outline, colour panels and buttons,
// the remembered page, and the page of a decorative border and background.
#pragma once

#include "core/CstmClr.h"
#include "core/FontSub.h"
#include "layoutobjects/DrawRect.h"

#include <QFrame>
#include <QWidget>

#include <functional>

class QCheckBox;
class QComboBox;
class QDialog;
class QGroupBox;
class QHBoxLayout;
class QLabel;
class QListWidget;
class QPainter;
class QPushButton;
class QRadioButton;
class QTabWidget;
class TEnterMovesFocus;
class TRectFrame;

constexpr quint32 PureRed = 0x0000FF;
constexpr quint32 LightRed = 0xBFBFFF; // red 255, green 191, blue 191
constexpr quint32 PureWhite = 0xFFFFFF;

// Zooms the copy so that it fills 90 % of the preview's limiting side and centres its design rect there.
// A copy without width or height is left as it is; false then.
bool FitToPreview(TDrawRect& copy, QSize client);
// The grey dotted outline of a frame in a preview.
void OutlinePreview(QPainter& painter, const TRect& rect);

// A sunken panel showing a stored colour value.
class TColorPanel : public QFrame
{
public:
    explicit TColorPanel(QWidget* parent, const char* name);
    quint32 Color() const { return m_color; }
    void SetColor(quint32 color);

private:
    quint32 m_color = 0;
};

// A colour button ("COLORSET" glyph) that opens the colour dialog at its panel's colour; on OK the panel
// takes the colour and chosen is told.
QPushButton* ColorButton(QWidget* parent, const char* name, const QString& caption, TColorPanel* panel,
                         TCustomColorFile file, std::function<void(quint32)> chosen);

// The face list of the font pages ("lbFonts"): the Shift-JIS faces without the vertical "@" faces, sorted.
QListWidget* FaceList(QWidget* parent);
int FaceCharset(const QListWidget* faces, int row);
// The row whose text equals face exactly (the first one), 0 when none does.
int FaceRow(const QListWidget* faces, const QString& face);
// What the charset label beside "書体：" shows.
QString CharsetName(int charset);

// The face list, character-set label and style boxes of a font page. What the user changes goes to changed
// as the font current() gives with the face, character set or styles applied; Show fills the controls
// without calling it. A child of the page.
class TFontControls : public QObject
{
public:
    using TCurrent = std::function<TFontSpec()>;
    using TChanged = std::function<void(const TFontSpec&)>;
    TFontControls(QWidget* page, TCurrent current, TChanged changed);
    // A leading "@" is looked past; a face the list lacks selects the first row.
    void Show(const TFontSpec& font);

    QListWidget* lbFonts = nullptr;
    QLabel* lblCharset = nullptr;
    QCheckBox* ckbBold = nullptr;
    QCheckBox* ckbItalic = nullptr;

private:
    TCurrent m_current;
    TChanged m_changed;
    bool m_showing = false;
};

// The "方向" group: "縦書き" (rbVertical, tag 0) and "横書き" (rbHorizontal, tag 1) with blue checked
// captions; chosen gets the button that was turned on.
QGroupBox* DirectionGroup(QWidget* parent, QRadioButton*& vertical, QRadioButton*& horizontal,
                          std::function<void(QRadioButton*)> chosen);
// "OK" (default, accepts) and "キャンセル" (rejects) in a row.
QHBoxLayout* OkCancelRow(QDialog* dialog, QPushButton*& ok, QPushButton*& cancel);

// The page index stored under key in DESIGN of the main settings file, made current when it names a page.
void LoadSettingPage(QTabWidget* pages, const QString& key);
void SaveSettingPage(const QTabWidget* pages, const QString& key);

// The page of a decorative border and background, bound to the frame of the copy being edited.
class TRectFramePage : public QWidget
{
public:
    TRectFramePage(QWidget* parent, TCustomColorFile colorFile);

    // Shows the frame's settings; a line that is off gets pure red, a fill that is off light red, so that
    // switching them on later starts from those colours.
    void Bind(TRectFrame* frame, std::function<void()> changed);
    // Enter in "背景" moves to the control target names.
    void SetBackEnterTarget(std::function<QWidget*()> target);

    QCheckBox* ckbFrame = nullptr;
    QComboBox* cbxLineCount = nullptr;
    QComboBox* cbxCorner = nullptr;
    QComboBox* cbxLineWidth = nullptr;
    TColorPanel* pnlFrameColor = nullptr;
    QPushButton* bbtnFrameColor = nullptr;
    QCheckBox* ckbBack = nullptr;
    TColorPanel* pnlBackColor = nullptr;
    QPushButton* bbtnBackColor = nullptr;

private:
    void enableControls();
    void listChanged();

    TRectFrame* m_frame = nullptr;
    std::function<void()> m_changed;
    QList<QWidget*> m_lineControls;
    TEnterMovesFocus* m_enter = nullptr;
    bool m_binding = false;
};
