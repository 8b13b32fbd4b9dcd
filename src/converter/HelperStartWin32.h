#pragma once
// Starting the converter program beside the editor and finding its window.
#include "core/Win32App.h"

namespace wavora {

// Starts "Wavora部品\Pictra.exe". Called as early as start-up can, so that the
// helper comes up while the editor builds its own windows.
void launchHelper();

// Looks for the launched helper's window from the frame; tells the user and
// returns null when it does not appear within a few seconds.
HWND findHelper(HWND frame);

// Ends a helper launched for a start-up that failed before looking for it.
void abandonHelper();

constexpr wchar_t HelperTitle[] = L"圧縮ファイルBMP変換だぞ";

} // namespace wavora
