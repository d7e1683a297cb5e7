// The one seam through which every message box of the program is shown; tests replace it with a recorder.
#pragma once

#include <QPoint>
#include <QRect>
#include <QSize>
#include <QString>
#include <functional>

class QWidget;

namespace MsgSeam {

// Button IDs the boxes answer with.
enum Answer { IdOk = 1, IdCancel = 2, IdAbort = 3, IdRetry = 4, IdIgnore = 5, IdYes = 6, IdNo = 7 };

// Flag bits of a message box: buttons (low nibble), icon, default button.
enum Flags : unsigned {
    MbOk = 0x00,
    MbOkCancel = 0x01,
    MbAbortRetryIgnore = 0x02,
    MbYesNoCancel = 0x03,
    MbYesNo = 0x04,
    MbRetryCancel = 0x05,
    MbIconStop = 0x10,
    MbIconQuestion = 0x20,
    MbIconExclamation = 0x30,
    MbIconInformation = 0x40,
    MbDefButton2 = 0x100,
    MbDefButton3 = 0x200,
};

// Who asked: the positioned box of the windows, or the application box used before any window exists.
enum class Source { Positioned, Application };

struct Request
{
    Source source = Source::Positioned;
    QWidget* owner = nullptr;
    QString text;
    QString caption;
    unsigned flags = 0;
    int mode = 0; // 0 centred over the owner, 1 top-left at point, 2 unplaced
    QPoint point;
};

using Handler = std::function<int(const Request&)>;

// Shows the box through the installed handler, or for real when none is installed.
int Show(const Request& request);
// Replaces the handler (empty restores the real box); returns the previous one.
Handler SetHandler(Handler handler);

// Where a box of boxSize goes: mode 0 centred on owner, 1 at point, 2 centred on the work area;
// always kept inside the work area.
QPoint PlaceBox(const QRect& owner, const QSize& boxSize, int mode, const QPoint& point, const QRect& workArea);

} // namespace MsgSeam
