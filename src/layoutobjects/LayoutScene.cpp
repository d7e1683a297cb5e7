// Layout scenes: JSON to frames, frames to a printed page.
#include "layoutobjects/LayoutScene.h"

#include "layoutobjects/MetaRect.h"
#include "platform/Printers.h"

#include <QJsonDocument>
#include <QJsonObject>
#include <QPainter>

#include <cmath>

namespace {

[[noreturn]] void fail(const QString& what)
{
    throw ESceneError(what.toStdString());
}

int wholeNumber(const QJsonValue& v, double low, double high, const QString& what)
{
    const double d = v.toDouble();
    if (!v.isDouble() || std::trunc(d) != d || d < low || d > high)
        fail(QStringLiteral("%1 must be a whole number from %2 to %3").arg(what).arg(low).arg(high));
    return int(d);
}

QJsonArray array(const QJsonValue& v, int size, const QString& what)
{
    if (!v.isArray() || (size >= 0 && v.toArray().size() != size))
        fail(size >= 0 ? QStringLiteral("%1 must be an array of %2").arg(what).arg(size)
                       : QStringLiteral("%1 must be an array").arg(what));
    return v.toArray();
}

constexpr double MaxPaper = 20000; // 2 m
constexpr double MaxCoordinate = 100000;

std::unique_ptr<TDrawRect> readFrame(const QJsonValue& value, int index)
{
    const QString where = QStringLiteral("frame %1").arg(index + 1);
    if (!value.isObject())
        fail(where + QStringLiteral(" must be an object"));
    const QJsonObject object = value.toObject();
    if (!object.value("class").isString())
        fail(where + QStringLiteral(": \"class\" must be a string"));
    const QString className = object.value("class").toString();
    const TFrameClassInfo* info = FindFrameClass(className);
    if (!info)
        fail(QStringLiteral("unknown class: %1").arg(className));
    std::unique_ptr<TDrawRect> frame = info->create();

    const QJsonArray rect = array(object.value("rect"), 4, where + QStringLiteral(": \"rect\""));
    TRect r;
    r.left = wholeNumber(rect[0], -MaxCoordinate, MaxCoordinate, where + QStringLiteral(": rect left"));
    r.top = wholeNumber(rect[1], -MaxCoordinate, MaxCoordinate, where + QStringLiteral(": rect top"));
    r.right = wholeNumber(rect[2], -MaxCoordinate, MaxCoordinate, where + QStringLiteral(": rect right"));
    r.bottom = wholeNumber(rect[3], -MaxCoordinate, MaxCoordinate, where + QStringLiteral(": rect bottom"));
    frame->SetDesignRect(r);

    if (object.contains("calls")) {
        const QJsonArray calls = array(object.value("calls"), -1, where + QStringLiteral(": \"calls\""));
        for (const QJsonValue& callValue : calls) {
            const QJsonArray call = array(callValue, -1, where + QStringLiteral(": a call"));
            if (call.isEmpty() || !call[0].isString())
                fail(where + QStringLiteral(": a call must start with the setter's name"));
            const QString setterName = call[0].toString();
            const auto setter = info->setters.constFind(setterName);
            if (setter == info->setters.cend())
                fail(QStringLiteral("unknown setter: %1.%2").arg(className, setterName));
            QJsonArray arguments = call;
            arguments.removeFirst();
            (*setter)(*frame, arguments);
        }
    }
    // The designers set the font height from side, level and paper after setting them.
    if (auto* text = dynamic_cast<TMetaRect*>(frame.get()))
        text->UpdateFontHeight();
    return frame;
}

} // namespace

TLayoutScene ReadLayoutScene(const QByteArray& json)
{
    QJsonParseError parseError;
    const QJsonDocument document = QJsonDocument::fromJson(json, &parseError);
    if (parseError.error != QJsonParseError::NoError)
        fail(
            QStringLiteral("not JSON: %1 at offset %2").arg(parseError.errorString()).arg(parseError.offset));
    if (!document.isObject())
        fail(QStringLiteral("the scene must be a JSON object"));
    const QJsonObject object = document.object();

    TLayoutScene scene;
    const QJsonArray paper = array(object.value("paper"), 2, QStringLiteral("\"paper\""));
    scene.paper = QSize(wholeNumber(paper[0], 1, MaxPaper, QStringLiteral("paper width")),
                        wholeNumber(paper[1], 1, MaxPaper, QStringLiteral("paper height")));
    if (object.contains("dpi"))
        scene.dpi = wholeNumber(object.value("dpi"), 72, 2400, QStringLiteral("\"dpi\""));
    PaperLongSide = qMax(scene.paper.width(), scene.paper.height());

    if (object.contains("frames")) {
        const QJsonArray frames = array(object.value("frames"), -1, QStringLiteral("\"frames\""));
        for (qsizetype i = 0; i < frames.size(); ++i)
            scene.frames.push_back(readFrame(frames[i], int(i)));
    }
    return scene;
}

bool PrintLayoutScene(const TLayoutScene& scene, TPrinter& printer, QString* error)
{
    const bool landscape = scene.paper.width() > scene.paper.height();
    const QSizeF portraitMm = QSizeF(qMin(scene.paper.width(), scene.paper.height()) / 10.0,
                                     qMax(scene.paper.width(), scene.paper.height()) / 10.0);
    printer.SetPaper(QPageSize(portraitMm, QPageSize::Millimeter, QString(), QPageSize::ExactMatch),
                     landscape ? QPageLayout::Landscape : QPageLayout::Portrait);
    std::unique_ptr<TPrintJob> job = printer.BeginJob(QStringLiteral("layoutrender"));
    if (!job) {
        if (error)
            *error = QStringLiteral("cannot start printing on %1").arg(printer.Name());
        return false;
    }
    for (const auto& frame : scene.frames) {
        if (!frame->Visible())
            continue;
        frame->CalcPrintRect(QPoint(0, 0), true);
        frame->Print(job->Painter(), 0, 0);
    }
    if (!job->Finish()) {
        if (error)
            *error = QStringLiteral("cannot finish printing on %1").arg(printer.Name());
        return false;
    }
    return true;
}

bool RenderLayoutScene(const QByteArray& json, const QString& pdfFile, QString* error)
{
    TLayoutScene scene;
    try {
        scene = ReadLayoutScene(json);
    } catch (const ESceneError& e) {
        if (error)
            *error = QString::fromStdString(e.what());
        return false;
    }
    std::vector<std::unique_ptr<TPrinter>> printers;
    printers.push_back(std::make_unique<TPdfPrinter>(VirtualPdfPrinterName, pdfFile, false, scene.dpi));
    TPrinter* printer = printers.back().get();
    TPrinterList::Instance().SetPrinters(std::move(printers));
    return PrintLayoutScene(scene, *printer, error);
}
