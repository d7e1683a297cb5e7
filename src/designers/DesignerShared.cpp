// Safe print-file writes and document saves, prototypes taken from files, preview drawing, thumbnails.
#include "designers/DesignerShared.h"

#include "core/FontSub.h"
#include "core/MsgBoxPos.h"
#include "designers/LayoutDocument.h"
#include "layoutobjects/IllustRect.h"

#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QImage>

#include <algorithm>
#include <cmath>

bool WriteWithRollback(const QString& path, const QByteArray& bytes)
{
    const QFileInfo info(path);
    QDir().mkpath(info.absolutePath());
    const QString backup = info.absolutePath() + QStringLiteral("/$$") + info.fileName();
    bool keptOld = false;
    if (info.exists()) {
        QFile::remove(backup); // left by an earlier failure
        keptOld = QFile::rename(path, backup);
    }
    bool written = false;
    {
        QFile file(path);
        written = file.open(QIODevice::WriteOnly | QIODevice::Truncate) && file.write(bytes) == bytes.size() &&
                  file.flush();
        file.close();
        written = written && file.error() == QFileDevice::NoError;
    }
    if (!written) {
        QFile::remove(path);
        if (keptOld)
            QFile::rename(backup, path);
        return false;
    }
    if (keptOld)
        QFile::remove(backup);
    return true;
}

bool SaveDocumentFile(const QString& path, const QByteArray& bytes, bool& modified, QString& fileName)
{
    if (!WriteWithRollback(path, bytes)) {
        MessageBoxPos(nullptr, SaveFailedMessage, ProductTitle, MsgSeam::MbOk | MsgSeam::MbIconStop);
        return false;
    }
    modified = false;
    if (fileName.isEmpty())
        fileName = path;
    return true;
}

TDrawRect* InsertOwnedFrame(std::vector<std::unique_ptr<TDrawRect>>& list, int index,
                            std::unique_ptr<TDrawRect> frame)
{
    index = std::clamp(index, 0, int(list.size()));
    return list.insert(list.begin() + index, std::move(frame))->get();
}

std::unique_ptr<TDrawRect> TakeOwnedFrame(std::vector<std::unique_ptr<TDrawRect>>& list, int index)
{
    if (index < 0 || index >= int(list.size()))
        return nullptr;
    std::unique_ptr<TDrawRect> frame = std::move(list[size_t(index)]);
    list.erase(list.begin() + index);
    return frame;
}

void TakeTextPrototype(TWordRect& prototype, const TWordRect& last)
{
    TFontSpec font = last.Font();
    if (font.charset != ShiftJisCharset)
        SetFontAttributes(&font, ShiftJisCharset, QStringLiteral("ＭＳ Ｐゴシック"), font.size,
                          GetFontStyleBits(font));
    prototype.SetFont(font, prototype.FontColor());
    prototype.SetHorizontal(last.Horizontal());
    prototype.SetAlignment(last.Alignment());
    prototype.SetAutoWrap(last.AutoWrap());
    prototype.SetFixedFontSize(last.FixedSizeIndex());
    prototype.SetAspectRatio(last.AspectRatio());
    prototype.SetLineSpacing(last.LineSpacing());
}

void TakeFigurePrototype(TFigureRect& prototype, const TFigureRect& last)
{
    prototype.SetFigureKind(last.FigureKind());
    prototype.SetLineDirections(last.LineDirections());
    prototype.SetCornerSize(0, last.GetCornerSize(0));
    prototype.SetCornerSize(1, last.GetCornerSize(1));
    prototype.SetFrameVisible(last.FrameVisible());
    prototype.SetFillVisible(last.FillVisible());
    prototype.SetGradient(last.Gradient());
    prototype.SetLineType(last.LineType());
    prototype.SetLineWidth(last.LineWidth());
    prototype.SetLineColor(last.LineColor());
    prototype.SetFillColor(last.FillColor());
    prototype.SetFillColor2(last.FillColor2());
    prototype.SetGradientAngle(last.GradientAngle());
}

void DrawStackedFrames(QPainter& painter, const std::vector<TDrawRect*>& stacking, double s, double restore)
{
    for (auto it = stacking.rbegin(); it != stacking.rend(); ++it) {
        auto* illust = dynamic_cast<TIllustRect*>(*it);
        const bool smooth = illust && illust->SmoothScaling();
        if (illust)
            illust->SetSmoothScaling(true);
        (*it)->SetZoom(s);
        (*it)->Draw(painter, 0, 0);
        (*it)->SetZoom(restore);
        if (illust)
            illust->SetSmoothScaling(smooth);
    }
}

QImage BlankThumbnail(int sizeIndex, QSize design, double* scale)
{
    const double longest = sizeIndex == 1 ? 500.0 : 200.0;
    const int w = qMax(1, design.width()), h = qMax(1, design.height());
    const double s = qMin(longest / w, longest / h);
    QImage image(qMax(1, int(std::nearbyint(w * s))), qMax(1, int(std::nearbyint(h * s))),
                 QImage::Format_RGB888);
    image.fill(Qt::white);
    *scale = s;
    return image;
}
