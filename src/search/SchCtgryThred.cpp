// The worker thread of the category and area search window.
#include "search/SchCtgryThred.h"

int32_t CategorySearchProgressCallback(int32_t examined, int32_t found)
{
    return TSearchCategoryThread::ProgressCallback(examined, found);
}
