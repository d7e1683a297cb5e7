// What the paper choice dialogs share: their paper lists, the scaled preview and its panel.
#pragma once

#include "layoutobjects/PaperFormat.h"

#include <QColor>
#include <QDialog>
#include <QImage>
#include <QList>
#include <QRect>
#include <QString>
#include <QWidget>

class QAbstractButton;
class QRadioButton;
class QLineEdit;
class QListWidget;
class QPushButton;

// One entry of a category or paper list: its text and its object (a record index, or a custom id).
struct TPaperEntry
{
    QString Text;
    int Object = 0;
    bool operator==(const TPaperEntry&) const = default;
};

// Categories of one kind in file order, each with its first record; with unique, a name already listed is
// not listed again.
QList<TPaperEntry> CategoryEntries(const TStandardFormats& standard, int kind, bool unique);
// Papers of the category that record first starts, one entry per paper (its first variant). wholeFile walks
// to the end of the file taking the records of that category and names a repeated paper "name－２", "name－３" and so on, after the entries of its name;
// otherwise the walk stops at the first record of another category.
QList<TPaperEntry> StandardPaperEntries(const TStandardFormats& standard, int first, bool wholeFile);
// Custom papers of the kind with their ids.
QList<TPaperEntry> CustomPaperEntries(const TCustomFormats& custom, int kind);

void FillList(QListWidget* list, const QList<TPaperEntry>& entries);
int ListObject(const QListWidget* list, int row = -1); // the current row by default; -1 when none
int RowOfObject(const QListWidget* list, int object);
// The row of the entry with the largest object not above index (the paper a variant belongs to).
int RowOfVariant(const QListWidget* list, int index);
int RowOfText(const QListWidget* list, const QString& text);

// Adds the "カスタム" entry (object 0) to a category list, or removes it.
void ShowCustomEntry(QListWidget* categories, bool shown);
// Two radio buttons side by side in a row of their own, with blue checked captions.
QWidget* RadioPair(QWidget* parent, QRadioButton* a, QRadioButton* b);

// Closing a paper dialog: false (after its message) while the window's custom paper has been deleted and
// the dialog is cancelled.
bool MayClosePaperDialog(QWidget* owner, bool accepted, int passedIndex, const TCustomFormats& custom);
// Writes or deletes "CstmL.fmt" when the dialog created or deleted a custom paper; tells when it cannot.
void SaveCustomPapers(QWidget* owner, const TCustomFormats& custom, bool& changed);

// OK in a custom paper dialog: false (after its message, with the focus in the edit) for an empty name or
// one that a custom paper of the kind already has.
bool CustomNameAccepted(QWidget* owner, QLineEdit* nameEdit, int kind, const TCustomFormats& custom);

// Millimetres from 0.1 mm, "%.1f".
QString MmText(int tenths);

// Checks one of a pair of radio buttons without running their click handlers.
void CheckQuietly(QAbstractButton* button);

// What the preview panel draws, in panel pixels.
struct TPreviewScene
{
    QSize Panel;
    QColor Fill = Qt::white;
    QImage Picture;
    QList<QPoint> PictureAt;
    QColor Frame = QColor(128, 128, 128);
    QList<QRect> Pieces;  // grey outlines
    QList<QRect> Presets; // blue
};

// The scaled geometry of a paper or its sheet in a preview of the given size.
struct TPreviewGeometry
{
    double Scale = 0;
    QSize Panel;
    QSize Piece;
    QPoint Offset;
    int HorzGap = 0;
    int VertGap = 0;
    int Columns = 1;
    int Rows = 1;
    QList<QRect> Presets; // first preset set, moved by the offset
};

// shown is the sheet as shown (see ShownSheet); without a sheet the paper alone is drawn. roundBox rounds the
// 90 % box of the preview before dividing.
TPreviewGeometry PreviewGeometry(const TPaperFormat& paper, const TShownSheet* shown, QSize preview,
                                 bool roundBox);
// The grey outline of every piece.
QList<QRect> PieceOutlines(const TPreviewGeometry& g);

// The lists and buttons of one tab of a paper choice dialog.
struct TPaperTab
{
    int kind = 0;
    QListWidget* category = nullptr;
    QListWidget* paper = nullptr;
    QPushButton* add = nullptr;
    QPushButton* remove = nullptr;
};

// A paper choice dialog: the chosen paper, the paper files and the custom paper flow of its tabs.
class TPaperDialog : public QDialog
{
public:
    using QDialog::QDialog;

    int FormatIndex = 0;
    TPaperFormat Paper;
    TMultiUpSheet Sheet;
    bool NoBarcode = false;
    uint8_t BarcodeSize = 0;

    int FormatCount() const { return int(m_standard.Formats.size()); }
    TPaperFormat GetFormat(int index) const { return m_standard.Formats.at(index); }
    const TCustomFormats& CustomFormats() const { return m_custom; }

    void done(int result) override;

protected:
    virtual TPaperTab& CurrentTab() = 0;
    virtual bool CustomCategoryShown(const TPaperTab& tab) const = 0;
    virtual void ListPapers(TPaperTab& tab) = 0;
    virtual void SelectFormat() = 0;
    virtual void NewCustom() = 0;

    // Fills the category list (unique: each category once) and the first category's papers.
    void FillTab(TPaperTab& tab, bool unique);
    // Category, paper, add and delete of the tab.
    void ConnectTab(TPaperTab* tab);
    void CategoryChosen(TPaperTab& tab);
    // Shows Paper (FormatIndex) in the tab's lists; ends an update.
    void ShowPaperInTab(TPaperTab& tab);
    // Adds a paper made by the custom paper dialog and selects it in the tab's custom category.
    void AddCustom(TPaperTab& tab, const TCustomPaperFormat& format, const TMultiUpSheet& sheet);
    void DeleteCustom();

    TStandardFormats m_standard;
    TCustomFormats m_custom;
    bool m_customChanged = false;
    int m_passedIndex = 0;
    bool m_updating = false;
};

class TPaperPreview : public QWidget
{
    Q_OBJECT
public:
    explicit TPaperPreview(QWidget* parent = nullptr);
    void SetScene(const TPreviewScene& scene);
    const TPreviewScene& Scene() const { return m_scene; }
    // The panel's place, centred in the widget.
    QRect PanelRect() const;

signals:
    // The owner recomputes the scene for the new size.
    void Resized();

protected:
    void paintEvent(QPaintEvent* e) override;
    void resizeEvent(QResizeEvent* e) override;

private:
    TPreviewScene m_scene;
};
