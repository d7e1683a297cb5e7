// The address list's openers of the maintenance windows built so far.
#pragma once

// Registers the notice command, the start-up's notices and the about box with the address list.
void RegisterMaintenanceCommands();
