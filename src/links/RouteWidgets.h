// What the two route front ends share on screen: their lists, the Enter key and the bearing words.
#pragma once

#include <QList>
#include <QStringList>

class QEvent;
class QTreeWidget;

// A flat list with fixed column widths, wide enough for every column and a scroll bar; no headers hides the
// header.
QTreeWidget* MakeRouteList(const QStringList& headers, const QList<int>& widths);
// A key press of Return or Enter.
bool IsEnterKey(const QEvent* event);
// The word of a bearing code (1 "北" to 8 "北西"), empty for any other.
QString BearingWord(int bearing);
