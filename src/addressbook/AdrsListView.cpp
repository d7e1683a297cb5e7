// Category captions and the message box of the address list's dialogs.
#include "addressbook/AdrsListView.h"

#include "core/MsgBoxPos.h"

QString CategoryCaption(const TAddressListView& list, int code)
{
    const int major = code / 100;
    const int minor = code % 100;
    QString caption;
    for (const TCategoryEntry& entry : list.MajorCategories()) {
        if (entry.code == major) {
            caption = entry.name;
            break;
        }
    }
    if (minor != 0) {
        QString minorName;
        for (const TCategoryEntry& entry : list.MinorCategories(major)) {
            if (entry.code == code) {
                minorName = entry.name;
                break;
            }
        }
        caption += QLatin1Char('-') + minorName;
    }
    return caption;
}

int ListToolMessage(QWidget* owner, const QString& text, unsigned flags)
{
    return MessageBoxPos(owner, text, ProductTitle, flags, 0);
}
