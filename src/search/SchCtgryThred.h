// The worker thread of the category and area search window.
#pragma once

#include "search/SearchWorker.h"

class TSearchCategoryThread final : public TSearchWorkerOf<TSearchCategoryThread>
{
public:
    // Takes a reference on the directory search library and waits idle for the first job.
    explicit TSearchCategoryThread(ISearchOwner* owner = nullptr) : TSearchWorkerOf(owner) {}
};

// The library's progress callback of this thread class.
int32_t CategorySearchProgressCallback(int32_t examined, int32_t found);
