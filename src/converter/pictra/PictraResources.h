#pragma once
// Ids of the resources compiled into Pictra.exe (Pictra.rc); read by the
// resource compiler as well as by the program.
#define PICTRA_ICON 1
