#pragma once
// Starting the converter program beside the editor and finding its window.
#include "core/Win32App.h"

namespace wavora {

// Starts "Wavora部品\Pictra.exe" and looks for its window; tells the user and
// returns null when it does not appear within a few seconds.
HWND startHelper(HWND frame);

constexpr wchar_t HelperTitle[] = L"圧縮ファイルBMP変換だぞ";

} // namespace wavora
