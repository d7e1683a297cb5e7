// Registers the adaptors of the class-adapted map programs with the map dispatch.
#pragma once

void RegisterMapAdaptors();
