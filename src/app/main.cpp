// Program entry point: installs the program's start-up services and the windows the address list opens, and
// runs the start.
#include "addressbook/BatchChg.h"
#include "core/Main.h"
#include "core/MainServices.h"
#include "dataexchange/FExport.h"
#include "designers/LabelForm.h"
#include "designers/DesignForm.h"
#include "designers/LayoutForm.h"
#include "dataexchange/FImport.h"
#include "dataexchange/ListPrint.h"
#include "dataexchange/MarkExport.h"
#include "links/LinkServices.h"
#include "maintenance/MaintenanceCommands.h"
#include "search/SearchWindows.h"

int main(int argc, char** argv)
{
    SetStartupServices(std::make_unique<TMainServices>());
    RegisterMaintenanceCommands();
    RegisterFileExport();
    RegisterFileImport();
    RegisterListPrint();
    RegisterMarkExport();
    RegisterSearchWindows();
    RegisterLinkServices();
    RegisterBatchChange();
    RegisterLayoutForm();
    RegisterLabelForm();
    RegisterDesignForm();
    return QuenridMain(argc, argv);
}
