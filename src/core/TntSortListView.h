// The Unicode twin of the sortable list view: the same class under its other names.
#pragma once

#include "core/SortListView.h"

using TTntCustomSortListView = TCustomSortListView;
using TTntSortListView = TCustomSortListView;
