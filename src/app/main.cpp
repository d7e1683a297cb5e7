// Program entry point: installs the program's start-up services and runs the start.
#include "core/Main.h"
#include "core/MainServices.h"

int main(int argc, char** argv)
{
    SetStartupServices(std::make_unique<TMainServices>());
    return QuenridMain(argc, argv);
}
