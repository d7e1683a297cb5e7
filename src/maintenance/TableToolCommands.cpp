// The address list's openers of the pack and the index repair.
#include "maintenance/TableToolCommands.h"

#include "addressbook/AdrsList.h"
#include "addressbook/AdrsListServices.h"
#include "core/ShellSub.h"
#include "maintenance/OptDat.h"
#include "maintenance/ReprIdx.h"

void RegisterTableToolCommands()
{
    RegisterListCommand(TListCommand::Optimize, [](TAddressList& list) {
        TOptimizeData dialog(&list, [&list] { return list.CloseChildWindows(); });
        CenterForm(&dialog, &list);
        return TListCommandResult{dialog.exec() == QDialog::Accepted};
    });
    RegisterListCommand(TListCommand::RepairIndex, [](TAddressList& list) {
        TRepairIndex dialog(&list, [&list] { return list.CloseChildWindows(); });
        CenterForm(&dialog, &list);
        TListCommandResult result;
        result.ok = dialog.exec() == QDialog::Accepted;
        result.repaired = dialog.Repaired();
        return result;
    });
}
