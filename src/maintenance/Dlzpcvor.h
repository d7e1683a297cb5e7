// The wrapper of "Dlzpcvor.dll": loaded for one run of the address conversion, YAdrsTo called through it.
#pragma once

#include "AdrsConvApi.h"
#include "maintenance/Dladcvor.h"

// Loads ProgramFolder + "Dlzpcvor.dll" and binds its eight entry points: 0, 101 or 102 as LoadDladcvor.
int LoadDlzpcvor();
void FreeDlzpcvor();
// As CallCvtAdrs.
bool CallYAdrsTo(const TYAdrsToRequest& request, TYAdrsToResult& result, int& rc);
