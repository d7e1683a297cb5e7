// The worker thread of the name and address search window.
#pragma once

#include "search/SearchWorker.h"

class TSearchThread final : public TSearchWorkerOf<TSearchThread>
{
public:
    // Takes a reference on the directory search library and waits idle for the first job.
    explicit TSearchThread(ISearchOwner* owner = nullptr) : TSearchWorkerOf(owner) {}
};

// The library's progress callback of this thread class.
int32_t SearchProgressCallback(int32_t examined, int32_t found);
