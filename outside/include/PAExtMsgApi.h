// Boundary of the exit-hook library "PAExtMsg.dll" of the automation-driven map program.
#pragma once

#include <cstdint>

extern "C" {
// Non-zero: a hook that EndExitMsgHook ends later.
using BeginExitMsgHookProc = int32_t (*)();
using EndExitMsgHookProc = void (*)();
// Stand-in only: how often each was called since the library was loaded.
using ExitMsgHookCallsProc = void (*)(int32_t* begins, int32_t* ends);
}
