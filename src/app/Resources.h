#pragma once
// Ids of the resources compiled into Wavora.exe (Wavora.rc); read by the
// resource compiler as well as by the program.
#define WAVORA_ICON 1
