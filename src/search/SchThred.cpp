// The worker thread of the name and address search window.
#include "search/SchThred.h"

int32_t SearchProgressCallback(int32_t examined, int32_t found)
{
    return TSearchThread::ProgressCallback(examined, found);
}
