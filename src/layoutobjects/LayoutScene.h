// A page of frames described in JSON (paper in 0.1 mm, frames by class name with their rect in design
// pixels and setter calls), read and printed as one full page.
#pragma once

#include "layoutobjects/FrameClasses.h"

#include <QByteArray>
#include <QSize>

#include <memory>
#include <vector>

class TPrinter;

struct TLayoutScene
{
    QSize paper; // 0.1 mm
    int dpi = 600;
    std::vector<std::unique_ptr<TDrawRect>> frames; // first at the bottom
};

// Reads a scene and makes its frames; sets PaperLongSide to the paper's long side. Throws ESceneError naming
// what is wrong.
TLayoutScene ReadLayoutScene(const QByteArray& json);
// Prints the scene's visible frames on one page of the current printer, which must be printer. False and an
// error text when the job fails.
bool PrintLayoutScene(const TLayoutScene& scene, TPrinter& printer, QString* error);
// Reads the scene and writes it as a PDF file at the scene's resolution; the PDF printer becomes current.
bool RenderLayoutScene(const QByteArray& json, const QString& pdfFile, QString* error);
