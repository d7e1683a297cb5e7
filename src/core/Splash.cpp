// The start-up splash: a borderless picture centred on the screen that closes itself after its time.
#include "core/Splash.h"

#include "core/ShellSub.h"

#include <QLabel>
#include <QLinearGradient>
#include <QPainter>
#include <QTimer>
#include <QVBoxLayout>

QPointer<TSplashForm> SplashForm;

TSplashForm::TSplashForm() : QWidget(nullptr, Qt::SplashScreen | Qt::FramelessWindowHint)
{
    setObjectName(QStringLiteral("SplashForm"));
    setAttribute(Qt::WA_DeleteOnClose);
    m_imgSplash = new QLabel(this);
    m_imgSplash->setObjectName(QStringLiteral("imgSplash"));
    m_imgSplash->setPixmap(SplashPicture());
    auto* layout = new QVBoxLayout(this);
    layout->setContentsMargins(0, 0, 0, 0);
    layout->addWidget(m_imgSplash);
    setFixedSize(512, 400);

    m_tmrSplash = new QTimer(this);
    m_tmrSplash->setObjectName(QStringLiteral("tmrSplash"));
    m_tmrSplash->setSingleShot(true);
    m_tmrSplash->setInterval(ShowMs);
    connect(m_tmrSplash, &QTimer::timeout, this, &TSplashForm::tmrSplashTimer);
    SplashForm = this;
    CenterForm(this);
}

TSplashForm::~TSplashForm()
{
    if (SplashForm == this)
        SplashForm = nullptr;
}

void TSplashForm::showEvent(QShowEvent* event)
{
    QWidget::showEvent(event);
    if (!m_tmrSplash->isActive())
        m_tmrSplash->start();
}

void TSplashForm::tmrSplashTimer()
{
    close();
}

QPixmap TSplashForm::SplashPicture()
{
    QPixmap picture(512, 400);
    QPainter p(&picture);
    p.setRenderHint(QPainter::Antialiasing);
    QLinearGradient sky(0, 0, 0, 400);
    sky.setColorAt(0, QColor(0x1E, 0x4E, 0x8C));
    sky.setColorAt(1, QColor(0x9C, 0xC8, 0xEE));
    p.fillRect(picture.rect(), sky);
    p.setPen(Qt::NoPen);
    p.setBrush(QColor(255, 255, 255, 60));
    p.drawEllipse(QPoint(420, 90), 140, 140);
    p.setBrush(QColor(255, 255, 255, 230));
    p.drawRoundedRect(QRect(48, 250, 416, 96), 10, 10);

    QFont title(QStringLiteral("IPAPGothic"));
    title.setPixelSize(64);
    title.setBold(true);
    p.setFont(title);
    p.setPen(Qt::white);
    p.drawText(QRect(0, 80, 512, 100), Qt::AlignCenter, QStringLiteral("Tovarel"));
    QFont sub(QStringLiteral("IPAPGothic"));
    sub.setPixelSize(20);
    p.setFont(sub);
    p.setPen(QColor(0x1E, 0x3A, 0x5F));
    p.drawText(QRect(48, 250, 416, 96), Qt::AlignCenter,
               QStringLiteral("アドレス帳・電話帳検索・宛名印刷\nMorvane"));
    return picture;
}
