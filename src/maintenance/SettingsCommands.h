// The address list's openers of the settings dialog and the administrator mode prompt.
#pragma once

void RegisterSettingsCommands();
