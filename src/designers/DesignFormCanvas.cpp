// The design window's paper editing: the view's editing switched on, the caption after drags and keys, the
// selected-frame box with the popup actions of the focused frame, and double clicks by frame kind.
#include "designers/DesignForm.h"

#include "designers/PaperView.h"
#include "layoutobjects/FigureRect.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/QRCodeRect.h"
#include "layoutobjects/SenderRect.h"
#include "layoutobjects/WordRect.h"

#include <QAction>
#include <QComboBox>

namespace {

struct TKindCommand
{
    const char* name;
    quint8 kind;
};

// The commands shown in the popup menu only for a focused frame of their kind.
constexpr TKindCommand PopupCommands[] = {
    {"actIllustSet", KindIllust},       {"actWordEdit", KindWord},          {"actWordSet", KindWord},
    {"actFigureSet", KindFigure},       {"actQRCodeSet", KindQRCode},       {"actSenderSet", KindSenderBlock},
    {"actDetail", KindSenderBlock},     {"actDataForm", KindSenderBlock},   {"actSenderLayout", KindSenderBlock}};

// The settings command a double click on a frame of the kind runs.
constexpr TKindCommand SettingsCommands[] = {{"actIllustSet", KindIllust},
                                             {"actWordSet", KindWord},
                                             {"actFigureSet", KindFigure},
                                             {"actQRCodeSet", KindQRCode},
                                             {"actSenderSet", KindSenderBlock}};

} // namespace

void TDesignForm::buildCanvas()
{
    sbxPreview->SetEditingEnabled(true);
    connect(sbxPreview, &TPaperView::selectionChanged, this, &TDesignForm::UpdatePopupActions);
    // A drop or an arrow key marks the caption.
    connect(sbxPreview, &TPaperView::documentModified, this, &TDesignForm::updateActions);
    connect(sbxPreview, &TPaperView::frameDoubleClicked, this, &TDesignForm::frameDoubleClicked);
    connect(sbxPreview, &TPaperView::deleteRequested, this, [this] {
        if (QAction* remove = action("actDelete"))
            remove->trigger();
    });
    // After the box's own handler has changed the selection.
    connect(cbxViewRect, &QComboBox::activated, this, &TDesignForm::UpdatePopupActions);
}

TDrawRect* TDesignForm::FocusedFrame() const
{
    const TDesignDocument& d = *m_document;
    return d.FocusedIndex >= 0 && size_t(d.FocusedIndex) < d.Selection.size() ? d.Selection[size_t(d.FocusedIndex)]
                                                                              : nullptr;
}

void TDesignForm::SyncRectCombo()
{
    ShowFocusedInRectList();
    UpdatePopupActions();
}

void TDesignForm::UpdatePopupActions()
{
    const TDrawRect* focused = FocusedFrame();
    for (const TKindCommand& c : PopupCommands)
        if (QAction* a = action(c.name))
            a->setVisible(focused && focused->GetKind() == c.kind);
}

void TDesignForm::frameDoubleClicked(TDrawRect* frame)
{
    if (!frame)
        return;
    for (const TKindCommand& c : SettingsCommands)
        if (frame->GetKind() == c.kind) {
            if (QAction* settings = action(c.name))
                settings->trigger();
            return;
        }
}
