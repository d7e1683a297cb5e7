// The address list's road to windows built elsewhere: one registry of command openers, the modeless
// children it closes in their order, and the followers it keeps informed.
#pragma once

#include "addressbook/AdrsListEngine.h"

#include <functional>
#include <optional>

class QWidget;
class TAddressList;

// Commands of the address list whose windows belong to other parts of the program. A command whose opener
// is not registered keeps its action disabled.
enum class TListCommand {
    NameAdrsSearch,  // modeless TNameAdrsSearch
    CategorySearch,  // modeless TCategorySearch
    ImportFile,      // modal TFileImport (the children are closed first); ok: records were imported
    ExportFile,      // modeless TFileExport
    MarkExport,      // modeless TMarkExport
    BatchChange,     // modal TBatchChange; ok: records were changed
    LayoutPrint,     // modeless TLayoutForm (the other designers are closed first)
    LabelPrint,      // the label window in label mode
    CardPrint,       // the label window in card mode
    DesignPrint,     // modeless TDesignForm
    ListPrint,       // modeless TListPrint (after the printer check)
    Environment,     // modal TEnvironment
    Backup,          // modal TBackupData
    Restore,         // modal TRestoreData
    Optimize,        // modal TOptimizeData
    ConvertKykbn,    // modal TConvertKykbn
    ConvertAdrsPos,  // modal TConvertAdrsPos
    RepairIndex,     // modal TRepairIndex
    SwitchAdminMode, // modal TSwitchAdminMode: ok when the password was right
    Info,            // TInfoDialog: fetch, show the notice, answer its two check boxes
    Version,         // modal TVersionInfo
    StartupNotices,  // the start-up's notices and update offer (no action); updaterStarted: the program ends
};
inline constexpr int ListCommandCount = int(TListCommand::StartupNotices) + 1;

// What a command's window reports back; the address list does the follow-up itself.
struct TListCommandResult
{
    bool ok = false;                        // the modal window ended with OK
    bool dataPathChanged = false;           // TEnvironment.DataPathChanged
    bool hisCountChanged = false;           // TEnvironment.HisCountChanged
    bool viewColorChanged = false;          // TEnvironment.ViewColorChanged
    bool linkProgramChanged = false;        // TEnvironment.LinkProgramChanged
    bool myNumberChanged = false;           // TEnvironment.MyNumberChanged
    bool updaterStarted = false;            // the updater was started: the program ends
    bool changeDataPath = false;            // TRestoreData.ChangeDataPathChecked
    bool repaired = false;                  // TRepairIndex.Repaired
    std::optional<bool> noticeAtStart;      // TInfoDialog.NoticeAtStartChecked
    std::optional<bool> updateCheckAtStart; // TInfoDialog.UpdateCheckAtStartChecked
};

using TListCommandOpener = std::function<TListCommandResult(TAddressList& list)>;

// Registers (an empty function removes) the opener of a command.
void RegisterListCommand(TListCommand command, TListCommandOpener opener);
bool HasListCommand(TListCommand command);
// Runs the opener; nothing (ok false) when none is registered.
TListCommandResult RunListCommand(TListCommand command, TAddressList& list);

// The modeless windows the address list closes before it ends or switches books, in their closing order.
enum class TListChild {
    NameAdrsSearch,
    CategorySearch,
    DataInquiry,
    AddressCopy,
    FileExport,
    MarkExport,
    ListPrint,
    LayoutForm, // designer kind 1
    LabelForm,  // kind 2: the label window while in label mode
    CardForm,   // kind 3: the label window while in card mode
    DesignForm, // kind 4
};
inline constexpr int ListChildCount = int(TListChild::DesignForm) + 1;

// Answers the child window while it exists (null otherwise).
using TListChildWindow = std::function<QWidget*()>;
void RegisterListChild(TListChild child, TListChildWindow window);
QWidget* ListChildWindow(TListChild child);

// A window that follows the address list: its rows and selection (TAdrsListObserver) and the item names,
// group names, columns and settings that the list's commands change.
class TAddressListFollower : public TAdrsListObserver
{
public:
    virtual void UpdateKeywordNames() {}
    virtual void UpdateProtectMemoNames() {}
    virtual void RefreshPreview() {}           // the group names changed
    virtual void UpdateListLayoutTemplate() {} // the shown columns changed
    virtual void ApplyHistoryCount() {}
    virtual void UpdateResultColor() {}
};
