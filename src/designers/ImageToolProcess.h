// The designers' link to the picture picker program "ImgView.exe" in ProgramFolder: started when it is not
// running, asked to choose over its local socket, its answers taken on a server of this link.
#pragma once

#include "designers/ImageToolLink.h"

#include <QString>

class QLocalServer;

inline const QString ImageToolMissingMessage = QStringLiteral("画像参照ツールがみつかりません  ");
inline constexpr int ImageToolStartWaitMs = 10000;

class TImageToolProcess : public TImageToolLink
{
    Q_OBJECT
public:
    explicit TImageToolProcess(QObject* parent = nullptr);
    ~TImageToolProcess() override;

    // Sends "select" to a running picker, else starts ProgramFolder + "ImgView.exe" with "Select" and waits
    // (the event loop running, the hourglass shown) until the picker listens, at most the start wait;
    // otherwise shows ImageToolMissingMessage through the message seam and answers false.
    bool RequestSelect(QWidget* owner) override;
    // "close" to a running picker; nothing starts it.
    void Close() override;

    // How long RequestSelect waits for a started picker (ImageToolStartWaitMs by default).
    void SetStartWait(int ms) { m_startWait = ms; }
    // The server the picker's answers come to.
    QString AnswerServerName() const;

private:
    bool listen();
    void takeConnections();

    QLocalServer* m_server = nullptr;
    int m_startWait = ImageToolStartWaitMs;
    bool m_waiting = false;
};
