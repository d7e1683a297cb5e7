// The address printing window: a thin window over the address-side document with its start menu, settings,
// the new, open, save and save-as commands, the selected-frame combo and the address list's refresh hooks.
#pragma once

#include "addressbook/AdrsListServices.h"
#include "designers/DesignerPrint.h"
#include "designers/ImageToolLink.h"
#include "designers/LayoutCommands.h"
#include "designers/LayoutDocument.h"
#include "designers/LayoutPrint.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QComboBox;
class QLabel;
class QMenu;
class TAddressListRows;
class TAddressList;
struct TDesignerFiles;
class TDesignerRecentMenu;
class TDesignerViewActions;
class TPaperView;

// What the window reads of the address book; empty sources leave the frames unmerged.
struct TLayoutSources
{
    std::unique_ptr<TAddressListSource> AddressList;
    std::unique_ptr<TSenderSource> Senders;
    // Called when the window goes, to stop following the address list.
    std::function<void(TAddressListFollower*)> Detach;
};

class TLayoutForm : public QMainWindow, public TAddressListFollower
{
    Q_OBJECT
public:
    // The owner keeps the window usable while it runs modally; the window is a top-level window of its own.
    explicit TLayoutForm(TLayoutSources sources = {}, QWidget* owner = nullptr);
    ~TLayoutForm() override;

    TLayoutDocument& Document() { return *m_document; }
    const QStringList& RecentFiles() const { return m_recent; }
    int GridSize() const;
    TPrinterInfo* Printer() const { return m_printer.get(); }
    TPaperView* PaperView() const { return sbxPreview; }

    void LoadSettings();
    void SaveSettings();
    void OnStartMenu();
    // True when the caller may discard the layout.
    bool ConfirmSave();
    void ClearLayout();
    void UpdateRectList();
    void ShowFocusedInRectList();
    void UpdatePopupActions();
    void InsertIntoStacking(TDrawRect* frame, bool onlyWhenVisible);
    void RemoveFromStacking(TDrawRect* frame);

    // The document commands.
    void actNewExecute();
    void actOpenExecute();
    void actSaveExecute();
    void actSaveAsExecute();
    void actFormatExecute();
    // Reads a ".gpl" into a fresh document; a file that cannot be read leaves the window as it was.
    bool LoadFromFile(const QString& path);
    bool SaveToFile(const QString& path);

