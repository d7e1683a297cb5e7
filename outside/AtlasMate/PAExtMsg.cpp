// "PAExtMsg.dll": the exit hook of the automation-driven map program; the stand-in only counts its calls.
#include "PAExtMsgApi.h"

namespace {
int32_t begins = 0, ends = 0;
}

extern "C" {
__attribute__((visibility("default"))) int32_t BeginExitMsgHook()
{
    ++begins;
    return 1;
}
__attribute__((visibility("default"))) void EndExitMsgHook()
{
    ++ends;
}
__attribute__((visibility("default"))) void ExitMsgHookCalls(int32_t* b, int32_t* e)
{
    if (b)
        *b = begins;
    if (e)
        *e = ends;
}
}
