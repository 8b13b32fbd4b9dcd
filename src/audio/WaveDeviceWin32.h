#pragma once
// The wave devices of the platform, in window-callback mode: their messages
// go to the frame window given at open.
#include "core/WaveDevice.h"

#include <windows.h>

namespace wavora {

// One device call; `outDevice` and `inDevice` are the device numbers chosen
// at start-up. Returns the platform's result code.
int callWaveDevice(HWND frame, UINT outDevice, UINT inDevice, WaveCall call, const WaveFormat& format,
                   WaveBuffer& buffer);

// The User field of the buffer a wave-out done message reports.
std::uint32_t reportedWaveOutUser(LPARAM lParam);

} // namespace wavora
