// The address list's openers of the pack, the index repair, the prefix and the address conversion.
#include "maintenance/TableToolCommands.h"

#include "addressbook/AdrsList.h"
#include "addressbook/AdrsListServices.h"
#include "core/ShellSub.h"
#include "maintenance/CnvAdPos.h"
#include "maintenance/CnvKykbn.h"
#include "maintenance/OptDat.h"
#include "maintenance/ReprIdx.h"

namespace {

// Shows a tool modally over the list; its close-children step closes the list's child windows.
template <class Tool, class Result> TListCommandResult runTool(TAddressList& list, Result result)
{
    Tool dialog(&list, [&list] { return list.CloseChildWindows(); });
    CenterForm(&dialog, &list);
    TListCommandResult answer;
    answer.ok = dialog.exec() == QDialog::Accepted;
    result(dialog, answer);
    return answer;
}

void noResult(const QDialog&, TListCommandResult&) {}

} // namespace

void RegisterTableToolCommands()
{
    RegisterListCommand(TListCommand::Optimize,
                        [](TAddressList& list) { return runTool<TOptimizeData>(list, noResult); });
    RegisterListCommand(TListCommand::ConvertKykbn,
                        [](TAddressList& list) { return runTool<TConvertKykbn>(list, noResult); });
    RegisterListCommand(TListCommand::ConvertAdrsPos,
                        [](TAddressList& list) { return runTool<TConvertAdrsPos>(list, noResult); });
    RegisterListCommand(TListCommand::RepairIndex, [](TAddressList& list) {
        return runTool<TRepairIndex>(
            list, [](const TRepairIndex& dialog, TListCommandResult& r) { r.repaired = dialog.Repaired(); });
    });
}
