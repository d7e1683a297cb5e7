// Drop target: files over text, trimmed text, paths in order, and nothing taken once revoked.
#include "layoutobjects/FileDD.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

#include <gtest/gtest.h>

#include <memory>

namespace {

std::unique_ptr<QMimeData> Data(const QStringList& urls, const QString& text = QString(),
                                bool withText = false)
{
    auto data = std::make_unique<QMimeData>();
    QList<QUrl> list;
    for (const QString& u : urls)
        list << QUrl(u);
    if (!list.isEmpty())
        data->setUrls(list);
    if (withText)
        data->setText(text);
    return data;
}

TEST(FileDD, FormatPathsAndText)
{
    const struct
    {
        QStringList urls;
        QString text;
        bool withText;
        TDropFormat format;
        QStringList paths;
        QString dropped;
    } cases[] = {
        {{"file:///p/b.jpg", "file:///p/a.bmp", "file:///p/c.jpg"},
         "",
         false,
         TDropFormat::Files,
         {"/p/b.jpg", "/p/a.bmp", "/p/c.jpg"},
         ""},
        // Files win over the text that comes with them; other URLs are not files.
        {{"http://example.invalid/x.jpg", "file:///p/a.bmp"},
         "x",
         true,
         TDropFormat::Files,
         {"/p/a.bmp"},
         "x"},
        {{"http://example.invalid/x.jpg"},
         " \t http://example.invalid/x.jpg\r\n",
         true,
         TDropFormat::Text,
         {},
         "http://example.invalid/x.jpg"},
        {{}, "\x01  年賀状 \n", true, TDropFormat::Text, {}, "年賀状"},
        {{}, "", false, TDropFormat::None, {}, ""},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.text.toStdString());
        const auto data = Data(c.urls, c.text, c.withText);
        EXPECT_EQ(DropFormatOf(data.get()), c.format);
        EXPECT_EQ(DroppedPaths(data.get()), c.paths);
        if (c.format == TDropFormat::Text)
            EXPECT_EQ(DroppedText(data.get()), c.dropped);
    }
    EXPECT_EQ(DropFormatOf(nullptr), TDropFormat::None);
}

class FileDDEvents : public ::testing::Test
{
protected:
    void SetUp() override
    {
        m_drop = std::make_unique<TFileDD>(&m_panel);
        m_drop->OnDropFiles = [this](const QStringList& paths, Qt::KeyboardModifiers, QPoint,
                                     Qt::DropAction&) {
            m_files << paths;
            ++m_fileEvents;
        };
        m_drop->OnDropText = [this](const QString& text, Qt::KeyboardModifiers, QPoint, Qt::DropAction&) {
            m_texts << text;
        };
    }
    // Drag entry, a move and the drop; whether the entry was accepted.
    bool dragAndDrop(const QMimeData* data)
    {
        QDragEnterEvent enter(QPoint(5, 5), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, {});
        enter.ignore();
        QApplication::sendEvent(&m_panel, &enter);
        QDragMoveEvent move(QPoint(6, 6), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(&m_panel, &move);
        QDropEvent drop(QPointF(6, 6), Qt::CopyAction | Qt::MoveAction, data, Qt::LeftButton, {});
        QApplication::sendEvent(&m_panel, &drop);
        return enter.isAccepted() && enter.dropAction() == Qt::CopyAction;
    }

    QWidget m_panel;
    std::unique_ptr<TFileDD> m_drop;
    QStringList m_files;
    QStringList m_texts;
    int m_fileEvents = 0;
};

TEST_F(FileDDEvents, FilesThenTextThenRevoked)
{
    EXPECT_TRUE(m_panel.acceptDrops());
    const auto files = Data({"file:///p/1.jpg", "file:///p/2.jpg"}, "ignored", true);
    EXPECT_TRUE(dragAndDrop(files.get()));
    EXPECT_EQ(m_files, (QStringList{"/p/1.jpg", "/p/2.jpg"}));
    EXPECT_TRUE(m_texts.isEmpty());

    const auto text = Data({}, "  一行 \n", true);
    EXPECT_TRUE(dragAndDrop(text.get()));
    EXPECT_EQ(m_texts, QStringList{"一行"});
    EXPECT_EQ(m_fileEvents, 1);

    const auto nothing = Data({});
    EXPECT_FALSE(dragAndDrop(nothing.get()));
    EXPECT_EQ(m_fileEvents, 1);

    m_drop->RevokeDropTarget();
    m_drop->RevokeDropTarget();
    EXPECT_FALSE(m_panel.acceptDrops());
    EXPECT_FALSE(dragAndDrop(files.get()));
    EXPECT_EQ(m_fileEvents, 1);
}

} // namespace
