// The wrapper of "Dladcvor.dll": loaded for one run of the address conversion, CvtAdrs called through it.
#pragma once

#include "AdrsConvApi.h"

// Codes of the wrappers of both conversion libraries.
enum : int { ConvLibOk = 0, ConvLibLoadError = 101, ConvLibEntryPointError = 102, ConvLibNotLoaded = 103 };

// Loads ProgramFolder + "Dladcvor.dll" and binds CvtAdrs: 0, 101 or 102, after a stop box for either failure
// (a missing entry point frees the library again).
int LoadDladcvor();
void FreeDladcvor();
// 103 (rc) and false while the library is not loaded; else the zero-filled result, rc and the library's
// answer.
bool CallCvtAdrs(const TCvtAdrsRequest& request, TCvtAdrsResult& result, int& rc);
