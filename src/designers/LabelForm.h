// The label and card window: one thin window over a label-sheet or card document, in label mode or (switched
// before it is shown) in card mode, with its start menu, settings, the new, open, save and save-as commands,
// the selected-frame combo and the address list's refresh hooks.
#pragma once

#include "designers/DesignerPrint.h"
#include "designers/DesignerCommandStates.h"
#include "designers/DesignerWindow.h"
#include "designers/ImageToolLink.h"
#include "designers/LabelDocument.h"
#include "designers/LayoutCommands.h"
#include "designers/LayoutPrint.h"

class TAddressListRows;
struct TDesignerFiles;
class TDesignerViewActions;

class TLabelForm : public QMainWindow, public TAddressListFollower
{
    Q_OBJECT
public:
    explicit TLabelForm(TLayoutSources sources = {}, QWidget* owner = nullptr);
    ~TLabelForm() override;

    // Switches a window that is not shown yet to card mode; false leaves it as it is.
    void SetCardMode(bool on);
    bool IsCardMode() const { return m_mode == LabelModeCard; }
    quint8 Mode() const { return m_mode; }
    // Set once the window has let go of its layout on closing.
    bool IsClosed() const { return m_closed; }

    TLayoutDocument& Document() { return *m_document; }
    const QStringList& RecentFiles() const { return m_settings.History; }
    TPrinterInfo* Printer() const { return m_printer.get(); }
    TPaperView* PaperView() const { return sbxPreview; }

    void LoadSettings();
    void SaveSettings();
    void OnStartMenu();
    // True when the caller may leave the layout.
    bool ConfirmSave();
    void UpdateRectList();
    void ShowFocusedInRectList();
    void UpdatePopupActions();

    // The document commands.
    void actNewExecute();
    void actOpenExecute();
    // Empties the window after the save question; in the preview it leaves the preview for the wizard.
    void actCloseExecute();
    void actSaveExecute();
    // True when the layout was saved.
    bool actSaveAsExecute();
    // Reads a file of the mode into a fresh document; a file that cannot be read leaves the window as it was.
    bool LoadFromFile(const QString& path);
    bool SaveToFile(const QString& path);

    // The address list's refresh hooks: the address-book record is merged again.
    void RefreshData() override;
    void RefreshDataAfterEdit() override { RefreshData(); }
    void RefreshDataAfterDelete() override { RefreshData(); }

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* action(const char* name) const;
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void setHints();
    void updateActions();
    TLayoutContext context() const;
    std::unique_ptr<TLayoutDocument> freshDocument();
    void takeDocument(std::unique_ptr<TLayoutDocument> document);
    // Shows the current document on the view, the combo and the commands.
    void showDocument();
    TDesignerFiles documentFiles();
    void cbxViewRectClick(int index);
    void frameDoubleClicked(TDrawRect* frame);
    void repaintPaper();
    void FormClose();

    TLayoutSources m_sources;
    quint8 m_mode = LabelModeLabel;
    std::unique_ptr<TPrinterInfo> m_printer;
    std::shared_ptr<TDefaultRects> m_prototypes;
    std::unique_ptr<TLayoutDocument> m_document;
    TLabelWindowSettings m_settings;
    bool m_shown = false;
    bool m_closed = false;

    TDesignerViewActions* m_view = nullptr;
    QWidget* pnlToolBar = nullptr;
    QComboBox* cbxViewRect = nullptr;
    QLabel* m_status = nullptr;
    TPaperView* sbxPreview = nullptr;

    // ---- printing and the preview (LabelFormPrint.cpp) ----
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

    // ---- paper and content settings, sender, records, arrangement (LabelFormSettings.cpp) ----
public:
    void actFormatExecute();
    void actAdditionSetExecute();
    void actDetailExecute();
    void actDataFormExecute();
    void actSenderEditExecute();
    void actEditDataExecute();
    // 0 first, 1 prior, 2 next, 3 last row of the address list.
    void actMoveExecute(int tag);
    void actDefaultLayoutExecute();

private:
    void buildSettingsActions();
    void buildSettingsMenus();
    // A layout read with a paper that is gone: the paper command runs.
    void askForLostPaper();
    bool settingsRunnable() const;
    TLayoutEditor settingsEditor() const;
    void afterSettings(bool relist);
    // The address list that owns the window, if any.
    TAddressList* ownerList() const;
    bool recordsShown() const;

    // ---- editing (LabelFormEdit.cpp) ----
public:
    // The shared editor on this window's document, with the label sets and the view's grid.
    TLayoutEditor Editor();
    void StoreUndoSelection(TUndoDatas& action, quint8 side);
    void SetImageToolLink(TImageToolLink* link);
    TImageToolLink* ImageToolLink() const { return m_imageTool; }
    // The picker's answer: replaces the focused illustration or adds one.
    void WMCopyData(const QString& path);
    // Files dropped on the paper become illustrations cascading from the mouse position.
    void DropFiles(const QStringList& paths);

private:
    void buildEditActions();
    void buildEditMenus();
    void bindEditView();
    void closeImageTool();
    // Nothing is edited without a layout or while the preview shows.
    bool canEdit() const;
    // Runs a step on the editor when the layout can be edited; a step that changed the frames refreshes the
    // window (and the selected-frame combo with relist).
    bool runEdit(const std::function<bool(TLayoutEditor&)>& step, const bool& relist);
    void actUndoExecute(int tag);
    void actIllustExecute();

    QPointer<TImageToolLink> m_imageTool;

    // ---- command states, recent files, context menu, hints (LabelFormStates.cpp) ----
public:
    TDesignerState CommandState() const;
    // Runs the update handlers now.
    void UpdateCommandStates();
    // The idle pass, the recent-files submenu and the context menu.
    TDesignerCommands& Commands() const { return *m_commands; }

private:
    void buildCommandStates();
    void setCardHints();
    void openTitled(const QString& title);

    TDesignerCommands* m_commands = nullptr;
    bool m_filesRenamed = false;
};

// The window while it exists (one for both modes).
extern QPointer<TLabelForm> LabelForm;
// Shows the window for the address list in a mode: brings it forward when it exists, else creates it.
TLabelForm* ShowLabelForm(TAddressList& list, quint8 mode);
// Registers the address list's label and card commands and children.
void RegisterLabelForm();
