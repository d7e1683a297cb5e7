// Real message boxes (QMessageBox) with placement, behind a replaceable handler.
#include "platform/MessageSeam.h"

#include <QApplication>
#include <QMessageBox>
#include <QPushButton>
#include <QScreen>
#include <QWidget>

namespace MsgSeam {

namespace {

Handler& installed()
{
    static Handler handler;
    return handler;
}

struct ButtonSpec
{
    QMessageBox::StandardButton button;
    int answer;
};

QList<ButtonSpec> buttonsFor(unsigned flags)
{
    switch (flags & 0x0F) {
    case MbOkCancel:
        return {{QMessageBox::Ok, IdOk}, {QMessageBox::Cancel, IdCancel}};
    case MbAbortRetryIgnore:
        return {{QMessageBox::Abort, IdAbort}, {QMessageBox::Retry, IdRetry}, {QMessageBox::Ignore, IdIgnore}};
    case MbYesNoCancel:
        return {{QMessageBox::Yes, IdYes}, {QMessageBox::No, IdNo}, {QMessageBox::Cancel, IdCancel}};
    case MbYesNo:
        return {{QMessageBox::Yes, IdYes}, {QMessageBox::No, IdNo}};
    case MbRetryCancel:
        return {{QMessageBox::Retry, IdRetry}, {QMessageBox::Cancel, IdCancel}};
    default:
        return {{QMessageBox::Ok, IdOk}};
    }
}

QMessageBox::Icon iconFor(unsigned flags)
{
    switch (flags & 0xF0) {
    case MbIconStop:
        return QMessageBox::Critical;
    case MbIconQuestion:
        return QMessageBox::Question;
    case MbIconExclamation:
        return QMessageBox::Warning;
    case MbIconInformation:
        return QMessageBox::Information;
    default:
        return QMessageBox::NoIcon;
    }
}

int showReal(const Request& r)
{
    QWidget* owner = r.owner ? r.owner->window() : QApplication::activeWindow();
    QMessageBox box(iconFor(r.flags), r.caption, r.text, QMessageBox::NoButton, owner);
    box.setWindowModality(Qt::ApplicationModal);
    const QList<ButtonSpec> specs = buttonsFor(r.flags);
    QHash<QAbstractButton*, int> answers;
    for (const ButtonSpec& s : specs)
        answers.insert(box.addButton(s.button), s.answer);
    const int defIndex = (r.flags & MbDefButton3) ? 2 : (r.flags & MbDefButton2) ? 1 : 0;
    if (defIndex < specs.size())
        box.setDefaultButton(specs[defIndex].button);
    // Escape answers Cancel (or No) where such a button exists, as the system box does.
    for (const ButtonSpec& s : specs)
        if (s.answer == IdCancel || (s.answer == IdNo && specs.size() == 2))
            box.setEscapeButton(s.button);

    box.adjustSize();
    QScreen* screen = owner ? owner->screen() : QGuiApplication::primaryScreen();
    const QRect work = screen ? screen->availableGeometry() : QRect(0, 0, 1024, 768);
    const QRect ownerRect = owner ? owner->frameGeometry() : work;
    box.move(PlaceBox(ownerRect, box.sizeHint(), r.mode, r.point, work));

    QPointer<QWidget> previouslyActive = QApplication::activeWindow();
    box.exec();
    if (previouslyActive)
        previouslyActive->activateWindow();
    QAbstractButton* clicked = box.clickedButton();
    if (clicked && answers.contains(clicked))
        return answers.value(clicked);
    return specs.size() == 1 ? IdOk : IdCancel;
}

} // namespace

int Show(const Request& request)
{
    if (installed())
        return installed()(request);
    return showReal(request);
}

Handler SetHandler(Handler handler)
{
    Handler previous = std::move(installed());
    installed() = std::move(handler);
    return previous;
}

QPoint PlaceBox(const QRect& owner, const QSize& boxSize, int mode, const QPoint& point, const QRect& workArea)
{
    QPoint topLeft;
    switch (mode) {
    case 0:
        // Truncated toward zero, like the integer halving of the original placement.
        topLeft = QPoint(owner.left() + (owner.width() - boxSize.width()) / 2,
                         owner.top() + (owner.height() - boxSize.height()) / 2);
        break;
    case 1:
        topLeft = point;
        break;
    default:
        topLeft = QPoint(workArea.left() + (workArea.width() - boxSize.width()) / 2,
                         workArea.top() + (workArea.height() - boxSize.height()) / 2);
        break;
    }
    // Keep the whole box on the screen's work area.
    topLeft.setX(std::max(workArea.left(), std::min(topLeft.x(), workArea.right() + 1 - boxSize.width())));
    topLeft.setY(std::max(workArea.top(), std::min(topLeft.y(), workArea.bottom() + 1 - boxSize.height())));
    return topLeft;
}

} // namespace MsgSeam
