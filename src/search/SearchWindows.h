// The directory search windows' registration with the address list.
#pragma once

// Registers the openers, child windows and list sources of the directory search windows; called once at
// start-up.
void RegisterSearchWindows();
