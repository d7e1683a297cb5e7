// Program entry point: installs the program's start-up services and runs the start.
#include "core/Main.h"
#include "core/MainServices.h"
#include "maintenance/MaintenanceCommands.h"

int main(int argc, char** argv)
{
    SetStartupServices(std::make_unique<TMainServices>());
    RegisterMaintenanceCommands();
    return QuenridMain(argc, argv);
}
