// The start-up splash picture, shown at least 2500 ms.
#pragma once

#include <QPointer>
#include <QWidget>

class QLabel;
class QTimer;

class TSplashForm : public QWidget
{
    Q_OBJECT
public:
    static constexpr int ShowMs = 2500;

    TSplashForm();
    ~TSplashForm() override;

    QTimer* tmrSplash() const { return m_tmrSplash; }
    // The splash picture (512 x 400 at 96 dpi).
    static QPixmap SplashPicture();

protected:
    void showEvent(QShowEvent* event) override;

private:
    void tmrSplashTimer();

    QLabel* m_imgSplash;
    QTimer* m_tmrSplash;
};

// The splash while it exists.
extern QPointer<TSplashForm> SplashForm;