    // The address list's refresh hooks.
    void RefreshData() override;
    void RefreshDataAfterEdit() override { RefreshData(); }
    void RefreshDataAfterDelete() override { RefreshData(); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* makeAction(const char* name, const QString& text, const QString& tip = {});
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void updateActions();
    void setCaption();
    void addRecent(const QString& path);
    // Empties the window (no document open).
    void emptyWindow();
    void takeDocument(std::unique_ptr<TLayoutDocument> document);
    std::unique_ptr<TLayoutDocument> freshDocument();
    void afterDocumentChange();
    void cbxViewRectClick(int index);
    void repaintPaper();
    void layoutView();
    void paperChanged();
    void FormClose();
    TDesignerFiles documentFiles();

    TLayoutSources m_sources;
    std::unique_ptr<TPrinterInfo> m_printer;
    std::shared_ptr<TDefaultRects> m_prototypes;
    std::unique_ptr<TLayoutDocument> m_document;
    QStringList m_recent;
    bool m_rebuildRecent = false;
    bool m_savedInConfirm = false;
    bool m_startMenuPosted = false;
    bool m_closed = false;

    TDesignerViewActions* m_view = nullptr;
    QWidget* pnlToolBar = nullptr;
    QComboBox* cbxViewRect = nullptr;
    QLabel* m_status = nullptr;
    TPaperView* sbxPreview = nullptr;

    // ---- document, record and view commands (LayoutFormCommands.cpp) ----
public:
    // The address list's calls of these commands; an empty function stands for a missing list.
    struct TListLink
    {
        std::function<int()> RecordCount;
        std::function<int()> FirstSelectedIndex;
        std::function<qint32(int)> RecNo;
        std::function<void(int)> SelectIndex; // clearing the others, made visible
        std::function<void()> Inquiry;        // the list's record-card command
        std::function<void()> LoadSenderList;
        std::function<void(qint32, qint32)> SetRecordSender;
        std::function<QWidget*()> ListWindow;
        std::function<QWidget*()> CardWindow;
    };
    void SetListLink(TListLink link) { m_link = std::move(link); }
    TDesignerRecentMenu& Recent() const { return *m_recentMenu; }
    void actRecentUpdate();
    void actCloseExecute();
    // tag 0 first, 1 prior, 2 next, 3 last.
    void actMoveExecute(int tag);
    void actEditDataExecute();
    void actDetailExecute();
    // tag 0 the address list, 1 the record card.
    void actFormChangeExecute(int tag);
    // The sender editor's follow-up: result 1 when a sender was chosen, senderNo the editor's choice.
    void actSenderEditExecute();
    void SenderEditorClosed(int result, qint32 senderNo);
    // The data-format dialog's follow-up after OK: bytes 0-59 of form.
    void actDataFormExecute();
    void DataFormChosen(const TLayoutSettings& form);
    void updateCommandActions();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void buildCommandActions();
    void buildCommandMenus();
    bool mergesRecords() const;
    void refillRectList(const QString& keepText);
    // Opens the layout of that title after the save question.
    void openRecent(const QString& title);

    TListLink m_link;
    TDesignerRecentMenu* m_recentMenu = nullptr;
    // ---- printing and the preview (LayoutFormPrint.cpp) ----
public:
    // The rows the print wizard chooses from; without them, those of the address list that owns the window.
    void SetPrintRows(const TAddressListRows* rows) { m_printRows = rows; }
    void actPrintExecute();
    void actPrintSetExecute();
    void StartPreview();
    void DrawPreviewPage(int page);
    bool PreviewShown() const { return m_previewBar->Shown(); }
    const TPrintPreview* Preview() const { return m_previewBar->Preview(); }
    const TPrintSettings& PrintSettings() const { return m_printSettings; }
    void tbtnNextPreviewClick();
    void tbtnPriorPreviewClick();
    // Leaves the preview and reopens the wizard on the page it was left on.
    void tbtnPreviewCloseClick();

private:
    void buildPrintActions();
    void buildPrintMenus(QMenu* file);
    void updatePrintActions();
    void endPreview();

    TPrintSettings m_printSettings;
    const TAddressListRows* m_printRows = nullptr;
    bool m_restorePrintPage = false;
    TDesignerPreview* m_previewBar = nullptr;
public:
    // Editing commands, undo, the frame clipboard, the picture picker and drops (LayoutFormEdit.cpp).
    void actUndoExecute(int tag);
    void actCopyExecute();
    void actPasteExecute();
    void actDeleteExecute();
    void actWordExecute(int tag);
    void actFigureExecute(int tag);
    void actQRCodeExecute(int tag);
    void actIllustSetExecute();
    void actWordSetExecute();
    void pmiIllustDefClick();
    void actSenderExecute(bool show);
    void actFontExecute();
    void actBarcodeSetExecute();
    void actIllustExecute();
    void actDefaultLayoutExecute();
    // The picker's answer; ignored in preview mode or while a modal window is open.
    void ImageChosen(const QString& path);
    void DropFiles(const QStringList& paths);
    // The link to the picture picker; the window owns it and closes it when the window goes.
    void SetImageToolLink(TImageToolLink* link);
    TImageToolLink* ImageToolLink() const { return m_imageTool; }
    // Builds the frame popup menu for the focused frame (shown by the paper view's request).
    QMenu* PopupMenu();

private:
    void buildEditActions();
    void buildEditMenus();
    void bindEditView();
    void updateEditActions();
    TLayoutEditor editor();
    bool editable() const;
    void afterEdit(bool refillRectList);
    void PopupMenuPopup(QMenu* menu);
    QAction* editAction(const char* name) const;
    TImageToolLink* m_imageTool = nullptr;
    QMenu* m_popup = nullptr;
};

// The window while it exists.
extern QPointer<TLayoutForm> LayoutForm;
// Shows the window for the address list: restores it when it exists, else creates it.
TLayoutForm* ShowLayoutForm(TAddressList& list);
// Registers the address list's command and child.
void RegisterLayoutForm();
