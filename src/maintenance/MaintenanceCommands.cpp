// The address list's openers of the notices window and the about box.
#include "maintenance/MaintenanceCommands.h"

#include "addressbook/AdrsList.h"
#include "addressbook/AdrsListServices.h"
#include "core/ShellSub.h"
#include "maintenance/BkupDat.h"
#include "maintenance/Info.h"
#include "maintenance/RestDat.h"
#include "maintenance/SettingsCommands.h"
#include "maintenance/TableToolCommands.h"
#include "maintenance/VerInfo.h"

namespace {

// The backup and restore wizards; the list does the restore's follow-up itself.
void registerBackupCommands()
{
    RegisterListCommand(TListCommand::Backup, [](TAddressList& list) {
        TBackupData wizard(&list, list.KeywordNames());
        CenterForm(&wizard, &list);
        return TListCommandResult{wizard.exec() == QDialog::Accepted};
    });
    RegisterListCommand(TListCommand::Restore, [](TAddressList& list) {
        TRestoreData wizard(&list, list.KeywordNames(), [&list] { return list.CloseChildWindows(); });
        CenterForm(&wizard, &list);
        TListCommandResult result;
        result.ok = wizard.exec() == QDialog::Accepted;
        result.changeDataPath = result.ok && wizard.ChangeDataPathChecked();
        return result;
    });
}

} // namespace

void RegisterMaintenanceCommands()
{
    registerBackupCommands();
    RegisterListCommand(TListCommand::Info, [](TAddressList& list) { return RunInfoCommand(&list); });
    RegisterListCommand(TListCommand::StartupNotices,
                        [](TAddressList& list) { return RunStartupNotices(&list); });
    RegisterListCommand(TListCommand::Version, [](TAddressList& list) {
        RunVersionInfo(&list);
        return TListCommandResult{true};
    });
    RegisterSettingsCommands();
    RegisterTableToolCommands();
}
