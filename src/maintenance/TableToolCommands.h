// The address list's openers of the table tools.
#pragma once

void RegisterTableToolCommands();
