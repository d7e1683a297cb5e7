// The picture picker link against the real "ImgView.exe": start, request, answer, a second request to the
// running picker, close; and the message when the picker is missing or never comes up in the wait.
#include "designers/ImageToolProcess.h"

#include "ImageToolProtocol.h"
#include "core/MainSettings.h"
#include "platform/MessageSeam.h"
#include "support/MessageRecorder.h"

#include <QCoreApplication>
#include <QDir>
#include <QFile>
#include <QImage>
#include <QLocalSocket>
#include <QSignalSpy>
#include <QTemporaryDir>
#include <QTest>

#include <gtest/gtest.h>

namespace {

bool pickerListening()
{
    QLocalSocket socket;
    socket.connectToServer(ImageTool::PickerServerName());
    return socket.waitForConnected(500);
}

class ImageToolProcessTest : public ::testing::Test
{
protected:
    void SetUp() override
    {
        ASSERT_TRUE(m_dir.isValid());
        m_program = ProgramFolder;
        qputenv(ImageTool::ServerVariable,
                QStringLiteral("tovarel-imgview-test-%1").arg(QCoreApplication::applicationPid()).toUtf8());
    }
    void TearDown() override
    {
        ProgramFolder = m_program;
        qunsetenv(ImageTool::ServerVariable);
        qunsetenv("TOVAREL_IMGVIEW_FOLDER");
        qunsetenv("TOVAREL_IMGVIEW_AUTOCHOOSE");
    }

    QTemporaryDir m_dir;
    QString m_program;
};

TEST_F(ImageToolProcessTest, SelectAnswerAndClose)
{
    const QString pictures = m_dir.path() + QStringLiteral("/写真");
    ASSERT_TRUE(QDir().mkpath(pictures));
    QImage image(30, 20, QImage::Format_RGB32);
    image.fill(Qt::red);
    const QString picture = pictures + QStringLiteral("/a 年賀.bmp");
    ASSERT_TRUE(image.save(picture, "BMP"));
    ASSERT_TRUE(image.save(pictures + QStringLiteral("/b.jpg"), "JPEG"));
    ASSERT_TRUE(QFile(pictures + QStringLiteral("/c.txt")).open(QIODevice::WriteOnly));
    qputenv("TOVAREL_IMGVIEW_FOLDER", pictures.toUtf8());
    qputenv("TOVAREL_IMGVIEW_AUTOCHOOSE", "1");
    ProgramFolder = QStringLiteral(TOVAREL_PROGRAM_DIR);

    MessageRecorder messages;
    TImageToolProcess link;
    QSignalSpy answers(&link, &TImageToolLink::imageChosen);
    ASSERT_TRUE(link.RequestSelect(nullptr));
    ASSERT_TRUE(answers.wait(10000));
    EXPECT_EQ(answers.at(0).at(0).toString(), picture);
    // The running picker takes the next request without a new start.
    ASSERT_TRUE(link.RequestSelect(nullptr));
    ASSERT_TRUE(answers.count() > 1 || answers.wait(10000));
    EXPECT_EQ(answers.at(1).at(0).toString(), picture);
    EXPECT_EQ(messages.count(), 0);

    link.Close();
    EXPECT_TRUE(QTest::qWaitFor([] { return !pickerListening(); }, 10000));
}

TEST_F(ImageToolProcessTest, MissingOrSilentPicker)
{
    // A program that ends without ever listening stands for a picker that does not come up.
    const QString silent = m_dir.path() + QStringLiteral("/silent/");
    ASSERT_TRUE(QDir().mkpath(silent));
    QFile script(silent + ImageTool::ProgramName);
    ASSERT_TRUE(script.open(QIODevice::WriteOnly));
    script.write("#!/bin/sh\nexit 0\n");
    script.close();
    script.setPermissions(QFile::ReadOwner | QFile::WriteOwner | QFile::ExeOwner);
    for (const QString& folder : {m_dir.path() + QStringLiteral("/none/"), silent}) {
        SCOPED_TRACE(folder.toStdString());
        ProgramFolder = folder;
        MessageRecorder messages;
        messages.answer(MsgSeam::IdOk);
        TImageToolProcess link;
        link.SetStartWait(300);
        QSignalSpy answers(&link, &TImageToolLink::imageChosen);
        EXPECT_FALSE(link.RequestSelect(nullptr));
        ASSERT_EQ(messages.count(), 1);
        EXPECT_EQ(messages.last().text, ImageToolMissingMessage);
        EXPECT_EQ(messages.last().flags & 0xF0, unsigned(MsgSeam::MbIconInformation));
        EXPECT_EQ(answers.count(), 0);
        link.Close(); // nothing runs: nothing happens
    }
}

TEST(ImageToolProtocol, Lines)
{
    ImageTool::TLineReader reader;
    reader.Append("select tovarel-imgsel-1-2\nclo");
    reader.Append(QByteArray("se\r\n") + QByteArray(ImageTool::MaxLineBytes + 1, 'x') +
                  "\n/写真/a.bmp\ntail");
    const QList<QByteArray> lines = reader.TakeLines();
    ASSERT_EQ(lines.size(), 3);
    EXPECT_EQ(ImageTool::ParseCommand(lines[0]).kind, ImageTool::TCommand::Select);
    EXPECT_EQ(ImageTool::ParseCommand(lines[0]).server, QStringLiteral("tovarel-imgsel-1-2"));
    EXPECT_EQ(ImageTool::ParseCommand(lines[1]).kind, ImageTool::TCommand::Close);
    QString path;
    EXPECT_TRUE(ImageTool::ParsePath(lines[2], path));
    EXPECT_EQ(path, QStringLiteral("/写真/a.bmp"));
    const struct
    {
        QByteArray line;
        ImageTool::TCommand::Kind kind;
    } commands[] = {
        {"select ", ImageTool::TCommand::Unknown},      {"select /tmp/sock", ImageTool::TCommand::Unknown},
        {"select a b", ImageTool::TCommand::Unknown},   {"select ..", ImageTool::TCommand::Unknown},
        {"close ", ImageTool::TCommand::Unknown},       {"\xff\xfe", ImageTool::TCommand::Unknown},
        {"select x.y_z-1", ImageTool::TCommand::Select}};
    for (const auto& c : commands)
        EXPECT_EQ(ImageTool::ParseCommand(c.line).kind, c.kind) << c.line.toStdString();
    for (const QByteArray& bad :
         {QByteArray("relative.bmp"), QByteArray("/a\tb.bmp"), QByteArray("/\xc3"), QByteArray()})
        EXPECT_FALSE(ImageTool::ParsePath(bad, path)) << bad.toStdString();
}

} // namespace
