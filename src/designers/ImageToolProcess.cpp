// Link to the picture picker: the start and bounded wait, the request and close lines, the answer server.
#include "designers/ImageToolProcess.h"

#include "ImageToolProtocol.h"
#include "core/DialogSub.h"
#include "core/MainSettings.h"
#include "core/MsgBoxPos.h"

#include <QCoreApplication>
#include <QElapsedTimer>
#include <QEventLoop>
#include <QFileInfo>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPointer>
#include <QProcess>
#include <QTimer>
#include <QWidget>

#include <memory>

namespace {

constexpr int PollMs = 100;
constexpr int SocketWaitMs = 1000;

// Sends one line to the picker; false when no picker listens.
bool sendToPicker(const QByteArray& line)
{
    QLocalSocket socket;
    socket.connectToServer(ImageTool::PickerServerName());
    if (!socket.waitForConnected(SocketWaitMs))
        return false;
    socket.write(line);
    const bool written = socket.waitForBytesWritten(SocketWaitMs);
    socket.disconnectFromServer();
    if (socket.state() != QLocalSocket::UnconnectedState)
        socket.waitForDisconnected(SocketWaitMs);
    return written;
}

} // namespace

TImageToolProcess::TImageToolProcess(QObject* parent) : TImageToolLink(parent) {}

TImageToolProcess::~TImageToolProcess() = default;

QString TImageToolProcess::AnswerServerName() const
{
    return m_server ? m_server->serverName() : QString();
}

bool TImageToolProcess::listen()
{
    if (m_server && m_server->isListening())
        return true;
    static int serial = 0;
    delete m_server;
    m_server = new QLocalServer(this);
    m_server->setSocketOptions(QLocalServer::UserAccessOption);
    const QString name =
        QStringLiteral("tovarel-imgsel-%1-%2").arg(QCoreApplication::applicationPid()).arg(++serial);
    QLocalServer::removeServer(name);
    if (!m_server->listen(name))
        return false;
    connect(m_server, &QLocalServer::newConnection, this, &TImageToolProcess::takeConnections);
    return true;
}

void TImageToolProcess::takeConnections()
{
    while (QLocalSocket* socket = m_server->nextPendingConnection()) {
        auto reader = std::make_shared<ImageTool::TLineReader>();
        connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
        connect(socket, &QLocalSocket::readyRead, this, [this, socket, reader] {
            reader->Append(socket->readAll());
            for (const QByteArray& line : reader->TakeLines()) {
                QString path;
                if (ImageTool::ParsePath(line, path))
                    emit imageChosen(path);
            }
        });
    }
}

bool TImageToolProcess::RequestSelect(QWidget* owner)
{
    if (m_waiting)
        return true; // a start is still being waited for; its request follows
    // The owner may close while the wait runs the event loop.
    const QPointer<QWidget> guardedOwner(owner);
    const auto missing = [guardedOwner] {
        MessageBoxPos(guardedOwner.data(), ImageToolMissingMessage, ProductTitle,
                      MsgSeam::MbOk | MsgSeam::MbIconInformation);
        return false;
    };
    if (!listen())
        return missing();
    const QByteArray request = ImageTool::SelectLine(m_server->serverName());
    if (sendToPicker(request))
        return true;

    const QString program = ProgramFolder + ImageTool::ProgramName;
    if (!QFileInfo(program).isFile())
        return missing();
    TBusyCursor busy;
    if (!QProcess::startDetached(program, {ImageTool::SelectArgument}, ProgramFolder))
        return missing();
    // Polls with the event loop running until the picker takes the request or the wait is over.
    m_waiting = true;
    const QPointer<TImageToolProcess> self(this);
    const int startWait = m_startWait;
    QElapsedTimer waited;
    waited.start();
    QEventLoop loop;
    QTimer poll;
    bool sent = false;
    connect(&poll, &QTimer::timeout, &loop, [&] {
        sent = sendToPicker(request);
        if (sent || waited.elapsed() >= startWait)
            loop.quit();
    });
    poll.start(qMin(PollMs, qMax(startWait, 1)));
    loop.exec();
    if (!self)
        return false; // the window went away while waiting
    m_waiting = false;
    return sent ? true : missing();
}

void TImageToolProcess::Close()
{
    sendToPicker(ImageTool::CloseLine());
}
