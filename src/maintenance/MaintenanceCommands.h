// The address list's openers of the maintenance windows built so far.
#pragma once

// Registers the notice command, the start-up's notices, the about box and the settings commands with the
// address list.
void RegisterMaintenanceCommands();
