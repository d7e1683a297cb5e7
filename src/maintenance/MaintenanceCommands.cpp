// The address list's openers of the notices window and the about box.
#include "maintenance/MaintenanceCommands.h"

#include "addressbook/AdrsList.h"
#include "addressbook/AdrsListServices.h"
#include "maintenance/Info.h"
#include "maintenance/SettingsCommands.h"
#include "maintenance/VerInfo.h"

void RegisterMaintenanceCommands()
{
    RegisterListCommand(TListCommand::Info, [](TAddressList& list) { return RunInfoCommand(&list); });
    RegisterListCommand(TListCommand::StartupNotices,
                        [](TAddressList& list) { return RunStartupNotices(&list); });
    RegisterListCommand(TListCommand::Version, [](TAddressList& list) {
        RunVersionInfo(&list);
        return TListCommandResult{true};
    });
    RegisterSettingsCommands();
}
