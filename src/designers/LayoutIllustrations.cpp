// Illustrations made from picture files: the picker's answer and files dropped on the paper.
#include "designers/LayoutCommands.h"

#include "core/AppSub.h"
#include "core/DialogSub.h"
#include "layoutobjects/IllustRect.h"
#include "layoutobjects/ImageUtils.h"


std::optional<TGraphic> LoadPicture(const QString& path, int& dpi)
{
    try {
        return LoadImageWithDpi(path, dpi);
    } catch (const EImageFileError&) {
        return std::nullopt;
    }
}

std::unique_ptr<TIllustRect> NewIllustFrame(const TGraphic& graphic, int dpi, QPoint topLeft, const TRect& printArea,
                                            QSize paper, double zoom, int pitch)
{
    auto illust = std::make_unique<TIllustRect>();
    illust->SetGraphic(&graphic);
    illust->SetResolution(dpi);
    const QSize size = PictureDesignSize(graphic.Bitmap.size(), dpi, printArea, paper);
    illust->SetDesignRect({topLeft.x(), topLeft.y(), topLeft.x() + size.width(), topLeft.y() + size.height()});
    illust->SetZoom(zoom);
    SnapCorner(*illust, pitch);
    return illust;
}

int AddCascade(const QStringList& paths, QPoint panelPoint, double zoom,
               const std::function<bool(const QString&, QPoint)>& add)
{
    if (zoom <= 0)
        zoom = 1.0;
    const int x = int(RoundHalfAway(panelPoint.x() / zoom)), y = int(RoundHalfAway(panelPoint.y() / zoom));
    int added = 0;
    for (int i = 0; i < paths.size(); ++i)
        added += add(paths[i], QPoint(x + 10 * i, y + 10 * i)) ? 1 : 0;
    return added;
}

bool TLayoutEditor::AddIllustration(const QString& path, QPoint topLeft, bool asNew, TUndoDatas& action)
{
    TBusyCursor busy;
    int dpi = 96;
    const std::optional<TGraphic> graphic = LoadPicture(path, dpi);
    if (!graphic)
        return false;
    if (asNew) {
        d.Selection.push_back(addFree(
            NewIllustFrame(*graphic, dpi, topLeft, d.PrintArea, d.DesignSize, d.Zoom, SnapPitch), action));
    } else {
        auto* illust = dynamic_cast<TIllustRect*>(focused());
        if (!illust)
            return false;
        illust->SetGraphic(&*graphic);
        illust->SetResolution(dpi);
        action.StoreObject(0, *illust, 1);
    }
    d.Modified = true;
    return true;
}

bool TLayoutEditor::TakePickedImage(const QString& path)
{
    const bool asNew = !dynamic_cast<TIllustRect*>(focused());
    const std::vector<TDrawRect*> selection = d.Selection;
    const int focus = d.FocusIndex;
    std::unique_ptr<TUndoDatas> action;
    if (asNew) {
        d.Selection.clear();
        d.FocusIndex = -1;
        action = std::make_unique<TUndoDatas>(UndoAdd);
    } else {
        action = std::make_unique<TUndoDatas>(UndoChange);
        record(*action, *focused(), 0);
        StoreUndoSelection(*action, 0);
    }
    const QPoint corner(std::max(d.PrintArea.left, 0), std::max(d.PrintArea.top, 0));
    if (!AddIllustration(path, corner, asNew, *action)) {
        d.Selection = selection;
        d.FocusIndex = focus;
        return false;
    }
    if (asNew)
        d.FocusIndex = 0;
    finish(std::move(action));
    return true;
}

bool TLayoutEditor::DropFiles(const QStringList& paths, QPoint panelPoint)
{
    const std::vector<TDrawRect*> selection = d.Selection;
    const int focus = d.FocusIndex;
    d.Selection.clear();
    d.FocusIndex = -1;
    auto action = std::make_unique<TUndoDatas>(UndoAdd);
    if (AddCascade(paths, panelPoint, d.Zoom,
                   [&](const QString& path, QPoint at) { return AddIllustration(path, at, true, *action); }) ==
        0) {
        d.Selection = selection;
        d.FocusIndex = focus;
        return false;
    }
    d.FocusIndex = int(d.Selection.size()) - 1;
    finish(std::move(action));
    return true;
}
