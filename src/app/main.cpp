// Program entry point.
#include "core/Main.h"

int main(int argc, char** argv)
{
    return QuenridMain(argc, argv);
}
