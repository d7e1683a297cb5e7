#include "links/RouteWidgets.h"

#include <QHeaderView>
#include <QKeyEvent>
#include <QStyle>
#include <QTreeWidget>

QTreeWidget* MakeRouteList(const QStringList& headers, const QList<int>& widths)
{
    auto* list = new QTreeWidget;
    list->setRootIsDecorated(false);
    list->setColumnCount(int(widths.size()));
    if (headers.isEmpty())
        list->setHeaderHidden(true);
    else
        list->setHeaderLabels(headers);
    int total = 0;
    for (int i = 0; i < widths.size(); ++i) {
        list->setColumnWidth(i, widths[i]);
        total += widths[i];
    }
    list->setMinimumWidth(total + 2 * list->frameWidth() +
                          list->style()->pixelMetric(QStyle::PM_ScrollBarExtent));
    list->header()->setSectionResizeMode(QHeaderView::Fixed);
    return list;
}

bool IsEnterKey(const QEvent* event)
{
    if (event->type() != QEvent::KeyPress)
        return false;
    const int key = static_cast<const QKeyEvent*>(event)->key();
    return key == Qt::Key_Return || key == Qt::Key_Enter;
}

QString BearingWord(int bearing)
{
    static const QStringList words = {QStringLiteral("北"),   QStringLiteral("北東"), QStringLiteral("東"),
                                      QStringLiteral("南東"), QStringLiteral("南"),   QStringLiteral("南西"),
                                      QStringLiteral("西"),   QStringLiteral("北西")};
    return bearing >= 1 && bearing <= 8 ? words[bearing - 1] : QString();
}
