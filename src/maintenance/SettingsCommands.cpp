// The address list's openers of the settings dialog and the administrator mode prompt.
#include "maintenance/SettingsCommands.h"

#include "addressbook/AdrsList.h"
#include "addressbook/AdrsListServices.h"
#include "core/ShellSub.h"
#include "maintenance/Env.h"
#include "maintenance/SwtichAdmin.h"

void RegisterSettingsCommands()
{
    RegisterListCommand(TListCommand::Environment, [](TAddressList& list) {
        TEnvironment env(&list);
        env.SetDataFolderChangeHook([&list] {
            list.SaveNarrowDown();
            if (!list.CloseChildWindows())
                return false;
            list.SaveViewSettings();
            return true;
        });
        TListCommandResult result;
        result.ok = env.exec() == QDialog::Accepted;
        result.updaterStarted = env.RestartRequested;
        result.dataPathChanged = env.DataFolderChanged;
        result.hisCountChanged = env.HisCountChanged;
        result.viewColorChanged = env.ListColorChanged;
        result.linkProgramChanged = env.LinkSoftChanged;
        result.myNumberChanged = env.MyNumberChanged;
        return result;
    });
    RegisterListCommand(TListCommand::SwitchAdminMode, [](TAddressList& list) {
        TSwitchAdminMode prompt(&list);
        CenterForm(&prompt, &list);
        return TListCommandResult{prompt.exec() == QDialog::Accepted};
    });
}
