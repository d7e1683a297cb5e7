// The background dialog of the message-side design: no background, a picture (fitted, centred or tiled,
// mirrored and turned) or a single colour or gradient, chosen on a copy of the design's background shown in
// a preview of the paper.
#pragma once

#include "layoutobjects/BackImage.h"

#include <QDialog>
#include <QPointer>

class QLabel;
class QPushButton;
class QRadioButton;
class QStackedWidget;
class QWidget;
class TColorPanel;
class TImageToolLink;
class TUpDownEdit;

inline constexpr int BackImageHelp = 122;
// Colour 1 offered while the background has no colour of its own: red FF, green 9F, blue 5B.
inline constexpr quint32 BackDefaultColor = 0x5B9FFF;

class TBackImageDialog : public QDialog
{
    Q_OBJECT
public:
    // The picture picker is reached through link; without one the picker button is disabled.
    explicit TBackImageDialog(QWidget* owner = nullptr, TImageToolLink* link = nullptr);
    ~TBackImageDialog() override;

    // Copies background, fits the preview to its paper and shows its mode.
    void SetBackImage(const TBackImage& background);
    // The copy the dialog works on; the design window takes it back after OK.
    TBackImage BackImage;

    // A picture file from the picker or a drop: chooses the picture option and, for a readable BMP or
    // JPEG file, takes the picture.
    void TakePictureFile(const QString& path);
    // Files dropped on the preview: the first one counts.
    void DropFiles(const QStringList& paths);

    QWidget* Preview() const;

protected:
    void done(int result) override;
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    QWidget* BuildImagePage();
    QWidget* BuildColorPage();
    void BackImageTypeClick(int tag);
    void ImageViewClick(int mode);
    void ColorKindClick();
    void Reverse();
    void Rotate();
    void RequestPicture();
    void ShowColors();
    void RepaintPreview();

    QPointer<TImageToolLink> m_link;

    QRadioButton* rbNone = nullptr;
    QRadioButton* rbImage = nullptr;
    QRadioButton* rbColor = nullptr;
    QStackedWidget* m_pages = nullptr;
    QWidget* tbsImage = nullptr;
    QWidget* tbsColor = nullptr;
    QWidget* m_emptyPage = nullptr;
    QPushButton* bbtnImage = nullptr;
    QRadioButton* rbStretch = nullptr;
    QRadioButton* rbCenter = nullptr;
    QRadioButton* rbTiled = nullptr;
    QRadioButton* rbVert = nullptr;
    QRadioButton* rbHorz = nullptr;
    QPushButton* bbtnReverse = nullptr;
    QRadioButton* rbL90 = nullptr;
    QRadioButton* rbR90 = nullptr;
    QRadioButton* rb180 = nullptr;
    QPushButton* bbtnRotate = nullptr;
    QRadioButton* rbFilled = nullptr;
    QRadioButton* rbGradation = nullptr;
    TColorPanel* pnlColor1 = nullptr;
    QPushButton* bbtnColorDlg1 = nullptr;
    TColorPanel* pnlColor2 = nullptr;
    QPushButton* bbtnColorDlg2 = nullptr;
    TUpDownEdit* edAngle = nullptr;
    QList<QWidget*> m_color2Controls;
    QWidget* pnlPreview = nullptr;
    QWidget* pnlCard = nullptr;
    QPushButton* btnOK = nullptr;
    QPushButton* btnCancel = nullptr;
};
