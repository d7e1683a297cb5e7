// Stand-in of the picture picker "ImgView.exe": a window "画像参照ツール" with the BMP and JPEG thumbnails of
// a folder (the user's pictures folder unless TOVAREL_IMGVIEW_FOLDER names another; the user may change it).
// One picker runs per user: it listens under the protocol's server name, takes "select <server>" from the
// window that wants a picture and "close" when that window closes, and sends the chosen picture's path to
// the last requester. TOVAREL_IMGVIEW_AUTOCHOOSE=1 makes it choose the first picture on each request
// (scripted runs and tests).
#include "ImageToolProtocol.h"

#include <QApplication>
#include <QDir>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QImageReader>
#include <QLabel>
#include <QListWidget>
#include <QLocalServer>
#include <QLocalSocket>
#include <QPushButton>
#include <QStandardPaths>
#include <QTimer>
#include <QVBoxLayout>
#include <QWidget>

namespace {

constexpr int ThumbSide = 96;
constexpr int ThumbsPerTick = 4;
constexpr int SendWaitMs = 3000;

bool pickerRunning(const QString& name)
{
    QLocalSocket probe;
    probe.connectToServer(name);
    return probe.waitForConnected(1000);
}

class TImgViewForm : public QWidget
{
public:
    explicit TImgViewForm(QLocalServer& server) : m_server(server)
    {
        setObjectName(QStringLiteral("ImgViewForm"));
        setWindowTitle(ImageTool::WindowTitle);
        auto* root = new QVBoxLayout(this);
        auto* top = new QHBoxLayout;
        m_folderLabel = new QLabel(this);
        m_folderLabel->setObjectName(QStringLiteral("lblFolder"));
        auto* change = new QPushButton(QStringLiteral("フォルダの変更(&F)..."), this);
        change->setObjectName(QStringLiteral("btnFolder"));
        top->addWidget(m_folderLabel, 1);
        top->addWidget(change);
        root->addLayout(top);

        m_list = new QListWidget(this);
        m_list->setObjectName(QStringLiteral("lvImages"));
        m_list->setViewMode(QListView::IconMode);
        m_list->setIconSize(QSize(ThumbSide, ThumbSide));
        m_list->setGridSize(QSize(ThumbSide + 36, ThumbSide + 36));
        m_list->setResizeMode(QListView::Adjust);
        m_list->setMovement(QListView::Static);
        m_list->setWordWrap(true);
        root->addWidget(m_list, 1);

        auto* bottom = new QHBoxLayout;
        m_status = new QLabel(this);
        m_status->setObjectName(QStringLiteral("lblStatus"));
        auto* choose = new QPushButton(QStringLiteral("選択"), this);
        choose->setObjectName(QStringLiteral("btnSelect"));
        choose->setDefault(true);
        auto* close = new QPushButton(QStringLiteral("閉じる"), this);
        close->setObjectName(QStringLiteral("btnClose"));
        close->setAutoDefault(false);
        bottom->addWidget(m_status, 1);
        bottom->addWidget(choose);
        bottom->addWidget(close);
        root->addLayout(bottom);
        resize(560, 440);

        connect(change, &QPushButton::clicked, this, [this] {
            const QString folder =
                QFileDialog::getExistingDirectory(this, QStringLiteral("フォルダの選択"), m_folder);
            if (!folder.isEmpty())
                setFolder(folder);
        });
        connect(choose, &QPushButton::clicked, this, [this] { chooseItem(m_list->currentItem()); });
        connect(m_list, &QListWidget::itemActivated, this,
                [this](QListWidgetItem* item) { chooseItem(item); });
        connect(close, &QPushButton::clicked, this, &QWidget::close);
        connect(&m_thumbTimer, &QTimer::timeout, this, &TImgViewForm::loadThumbs);
        connect(&m_server, &QLocalServer::newConnection, this, &TImgViewForm::takeConnections);

        m_autoChoose = qEnvironmentVariable("TOVAREL_IMGVIEW_AUTOCHOOSE") == QLatin1String("1");
        QString folder = qEnvironmentVariable("TOVAREL_IMGVIEW_FOLDER");
        if (folder.isEmpty())
            folder = QStandardPaths::writableLocation(QStandardPaths::PicturesLocation);
        setFolder(folder);
    }

private:
    void setFolder(const QString& folder)
    {
        m_folder = folder;
        m_folderLabel->setText(QDir::toNativeSeparators(folder));
        m_list->clear();
        const QStringList names = QDir(folder).entryList(
            {QStringLiteral("*.bmp"), QStringLiteral("*.jpg"), QStringLiteral("*.jpeg")},
            QDir::Files | QDir::Readable, QDir::Name | QDir::IgnoreCase);
        QPixmap blank(ThumbSide, ThumbSide);
        blank.fill(Qt::white);
        for (const QString& name : names) {
            auto* item = new QListWidgetItem(QIcon(blank), name, m_list);
            item->setData(Qt::UserRole, QDir(folder).absoluteFilePath(name));
            item->setToolTip(name);
        }
        m_nextThumb = 0;
        m_status->setText(names.isEmpty() ? QStringLiteral("画像がありません") : QString());
        if (!names.isEmpty()) {
            m_list->setCurrentRow(0);
            m_thumbTimer.start(0);
        }
    }

