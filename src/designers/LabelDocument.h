// Label sheets and cards by mode: titles and captions, folders, extensions, printer files, settings sections,
// messages and questions, and the window settings of the mode's section.
#pragma once

#include "designers/DesignerWindowSettings.h"

#include <QRect>
#include <QString>
#include <QStringList>

#include <functional>
#include <memory>
#include <vector>

class TMemIniFile;
class TLayoutDocument;
struct TLayoutContext;
class QWidget;
class TDrawRect;

constexpr quint8 LabelModeLabel = 1;
constexpr quint8 LabelModeCard = 2;

// "ラベル印刷" or "名刺印刷".
QString LabelTitle(quint8 mode);
// The title and " - 新規" without a file name, else " - " and the file's base name; " (更新)" when modified.
QString LabelCaption(quint8 mode, const QString& fileName, bool modified = false);
// The help page of the design view, or of the preview.
int LabelHelpContext(quint8 mode, bool preview = false);
// LabelFolder or CardFolder; ".gpa" or ".gpc".
QString LabelDocumentFolder(quint8 mode);
QString LabelExtension(quint8 mode);
// The printer settings file in DataRootFolder: label sheets keep "Card.pi" and cards "Label.pi", as the
// files already on users' discs are named.
QString LabelPrinterFile(quint8 mode);
// "LABEL" or "CARD".
QString LabelSettingsSection(quint8 mode);
QString LabelDeletedPaperMessage(quint8 mode);
// The save question and the second question after No.
QString LabelSaveQuestion(quint8 mode);
QString LabelDiscardQuestion(quint8 mode, bool hasFileName);

// The window settings of the mode's section of "Quenrid215.ini".
using TLabelWindowSettings = TDesignerWindowSettings;

constexpr int LabelMinWidth = 498;
constexpr int LabelMinHeight = 500;
constexpr int LabelHistoryCount = DesignerHistoryCount;

TLabelWindowSettings LoadLabelSettings(const TMemIniFile& ini, quint8 mode);
// Writes the section's keys; the recent files without repeats, the keys past the list deleted.
void SaveLabelSettings(TMemIniFile& ini, quint8 mode, const TLabelWindowSettings& settings);
// The window's frame in screen pixels: the default size centred on the work area when a bound is missing,
// else the stored bounds with the minimum size; scale is ScaleByDpi towards the screen.
QRect LabelWindowGeometry(const TLabelWindowSettings& settings, const QRect& workArea, int captionHeight,
                          const std::function<int(int)>& scale);
// Puts a path on top of the recent files (at most LabelHistoryCount kept, no repeats).
void InsertRecentFile(QStringList& history, const QString& path);

// A new layout of the mode on a paper (>= 0 a "Lyt.fmt" record, < 0 a custom paper) showing the data source;
// null when the paper does not exist or is not of the mode's kind.
std::unique_ptr<TLayoutDocument> NewLabelDocument(const TLayoutContext& context, quint8 mode,
                                                  qint32 paperIndex, quint8 dataSource);
// Reads a ".gpa" (label mode) or ".gpc" (card mode) into a fresh document; null (message shown) for a file
// that is not a valid one of the mode, so that the caller's document stays as it was. A paper that no longer
// exists still gives the document, with PaperFound false after its message: the caller runs the paper
// command; it then stays on the paper of shown, when given.
std::unique_ptr<TLayoutDocument> LoadLabelDocument(const TLayoutContext& context, quint8 mode,
                                                   const QString& path,
                                                   const TLayoutDocument* shown = nullptr);
// The question before a changed document is left: true when the caller may go on. saveAs runs the save-as
// command for a document without a file name and answers whether it saved.
bool ConfirmLabelSave(TLayoutDocument& document, QWidget* owner, const std::function<bool()>& saveAs);

// The frame list of the window's combo: "なし" (no frame), then the fixed frames of the set in use by the
// data source (the combined set's postal code, address and name always, the individual set's only when
// placed), the placed additional items, a label's placed barcode, and the free frames by kind and number.
struct TLabelFrameEntry
{
    QString Name;
    TDrawRect* Frame = nullptr;
};
std::vector<TLabelFrameEntry> LabelFrameList(const TLayoutDocument& document);
// The command a double click on a frame of that kind runs: a barcode opens the additional information.
QString LabelDoubleClickAction(quint8 kind);
