// Scroll box whose position changes only through its scroll bars and code.
#include "core/LimitedScrollBox.h"

TLimitedScrollBox::TLimitedScrollBox(QWidget* parent) : QScrollArea(parent) {}

bool TLimitedScrollBox::focusNextPrevChild(bool next)
{
    // Moves the focus as any widget does, without the scroll area's ensureWidgetVisible.
    return QWidget::focusNextPrevChild(next);
}
