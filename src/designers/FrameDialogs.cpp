// The frame dialogs of the designers' editing commands.
#include "designers/FrameDialogs.h"

#include "core/ShellSub.h"
#include "designers/DesignerShared.h"
#include "designers/LayoutCommands.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/FigureSetting.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/IllustSetting.h"
#include "layoutobjects/LayoutFontDialog.h"
#include "layoutobjects/QRCodeRect.h"
#include "layoutobjects/QRCodeSetting.h"
#include "layoutobjects/WordEdit.h"
#include "layoutobjects/WordRect.h"
#include "layoutobjects/WordSetting.h"

namespace {

// The dialog centred over its window, run modally.
template <class Dialog> bool accepted(Dialog& dialog, QWidget* owner)
{
    CenterForm(&dialog, owner);
    return dialog.exec() == QDialog::Accepted;
}

// The display settings of the focused frame of a kind.
template <class Frame, class Dialog, class Fill, class Apply>
bool displaySettings(QWidget* owner, TLayoutEditor& editor, Fill fill, Apply apply)
{
    auto* focused = dynamic_cast<Frame*>(editor.Focused());
    if (!focused)
        return false;
    Dialog dialog(owner);
    fill(dialog, *focused);
    return accepted(dialog, owner) && apply(dialog);
}

} // namespace

bool RunWordDialog(QWidget* owner, TLayoutEditor& editor, bool edit)
{
    auto* text = dynamic_cast<TWordRect*>(editor.Focused());
    if (edit && !text)
        return false;
    TWordEditDialog dialog(owner);
    if (edit) {
        QStringList lines;
        for (int i = 0; i < text->GetLineCount(); ++i)
            lines << text->GetLine(i);
        dialog.SetLines(lines);
        dialog.SetEditFont(text->Font());
        dialog.SetDirection(text->Horizontal() ? 1 : 0);
    } else {
        dialog.SetDirection(editor.Document().Context.Prototypes->Text->Horizontal() ? 1 : 0);
    }
    if (!accepted(dialog, owner))
        return false;
    if (edit)
        return editor.EditText(dialog.GetLines(), dialog.GetDirection());
    return editor.AddText(dialog.GetLines(), dialog.GetDirection()) != nullptr;
}

bool RunFigureDialog(QWidget* owner, TLayoutEditor& editor, bool change)
{
    auto* focused = dynamic_cast<TFigureRect*>(editor.Focused());
    if (change && !focused)
        return false;
    TFigureRect figure;
    if (change) {
        figure.Assign(*focused);
    } else {
        const TFigureRect& prototype = *editor.Document().Context.Prototypes->Figure;
        TakeFigurePrototype(figure, prototype);
        figure.SetSectorDirection(prototype.SectorDirection());
        figure.SetDesignRect({50, 50, 300, 300});
    }
    TFigureSettingDialog dialog(owner);
    dialog.SetFigure(figure);
    if (!accepted(dialog, owner))
        return false;
    if (change)
        return editor.ChangeFigure(dialog.FigureRect());
    return editor.AddFigure(dialog.FigureRect()) != nullptr;
}

bool RunQRCodeDialog(QWidget* owner, TLayoutEditor& editor, bool change)
{
    auto* focused = dynamic_cast<TQRCodeRect*>(editor.Focused());
    if (change && !focused)
        return false;
    TQRCodeSettingDialog dialog(owner);
    dialog.SetQRCode(change ? *focused : TQRCodeRect());
    if (!accepted(dialog, owner))
        return false;
    if (change)
        return editor.ChangeQRCode(dialog.QRCodeRect());
    return editor.AddQRCode(dialog.QRCodeRect()) != nullptr;
}

bool RunIllustSetDialog(QWidget* owner, TLayoutEditor& editor)
{
    return displaySettings<TIllustRect, TIllustSettingDialog>(
        owner, editor,
        [](TIllustSettingDialog& dialog, const TIllustRect& frame) { dialog.SetIllust(frame); },
        [&](TIllustSettingDialog& dialog) { return editor.SetIllustDisplay(dialog.IllustRect()); });
}

bool RunWordSetDialog(QWidget* owner, TLayoutEditor& editor)
{
    return displaySettings<TWordRect, TWordSettingDialog>(
        owner, editor, [](TWordSettingDialog& dialog, const TWordRect& frame) { dialog.SetWord(frame); },
        [&](TWordSettingDialog& dialog) { return editor.SetWordDisplay(dialog.WordRect()); });
}

bool RunFontDialog(QWidget* owner, TLayoutEditor& editor)
{
    const auto* frame = dynamic_cast<const TMetaRect*>(editor.Focused());
    if (!frame)
        return false;
    TLayoutFontDialog dialog(owner);
    dialog.SetSampleFont(frame->Font(), frame->FontColor());
    return dialog.exec() == QDialog::Accepted &&
           editor.ApplyFont(dialog.GetSampleFont(), dialog.GetSampleColor(), dialog.GetApplyToAll());
}
