// The program's message boxes, both shown through the message seam.
#include "core/MsgBoxPos.h"

int MessageBoxPos(QWidget* owner, const QString& text, const QString& caption, unsigned flags, int mode,
                  int x, int y)
{
    MsgSeam::Request request;
    request.source = MsgSeam::Source::Positioned;
    request.owner = owner;
    request.text = text;
    request.caption = caption;
    request.flags = flags;
    // Without an owner there is nothing to centre on; the box goes where the system puts it.
    request.mode = (mode == 0 && !owner) ? 2 : mode;
    request.point = QPoint(x, y);
    return MsgSeam::Show(request);
}

int ApplicationMessageBox(const QString& text, unsigned flags)
{
    MsgSeam::Request request;
    request.source = MsgSeam::Source::Application;
    request.text = text;
    request.caption = ProductTitle;
    request.flags = flags;
    request.mode = 2;
    return MsgSeam::Show(request);
}
