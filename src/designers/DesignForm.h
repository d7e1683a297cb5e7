// The message-side design window: a thin window over the design document with its start menu, settings,
// prototypes, the new, open, close, save and save-as commands and the showing of a design on the paper view.
#pragma once

#include "designers/DesignCommands.h"
#include "designers/DesignDocument.h"
#include "designers/DesignerCommandStates.h"
#include "designers/DesignSettings.h"

#include <QMainWindow>
#include <QPointer>

#include <memory>

class QAction;
class QComboBox;
class QLabel;
class TAddressList;
struct TDesignerFiles;
class TDesignerViewActions;
class TImageToolLink;
class TPaperView;

// What the window reads of the address book; without senders the sender block stays empty.
struct TDesignSources
{
    std::unique_ptr<TSenderSource> Senders;
};

class TDesignForm : public QMainWindow
{
    Q_OBJECT
public:
    explicit TDesignForm(TDesignSources sources = {}, QWidget* owner = nullptr);
    ~TDesignForm() override;

    TDesignDocument& Document() { return *m_document; }
    TDesignPrototypes& Prototypes() { return *m_prototypes; }
    const QStringList& RecentFiles() const { return m_recent; }
    int GridSize() const;
    TPrinterInfo* Printer() const { return m_printer.get(); }
    TPaperView* PaperView() const { return sbxPreview; }
    // The height the stored window bounds count above the client area.
    int CaptionHeight() const;

    void LoadSettings();
    void SaveSettings();
    void OnStartMenu();
    // True when the caller may discard the design.
    bool ConfirmSave();
    void ClearDesign();
    void UpdateRectList();
    void ShowFocusedInRectList();

    // The document commands.
    void actNewExecute();
    void actOpenExecute();
    void actCloseExecute();
    void actSaveExecute();
    void actSaveAsExecute();
    // Reads a ".gpd" into a fresh document; a file that cannot be read leaves the window as it was.
    bool LoadFromFile(const QString& path);
    bool SaveToFile(const QString& path);

    // Printing and the background (DesignFormPrint.cpp).
    void actPrintExecute();
    void actPrintSetExecute();
    void actBackImageExecute();
    // The window owns the link; nullptr leaves the background dialog without the picker.
    void SetImageToolLink(TImageToolLink* link);
    TImageToolLink* ImageToolLink() const { return m_imageTool; }
    // True while the background dialog takes the picker's answers; the window must not take them too.
    bool BackImageDialogOpen() const { return m_backImageOpen; }

    // Paper editing (DesignFormCanvas.cpp).
    TDrawRect* FocusedFrame() const;
    // Shows the focused frame in the selected-frame box and updates the popup actions.
    void SyncRectCombo();
    // Shows the settings commands of the focused frame's kind only.
    void UpdatePopupActions();
    // Sender block, paper and arrangement commands (DesignFormArrange.cpp).
    void buildArrangeActions();
    void buildArrangeMenus();
    void actSenderExecute();
    void actSenderEditExecute();
    // After the senders editor: chosen when it closed by its choose button, with that sender's RecNo.
    void SenderEditorClosed(bool chosen, qint32 senderNo);
    void actSenderSetExecute();
    void actDetailExecute();
    void actDataFormExecute();
    void actSenderLayoutExecute();
    void actFormatExecute();
    void actRectPositionExecute(int tag);
    void actEqualExecute(int tag);
    void actRectUniteExecute(int tag);
    void actZOrderExecute(int tag);
    void actFormChangeExecute(int tag);

protected:
    void showEvent(QShowEvent* event) override;
    void closeEvent(QCloseEvent* event) override;

private:
    QAction* makeAction(const char* name, const QString& text, const QString& tip = {});
    QAction* action(const char* name) const;
    void buildActions();
    void buildMenus();
    void buildToolBar();
    void updateActions();
    void addRecent(const QString& path);
    void emptyWindow();
    std::unique_ptr<TDesignDocument> freshDocument();
    void takeDocument(std::unique_ptr<TDesignDocument> document);
    void afterDocumentChange();
    void cbxViewRectClick(int index);
    void repaintPaper();
    void FormClose();
    TDesignerFiles documentFiles();

    TDesignSources m_sources;
    std::unique_ptr<TPrinterInfo> m_printer;
    std::shared_ptr<TDesignPrototypes> m_prototypes;
    std::unique_ptr<TDesignDocument> m_document;
    TDesignWindowSettings m_settings;
    QStringList m_recent;
    bool m_filesRenamed = false;
    bool m_savedInConfirm = false;
    bool m_startMenuPosted = false;
    bool m_closed = false;

    TDesignerViewActions* m_view = nullptr;
    QWidget* pnlToolBar = nullptr;
    QComboBox* cbxViewRect = nullptr;
    QLabel* m_status = nullptr;
    TPaperView* sbxPreview = nullptr;

    // Printing and the background (DesignFormPrint.cpp).
    void buildPrintActions();
    void updatePrintActions();
    TImageToolLink* m_imageTool = nullptr;
    bool m_backImageOpen = false;

    // Paper editing (DesignFormCanvas.cpp).
    void buildCanvas();
    void frameDoubleClicked(TDrawRect* frame);

    // ---- command states, recent files, context menu, hints (DesignFormStates.cpp) ----
public:
    TDesignerState CommandState() const;
    // Runs the update handlers now.
    void UpdateCommandStates();
    // The idle pass, the recent-files submenu and the context menu.
    TDesignerCommands& Commands() const { return *m_commands; }

private:
    void buildCommandStates();
    // Opens the design folder's design of that name after the save question (the open command, recent files).
    void openTitled(const QString& title);

    TDesignerCommands* m_commands = nullptr;

    // Editing commands, picture intake and undo (DesignFormEdit.cpp).
public:
    // Tag 1 redoes.
    void actUndoExecute(int tag);
    void actCopyExecute();
    void actPasteExecute();
    void actDeleteExecute();
    void actIllustExecute();
    // Tag 0 adds, tag 1 edits the focused frame.
    void actWordExecute(int tag);
    void actFigureExecute(int tag);
    void actQRCodeExecute(int tag);
    void actIllustSetExecute();
    void actWordSetExecute();
    void pmiIllustDefClick();
    void pmiBackClearClick();
    void pmiSenderDefClick();
    // The picker's answer; ignored while a modal dialog (the background dialog among them) is open.
    void WMCopyData(const QString& path);
    // Files dropped on the paper, cascading from the pointer.
    void DropFiles(const QStringList& paths);
    // The commands on the current document, its undo callback installed.
    TDesignEditor& Editor();

private:
    void buildEditActions();
    void connectEditSignals();
    void afterEdit(bool refill);
    std::unique_ptr<TDesignEditor> m_editor;
};

// The window while it exists.
extern QPointer<TDesignForm> DesignForm;
// Shows the window for the address list: restores it when it exists, else creates it.
TDesignForm* ShowDesignForm(TAddressList& list);
// Registers the address list's command and child.
void RegisterDesignForm();
