// Files dropped on the paper panel reach the window as filesDropped with the drop point; none after close.
#include "designers/LayoutDocument.h"
#include "designers/PaperView.h"

#include <QApplication>
#include <QDropEvent>
#include <QMimeData>
#include <QSignalSpy>
#include <QUrl>

#include <gtest/gtest.h>

namespace {

TEST(PaperDrop, FilesReachTheWindowUntilRevoked)
{
    TLayoutDocument doc;
    doc.DesignSize = {378, 559};
    doc.DocumentOpen = true;
    TPaperView view(doc);
    view.resize(600, 600);
    view.show();
    view.sbxPreviewResize();
    QSignalSpy spy(&view, &TPaperView::filesDropped);
    QMimeData data;
    data.setUrls({QUrl("file:///p/z.jpg"), QUrl("file:///p/a.jpg")});
    data.setText(QStringLiteral("z.jpg"));
    const auto drop = [&] {
        QDragEnterEvent enter(QPoint(30, 40), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(view.Panel(), &enter);
        QDropEvent event(QPointF(30, 40), Qt::CopyAction, &data, Qt::LeftButton, {});
        QApplication::sendEvent(view.Panel(), &event);
    };
    drop();
    ASSERT_EQ(spy.count(), 1);
    EXPECT_EQ(spy.at(0).at(0).toStringList(), (QStringList{"/p/z.jpg", "/p/a.jpg"}));
    EXPECT_EQ(view.LastDropPoint(), QPoint(30, 40));
    view.RevokeDropTarget();
    drop();
    EXPECT_EQ(spy.count(), 1);
    EXPECT_FALSE(view.Panel()->acceptDrops());
}

} // namespace
