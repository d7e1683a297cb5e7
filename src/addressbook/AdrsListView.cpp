// The message box of the address list's dialogs.
#include "addressbook/AdrsListView.h"

#include "core/MsgBoxPos.h"

int ListToolMessage(QWidget* owner, const QString& text, unsigned flags)
{
    return MessageBoxPos(owner, text, ProductTitle, flags, 0);
}
