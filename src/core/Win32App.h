#pragma once
// The Windows side of the editor: the handles every window procedure needs,
// kept in one place. Only adapters include this.
#include <windows.h>
#include <mmsystem.h>

#include "core/MenuPositions.h"

#include <array>
#include <filesystem>
#include <memory>

namespace wavora {

struct EditorState;
class Win32Platform;

struct Win32App {
    HINSTANCE instance = nullptr;
    std::unique_ptr<Win32Platform> platform;
    std::unique_ptr<EditorState> state;

    HWND frame = nullptr;
    HWND mdiClient = nullptr;
    HWND debugWindow = nullptr;
    HWND helpWindow = nullptr;
    HWND helper = nullptr; // the converter program's window, or null when it was not found

    HWND historyWindow = nullptr; // made when it is first asked for
    HMENU menuBar = nullptr;
    HACCEL accelerators = nullptr;
    std::array<HMENU, MenuPopupCount> popups{};

    std::array<HFONT, 7> fonts{}; // the interface font, "ＭＳ Ｐゴシック" 12 px, several uses
    HBRUSH buttonFace = nullptr;
    std::array<HCURSOR, 3> cursors{}; // tool cursor, zoom in, zoom out (null when the file is missing)
    int borderWidth = 0;
    int captionHeight = 0;
    RECT workArea{};

    UINT mmTimer = 0;
    UINT waveInDevice = 0;
    UINT waveOutDevice = 0;
    HANDLE deviceChoice = nullptr; // the thread choosing the two devices, until it is waited for
};

Win32App& app();

} // namespace wavora