    // A few thumbnails per pass, so that a large folder keeps the window responsive.
    void loadThumbs()
    {
        for (int n = 0; n < ThumbsPerTick && m_nextThumb < m_list->count(); ++n, ++m_nextThumb) {
            QListWidgetItem* item = m_list->item(m_nextThumb);
            QImageReader reader(item->data(Qt::UserRole).toString());
            reader.setAutoTransform(true);
            const QSize size = reader.size();
            if (size.isValid())
                reader.setScaledSize(size.scaled(ThumbSide, ThumbSide, Qt::KeepAspectRatio));
            const QImage image = reader.read();
            if (!image.isNull())
                item->setIcon(QIcon(QPixmap::fromImage(image)));
        }
        if (m_nextThumb >= m_list->count())
            m_thumbTimer.stop();
    }

    void takeConnections()
    {
        while (QLocalSocket* socket = m_server.nextPendingConnection()) {
            auto reader = std::make_shared<ImageTool::TLineReader>();
            connect(socket, &QLocalSocket::disconnected, socket, &QObject::deleteLater);
            connect(socket, &QLocalSocket::readyRead, this, [this, socket, reader] {
                reader->Append(socket->readAll());
                for (const QByteArray& line : reader->TakeLines())
                    command(ImageTool::ParseCommand(line));
            });
        }
    }

    void command(const ImageTool::TCommand& command)
    {
        switch (command.kind) {
        case ImageTool::TCommand::Select:
            m_requester = command.server;
            showNormal();
            raise();
            activateWindow();
            if (m_autoChoose)
                QTimer::singleShot(0, this, [this] { chooseItem(m_list->item(0)); });
            break;
        case ImageTool::TCommand::Close:
            close();
            break;
        case ImageTool::TCommand::Unknown:
            break;
        }
    }

    void chooseItem(QListWidgetItem* item)
    {
        if (!item)
            return;
        if (m_requester.isEmpty()) {
            m_status->setText(QStringLiteral("画像を送る画面がありません"));
            return;
        }
        QLocalSocket socket;
        socket.connectToServer(m_requester);
        if (!socket.waitForConnected(SendWaitMs)) {
            m_status->setText(QStringLiteral("画像を送れませんでした"));
            return;
        }
        socket.write(ImageTool::PathLine(item->data(Qt::UserRole).toString()));
        socket.waitForBytesWritten(SendWaitMs);
        socket.disconnectFromServer();
        if (socket.state() != QLocalSocket::UnconnectedState)
            socket.waitForDisconnected(SendWaitMs);
        m_status->setText(item->text());
    }

    QLocalServer& m_server;
    QLabel* m_folderLabel = nullptr;
    QListWidget* m_list = nullptr;
    QLabel* m_status = nullptr;
    QTimer m_thumbTimer;
    QString m_folder;
    QString m_requester;
    int m_nextThumb = 0;
    bool m_autoChoose = false;
};

} // namespace

int main(int argc, char** argv)
{
    QApplication app(argc, argv);
    const QString name = ImageTool::PickerServerName();
    // One picker per user: a second start leaves the running one to the requests.
    if (pickerRunning(name))
        return 0;
    QLocalServer server;
    server.setSocketOptions(QLocalServer::UserAccessOption);
    if (!server.listen(name)) {
        QLocalServer::removeServer(name); // left behind by a picker that ended abnormally
        if (!server.listen(name))
            return 1;
    }
    TImgViewForm form(server);
    form.show();
    return app.exec();
}
