// Panel that paints a picture (whole or centred), lets its owner draw over it, and can size to the picture.
#pragma once

#include <QImage>
#include <QWidget>

#include <functional>

enum TPanelBevel { bvNone, bvLowered, bvRaised, bvSpace };
// How the panel is docked in its parent; decides which sides follow the picture when auto-sizing.
enum TAlign { alNone, alTop, alBottom, alLeft, alRight, alClient };

class TPaintPanel : public QWidget
{
    Q_OBJECT
public:
    using TPaintEvent = std::function<void(TPaintPanel* Sender, QPainter* Canvas, const QRect& Rect)>;
    using TMouseEvent = std::function<void(TPaintPanel* Sender, QMouseEvent* Event)>;
    using TKeyEvent = std::function<void(TPaintPanel* Sender, QKeyEvent* Event)>;

    explicit TPaintPanel(QWidget* parent = nullptr);

    const QImage& Image() const { return m_image; }
    // A null image frees the picture.
    void SetImage(const QImage& image);
    bool Center() const { return m_center; }
    void SetCenter(bool on);
    bool AutoSize() const { return m_autoSize; }
    void SetAutoSize(bool on);
    TAlign Align() const { return m_align; }
    void SetAlign(TAlign align);

    TPanelBevel BevelOuter() const { return m_bevelOuter; }
    void SetBevelOuter(TPanelBevel bevel);
    TPanelBevel BevelInner() const { return m_bevelInner; }
    void SetBevelInner(TPanelBevel bevel);
    int BevelWidth() const { return m_bevelWidth; }
    void SetBevelWidth(int width);
    int BorderWidth() const { return m_borderWidth; }
    void SetBorderWidth(int width);
    QColor Color() const { return m_color; }
    void SetColor(const QColor& color);
    QString Caption() const { return m_caption; }
    void SetCaption(const QString& caption);
    Qt::Alignment Alignment() const { return m_alignment; }
    void SetAlignment(Qt::Alignment alignment);

    // The rectangle inside the bevels and the border, where the picture goes.
    QRect PictureRect() const;
    QSize sizeHint() const override;

    TPaintEvent OnPaint;
    TMouseEvent OnMouseDown;
    TMouseEvent OnMouseMove;
    TMouseEvent OnMouseUp;
    TMouseEvent OnDblClick;
    TKeyEvent OnKeyDown;
    TKeyEvent OnKeyUp;

protected:
    bool event(QEvent* e) override;
    void paintEvent(QPaintEvent* e) override;
    void mousePressEvent(QMouseEvent* e) override;
    void mouseMoveEvent(QMouseEvent* e) override;
    void mouseReleaseEvent(QMouseEvent* e) override;
    void mouseDoubleClickEvent(QMouseEvent* e) override;
    void keyPressEvent(QKeyEvent* e) override;
    void keyReleaseEvent(QKeyEvent* e) override;

private:
    int frameExtent() const;
    void adjustToImage();

    QImage m_image;
    bool m_center = false;
    bool m_autoSize = false;
    TAlign m_align = alNone;
    TPanelBevel m_bevelOuter = bvRaised;
    TPanelBevel m_bevelInner = bvNone;
    int m_bevelWidth = 1;
    int m_borderWidth = 0;
    QColor m_color;
    QString m_caption;
    Qt::Alignment m_alignment = Qt::AlignHCenter;
};
