#pragma once
// The sound window: an MDI child of class "document" whose picture is
// composed off screen by the portable painter and copied here.
#include <windows.h>

#include <string>

namespace wavora {

HWND createSoundWindowWin32(const std::string& title);
LRESULT CALLBACK soundWindowProc(HWND, UINT, WPARAM, LPARAM);

} // namespace wavora
